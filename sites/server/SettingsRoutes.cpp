#include "sites/server/SettingsRoutes.h"

#include "sites/pages/PageToken.h"
#include "sites/server/ChangeGuard.h"
#include "sites/server/RequestBody.h"

#include <functional>

namespace mirel::siteserver {
namespace {

// A form of the page holds at most a few settings, each at most MaxSettingValue bytes.
constexpr size_t MaxSettingsForm = 64 * 1024;

} // namespace

void addSettingsRoutes(httplib::Server &server, SettingsDesk &desk, const int &port)
{
    server.Get("/settings",
               [&desk](const httplib::Request &, httplib::Response &res) { desk.page(res); });
    using Act = std::function<void(const std::vector<FormField> &, httplib::Response &)>;
    const auto checked = [&desk, &port](Act act) {
        return [&desk, &port, act](const httplib::Request &req, httplib::Response &res,
                                   const httplib::ContentReader &reader) {
            if (const std::string why = changeRefusal(req, port); !why.empty())
                return refuseAndClose(res, 403, why);
            const RequestBody body = readRequestBody(req, reader, MaxSettingsForm);
            if (body.outcome == RequestBody::Outcome::TooLarge)
                return refuseAndClose(res, 413, "settings form too large");
            if (body.outcome == RequestBody::Outcome::Broken)
                return refuseAndClose(res, 400, "settings form not read whole");
            const std::vector<FormField> form = decodeQuery(body.bytes);
            if (!sameToken(fieldValue(form, "token").value_or(""), desk.token()))
                return refuseAndClose(res, 403, "refused: the settings page's token is wrong");
            act(form, res);
        };
    };
    server.Post("/settings", checked([&desk](const auto &form, httplib::Response &res) {
                    desk.save(form, res);
                }));
    server.Post("/settings/try", checked([&desk](const auto &form, httplib::Response &res) {
                    desk.trial(form, res);
                }));
}

} // namespace mirel::siteserver
