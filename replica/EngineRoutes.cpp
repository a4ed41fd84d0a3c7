#include "replica/EngineRoutes.h"

#include "replica/EnginePages.h"
#include "replica/FormBody.h"
#include "replica/GbkCodec.h"
#include "replica/LanguageCodes.h"

#include <QString>

#include <algorithm>
#include <cctype>

namespace mirel::replica {
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

std::string translated(std::string_view utf8, LanguagePair pair)
{
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    return translateText(text, pair.from, pair.to).toStdString();
}

} // namespace

void handleGoogle(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx)
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
    const auto visit = ctx.engineSessions.visit(req, res);
    res.set_content(
        googlePage(text, translated(text, {*from, *to}), sessionNote(ctx.engineSessions, visit)),
        kUtf8Html);
}

void handleRelay(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx)
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
    res.set_content(relayPage(*text, translated(*text, *pair), ctx.base, note), kGbkHtml);
}

void handleYoudao(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx)
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
    const auto visit = ctx.engineSessions.visit(req, res);
    res.set_content(
        youdaoPage(text, translated(text, *pair), sessionNote(ctx.engineSessions, visit)),
        kUtf8Html);
}

void handleYahoo(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx)
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
    const auto visit = ctx.engineSessions.visit(req, res);
    res.set_content(
        yahooPage(text, translated(text, *pair), sessionNote(ctx.engineSessions, visit)),
        kUtf8Html);
}

} // namespace mirel::replica
