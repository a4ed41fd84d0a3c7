#pragma once

#include "sites/gateway/TranslationBackend.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The online services the contract suite runs, each over its recorded answers in
// tests/data/services/<folder>/:
//   cases.tsv    name <TAB> answer file <TAB> expect <TAB> detail, one row a case; expect
//                is "text" (detail: the exact translation, "\n" for a line break), "503"
//                (failed for now), "502" (failed) or "refused" (502 and the reason says
//                "refused"); detail is then a part of the reason.
//   *.http       a raw response: head lines (LF, sent CRLF), a blank line, the body as it
//                stands; {{KEY}} is replaced by the key the service was given, and the
//                reason shown must not hold it.
//   request.txt  (optional) the standard call's request: "METHOD /target", the headers
//                the vendor fixes in their order, a blank line, the body; {{ANY}} stands
//                for what is made afresh each call (a salt, a time, a signature).
// Besides its rows every service gets the transport rows: malformed JSON, an empty
// body, an HTML page, an oversized answer, a trickling answer, a connection closed early
// and no answer before the deadline.
//
// A new service is a folder and one entry in serviceCatalog().

// The standard call: StandardText from the entry's pair, with StandardKey.
inline constexpr const char *StandardText = "你好，世界。";
inline constexpr const char *StandardKey = "test-key";

struct ServiceEntry
{
    std::string name;   // as in the service order: "baidu"
    std::string folder; // under tests/data/services/
    // The service as the site server builds it, against the fake's address
    // ("http://127.0.0.1:<port>", the vendor's path to be added) and the key.
    std::function<std::unique_ptr<mirel::siteserver::TranslationBackend>(const std::string &address,
                                                                         const std::string &key)>
        build;
    mirel::siteserver::LanguagePair pair{"zh-CN", "en"};
    // Answers to the service's other requests (its language list, say), whatever the
    // row: a target prefix ("/v2/languages?type=source") and an answer file of the folder.
    std::vector<std::pair<std::string, std::string>> sideAnswers = {};
    // What an HTML page where JSON belongs is: "502" (a malformed answer), or "503" for a
    // keyless web endpoint, where such a page is the vendor's captcha or block page.
    std::string htmlPage = "502";
};

const std::vector<ServiceEntry> &serviceCatalog();
