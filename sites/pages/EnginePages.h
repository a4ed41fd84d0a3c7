#pragma once

#include <string>
#include <string_view>

namespace mirel::siteserver {

// The answer pages of the four translation engines. source and result are UTF-8 text;
// the result stands in the page exactly as given (see withoutMarkers);
// note is a line for an HTML comment (the session the request belonged to).

// UTF-8 page; the result sits in the hidden "gtrans" field before the suggestion box.
std::string googlePage(std::string_view source, std::string_view result, std::string_view note);

// GBK page of the Baidu relay: heading, result block, then the credit line that names
// the relay operator's home address.
std::string relayPage(std::string_view source, std::string_view result, std::string_view home,
                      std::string_view note);

// GBK page the relay shows when its server is overloaded.
std::string relayBusyPage(std::string_view home, std::string_view note);

// UTF-8 page; the result is the content of the textarea "source_text2".
std::string youdaoPage(std::string_view source, std::string_view result, std::string_view note);

// UTF-8 page; the result is the "pd" block inside the "result" box.
std::string yahooPage(std::string_view source, std::string_view result, std::string_view note);

// The relay's credit line for a home address, exactly as the program expects it.
std::string relayCreditLine(std::string_view home);

} // namespace mirel::siteserver
