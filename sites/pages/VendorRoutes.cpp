#include "sites/pages/VendorRoutes.h"

#include "sites/core/HtmlText.h"
#include "sites/dictionary/WavTone.h"
#include "sites/pages/FormBody.h"
#include "sites/pages/StatusPage.h"
#include "sites/pages/VendorPages.h"

namespace mirel::siteserver {

void handleAdPage(const httplib::Request &, httplib::Response &res, SiteContext &ctx)
{
    res.set_content(adPage(ctx.base), "text/html; charset=utf-8");
}

void handleVendorPage(const httplib::Request &, httplib::Response &res, SiteContext &ctx)
{
    std::string warnings;
    for (const std::string &warning : ctx.settingsWarnings)
        warnings += "<p class=\"warning\">" + escapeHtml(warning) + "</p>\n";
    res.set_content(
        vendorPage(ctx.base, warnings + statusSection(*ctx.gateway.load(), *ctx.leftOut.load())),
        "text/html; charset=utf-8");
}

void handleUpdateList(const httplib::Request &, httplib::Response &res, SiteContext &ctx)
{
    res.set_content(updateList(ctx.base), "text/plain; charset=utf-8");
}

void handleSpeech(const httplib::Request &req, httplib::Response &res, SiteContext &)
{
    const size_t question = req.target.find('?');
    const std::vector<FormField> query = decodeQuery(
        question == std::string::npos ? std::string_view()
                                      : std::string_view(req.target).substr(question + 1));
    const auto tl = fieldValue(query, "tl");
    const auto q = fieldValue(query, "q");
    if (!tl || !q)
        return badRequest(res, "missing query fields: tl and q are needed");
    if (q->empty())
        return badRequest(res, "q is empty");
    res.set_content(speechClip(*q), "audio/wav");
}

void handleIndex(const httplib::Request &, httplib::Response &res, SiteContext &ctx)
{
    res.set_content(indexPage(ctx.base, statusSection(*ctx.gateway.load(), *ctx.leftOut.load())),
                    "text/html; charset=utf-8");
}

} // namespace mirel::siteserver
