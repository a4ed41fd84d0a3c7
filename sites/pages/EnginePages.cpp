#include "sites/pages/EnginePages.h"

#include "sites/core/GbkCodec.h"
#include "sites/core/HtmlText.h"

namespace mirel::siteserver {
namespace {

std::string comment(std::string_view note)
{
    return "<!-- " + std::string(note) + " -->\n";
}

} // namespace

std::string googlePage(std::string_view source, std::string_view result, std::string_view note)
{
    std::string page;
    page += "<html><head><meta http-equiv=content-type content=\"text/html; charset=UTF-8\">"
            "<title>Google 翻译</title></head>\n<body>\n";
    page += comment(note);
    page += "<form action=\"/\" method=post><div id=gt-src>"
            "<textarea name=text rows=8 cols=60>";
    page += escapeAttribute(source);
    page += "</textarea></div>\n<div id=result_box dir=\"ltr\">";
    page += escapeHtml(result);
    page += "</div>\n<input type=hidden name=hl value=\"zh-CN\"><input type=hidden name=gtrans "
            "value=\"";
    page += withoutMarkers(result, {"\"><div id=sug_exp>"});
    page += "\"><div id=sug_exp><a href=\"#\">更好的翻译建议</a></div></form>\n"
            "</body></html>\n";
    return page;
}

std::string relayCreditLine(std::string_view home)
{
    return "<p>以上结果由<a href=\"" + std::string(home) + "\" target=\"_blank\">金桥翻译</a>提供";
}

std::string relayPage(std::string_view source, std::string_view result, std::string_view home,
                      std::string_view note)
{
    std::string page;
    page += "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">"
            "<title>百度在线翻译 - 金桥翻译</title></head>\n<body>\n";
    page += comment(note);
    page += "<div class=\"src\">";
    page += escapeAttribute(source);
    page += "</div>\n<h1>自动翻译结果如下</h1>\n<div id=\"result\">";
    page += withoutMarkers(result, {"</div>", relayCreditLine(home)});
    page += "</div>\n";
    page += relayCreditLine(home);
    page += "，感谢百度翻译。</p>\n</body></html>\n";
    return utf8ToGbk(page);
}

std::string relayBusyPage(std::string_view home, std::string_view note)
{
    std::string page;
    page += "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">"
            "<title>百度在线翻译 - 金桥翻译</title></head>\n<body>\n";
    page += comment(note);
    page += "<div class='err'>翻译服务器繁忙！请稍后重试。</div>\n";
    page += "<p><a href=\"" + std::string(home) + "\">返回首页</a></p>\n</body></html>\n";
    return utf8ToGbk(page);
}

std::string youdaoPage(std::string_view source, std::string_view result, std::string_view note)
{
    std::string page;
    page += "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
            "<title>有道翻译</title></head>\n<body>\n";
    page += comment(note);
    page += "<form action=\"/translate\" method=\"post\">\n<div id=\"inputArea\">"
            "<textarea id=\"source_text1\" name=\"i\">";
    page += escapeAttribute(source);
    page += "</textarea></div>\n<div id=\"outputArea\"><textarea id=\"source_text2\" "
            "name=\"result\" rows=\"8\" readonly>";
    page += withoutMarkers(result, {"</textarea>", "class=\"submitcell\""});
    page += "</textarea></div>\n<div class=\"row\"><input type=\"submit\" "
            "class=\"submitcell\" value=\"翻译\"></div>\n</form>\n</body></html>\n";
    return page;
}

std::string yahooPage(std::string_view source, std::string_view result, std::string_view note)
{
    std::string page;
    page += "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
            "<title>雅虎中国 - 在线翻译</title></head>\n<body>\n";
    page += comment(note);
    page += "<div class=\"source\">";
    page += escapeAttribute(source);
    page += "</div>\n<div class=\"result\">\n<h3>翻译结果</h3>\n<div id=\"pd\" class=\"pd\">";
    page += withoutMarkers(result, {"</div>", "<div class=\"clr\">"});
    page += "</div>\n</div>\n<div class=\"clr\"></div>\n</body></html>\n";
    return page;
}

} // namespace mirel::siteserver
