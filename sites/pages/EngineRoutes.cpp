#include "sites/pages/EngineRoutes.h"

#include "sites/core/GbkCodec.h"
#include "sites/core/RequestArrival.h"
#include "sites/core/ValidUtf8.h"
#include "sites/languages/LanguageCodes.h"
#include "sites/pages/EnginePages.h"
#include "sites/pages/FormBody.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace mirel::siteserver {
namespace {

constexpr const char *kUtf8Html = "text/html; charset=UTF-8";
constexpr const char *kGbkHtml = "text/html; charset=GBK";

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The form of a POST, or nothing after answering 400.
std::optional<std::vector<FormField>> readForm(const httplib::Request &req, httplib::Response &res,
                                               const std::vector<std::string_view> &required)
{
    const std::string type = lowered(req.get_header_value("Content-Type"));
    if (type.rfind("application/x-www-form-urlencoded", 0) != 0) {
        badRequest(res, "Content-Type must be application/x-www-form-urlencoded");
        return std::nullopt;
    }
    FormDecoding form = decodeFormBody(req.body);
    if (!form.error.empty()) {
        badRequest(res, "malformed form body: " + form.error);
        return std::nullopt;
    }
    if (const std::string missing = missingFields(form.fields, required); !missing.empty()) {
        badRequest(res, "missing form fields: " + missing);
        return std::nullopt;
    }
    return std::move(form.fields);
}

// The gateway's answer for the text, with the engine and its time noted for the log.
GatewayAnswer translated(const SiteContext &ctx, Engine engine, const std::string &utf8,
                         const LanguagePair &pair, httplib::Response &res)
{
    // The time limit runs from the request's arrival, a wait for a thread included.
    GatewayAnswer answer = ctx.gateway.load()->translate(utf8, pair, engine, requestArrival());
    res.set_header(TranslatedByHeader, answer.note());
    return answer;
}

// Answers the failure of a translation; true when there was one. A pair no engine
// serves is 501 with the form's two codes.
bool failed(const GatewayAnswer &answer, httplib::Response &res, std::string_view from,
            std::string_view to)
{
    const Translation &t = answer.translation;
    switch (t.outcome) {
    case Translation::Outcome::Translated:
        return false;
    case Translation::Outcome::Unsupported:
        failWith(res, 501,
                 "no translation engine for " + std::string(from) + " to " + std::string(to));
        return true;
    case Translation::Outcome::Failed:
        failWith(res, t.status, t.reason);
        return true;
    }
    return true;
}

} // namespace

void handleGoogle(const httplib::Request &req, httplib::Response &res, SiteContext &ctx)
{
    const auto form = readForm(
        req, res, {"js", "prev", "hl", "ie", "layout", "eotf", "text", "file", "sl", "tl"});
    if (!form)
        return;
    const std::string text = *fieldValue(*form, "text");
    if (!isValidUtf8(text))
        return badRequest(res, "text is not UTF-8");
    const auto from = googleLanguage(*fieldValue(*form, "sl"));
    const auto to = googleLanguage(*fieldValue(*form, "tl"));
    if (!from || !to)
        return badRequest(res, "unknown language code in sl or tl");
    const std::string sl = *fieldValue(*form, "sl");
    const std::string tl = *fieldValue(*form, "tl");
    const auto visit = ctx.engineSessions.visit(req, res);
    const GatewayAnswer answer = translated(ctx, Engine::Google, text, {*from, *to}, res);
    if (failed(answer, res, sl, tl))
        return;
    res.set_content(
        googlePage(text, answer.translation.text, sessionNote(ctx.engineSessions, visit)),
        kUtf8Html);
}

void handleRelay(const httplib::Request &req, httplib::Response &res, SiteContext &ctx)
{
    const auto form = readForm(req, res, {"sen", "lang"});
    if (!form)
        return;
    const auto text = gbkToUtf8(*fieldValue(*form, "sen"));
    if (!text)
        return badRequest(res, "sen is not GBK text");
    const auto pair = relayLanguages(*fieldValue(*form, "lang"));
    if (!pair)
        return badRequest(res, "lang must be encn or cnen");
    const auto visit = ctx.engineSessions.visit(req, res);
    const std::string note = sessionNote(ctx.engineSessions, visit);
    if (ctx.relayBusy)
        return res.set_content(relayBusyPage(ctx.base, note), kGbkHtml);
    const GatewayAnswer answer = translated(ctx, Engine::Relay, *text, *pair, res);
    const Translation &t = answer.translation;
    if (t.outcome == Translation::Outcome::Failed) // the relay's own way to say so
        return res.set_content(relayBusyPage(ctx.base, note), kGbkHtml);
    const std::string lang = *fieldValue(*form, "lang");
    if (failed(answer, res, lang.substr(0, 2), lang.substr(2)))
        return;
    res.set_content(relayPage(*text, t.text, ctx.base, note), kGbkHtml);
}

void handleYoudao(const httplib::Request &req, httplib::Response &res, SiteContext &ctx)
{
    const auto form =
        readForm(req, res, {"ue", "keyfrom", "smartresult", "i", "o", "type", "action"});
    if (!form)
        return;
    const std::string text = *fieldValue(*form, "i");
    if (!isValidUtf8(text))
        return badRequest(res, "i is not UTF-8");
    if (*fieldValue(*form, "action") != "翻译")
        return badRequest(res, "action must be 翻译 in UTF-8");
    const auto pair = youdaoLanguages(*fieldValue(*form, "type"));
    if (!pair)
        return badRequest(res, "type must read like ZH_CN2EN");
    const std::string type = *fieldValue(*form, "type");
    const auto visit = ctx.engineSessions.visit(req, res);
    const GatewayAnswer answer = translated(ctx, Engine::Youdao, text, *pair, res);
    if (failed(answer, res, type.substr(0, type.find('2')), type.substr(type.find('2') + 1)))
        return;
    res.set_content(
        youdaoPage(text, answer.translation.text, sessionNote(ctx.engineSessions, visit)),
        kUtf8Html);
}

void handleYahoo(const httplib::Request &req, httplib::Response &res, SiteContext &ctx)
{
    const auto form = readForm(req, res, {"ei", "fr", "lp", "trtext"});
    if (!form)
        return;
    const std::string text = *fieldValue(*form, "trtext");
    if (!isValidUtf8(text))
        return badRequest(res, "trtext is not UTF-8");
    const auto pair = yahooLanguages(*fieldValue(*form, "lp"));
    if (!pair)
        return badRequest(res, "lp must read like zh_en");
    const std::string lp = *fieldValue(*form, "lp");
    const auto visit = ctx.engineSessions.visit(req, res);
    const GatewayAnswer answer = translated(ctx, Engine::Yahoo, text, *pair, res);
    if (failed(answer, res, lp.substr(0, lp.find('_')), lp.substr(lp.find('_') + 1)))
        return;
    res.set_content(
        yahooPage(text, answer.translation.text, sessionNote(ctx.engineSessions, visit)),
        kUtf8Html);
}

} // namespace mirel::siteserver
