#include "sites/pages/VendorPages.h"

namespace mirel::siteserver {

std::string adPage(std::string_view base)
{
    std::string page;
    page += "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Mirel</title>\n"
            "<style>\nhtml,body{margin:0;padding:0;overflow:hidden;width:382px;height:49px}\n"
            "a{display:block;box-sizing:border-box;width:382px;height:49px;padding:6px 10px;"
            "text-decoration:none;color:#fff;font:12px/18px sans-serif;"
            "background:linear-gradient(#3a7bd5,#2456a4)}\n"
            "b{display:block;font-size:14px}\n</style></head>\n<body><a href=\"";
    page += base;
    page += "/201072928.html\" target=\"_blank\"><b>Mirel免费翻译软件</b>"
            "四大翻译引擎，一键翻译 · 点击访问官方网站</a></body></html>\n";
    return page;
}

namespace {

// The head of the vendor's pages: plain, readable in a view 382 pixels wide.
std::string pageHead(std::string_view title)
{
    std::string head = "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                       "<meta name=\"viewport\" content=\"width=device-width\"><title>";
    head += title;
    head +=
        "</title>\n<style>\nbody{margin:8px;font:13px/1.5 sans-serif;color:#222}\n"
        "h1{font-size:17px;margin:0 0 4px}h2{font-size:15px;margin:12px 0 4px}"
        "h3{font-size:13px;margin:8px 0 2px}\np{margin:4px 0}ul{margin:4px 0;padding-left:18px}\n"
        "table{border-collapse:collapse;width:100%}\n"
        "td{vertical-align:top;border-top:1px solid #ddd;padding:2px 3px;word-break:keep-all}\n"
        "td:first-child{white-space:nowrap;width:1%}\n"
        ".n{color:#666;font-size:12px}.hint{background:#fff6d5;padding:4px 6px}\n"
        "code{font-size:12px}\n</style></head>\n<body>\n";
    return head;
}

} // namespace

std::string vendorPage(std::string_view base, std::string_view status)
{
    std::string page = pageHead("Mirel免费翻译软件 - 官方网站");
    page += "<h1>Mirel免费翻译软件</h1>\n"
            "<p>Google、百度、网易有道、雅虎四大翻译引擎，中文、英语、日语等多种语言互译，"
            "完全免费。</p>\n";
    page += status;
    page += "<p><a href=\"";
    page += base;
    page += "/settings\">设置翻译服务（填入密钥）</a> · <a href=\"";
    page += base;
    page += "/SiteBack/updateTxt/28.txt\">更新信息</a></p>\n</body></html>\n";
    return page;
}

std::string updateList(std::string_view base)
{
    std::string list = "[Mirel]\r\nVersion=" MIREL_VERSION "\r\nDownload=";
    list += base;
    list += "/201072928.html\r\n";
    return list;
}

std::string indexPage(std::string_view base, std::string_view status)
{
    std::string page = pageHead("Mirel sites");
    page += "<h1>Mirel: local site server for the outside sites</h1>\n";
    page += status;
    page += "<h2>Addresses</h2>\n<ul>\n"
            "<li>POST / : Google translation form</li>\n"
            "<li>POST /trans.php : Baidu relay (GBK)</li>\n"
            "<li>POST /translate : NetEase Youdao translation</li>\n"
            "<li>POST /translate_txt : Yahoo China translation</li>\n"
            "<li>GET <a href=\"/search?tab=chn&keyfrom=dict.top&q=apple&btnG=%E6%90%9C+%E7%B4"
            "%A2&r=0\">/search</a> : Youdao dictionary</li>\n"
            "<li>GET <a href=\"/translate_tts?tl=en&q=hello\">/translate_tts</a> : speech</li>\n"
            "<li>GET <a href=\"/ad/201072928_1.html\">/ad/201072928_1.html</a>, "
            "<a href=\"/201072928.html\">/201072928.html</a>, "
            "<a href=\"/SiteBack/updateTxt/28.txt\">/SiteBack/updateTxt/28.txt</a> : vendor "
            "site</li>\n</ul>\n<p>";
    page += base;
    page += "</p>\n</body></html>\n";
    return page;
}

} // namespace mirel::siteserver
