#include "sites/pages/DictionaryRoute.h"

#include "sites/core/ValidUtf8.h"
#include "sites/dictionary/DictionaryPage.h"
#include "sites/pages/FormBody.h"

namespace mirel::siteserver {

void handleDictionary(const httplib::Request &req, httplib::Response &res, SiteContext &ctx)
{
    // The program sends the word's UTF-8 bytes as they are; read the raw target rather
    // than the library's decoding of it.
    const size_t question = req.target.find('?');
    const std::vector<FormField> query = decodeQuery(
        question == std::string::npos ? std::string_view()
                                      : std::string_view(req.target).substr(question + 1));
    if (const std::string missing = missingFields(query, {"tab", "keyfrom", "q", "btnG", "r"});
        !missing.empty())
        return badRequest(res, "missing query fields: " + missing);
    if (*fieldValue(query, "tab") != "chn" || *fieldValue(query, "keyfrom") != "dict.top")
        return badRequest(res, "tab must be chn and keyfrom dict.top");
    if (*fieldValue(query, "btnG") != "搜 索")
        return badRequest(res, "btnG must be 搜 索 in UTF-8");
    const std::string r = *fieldValue(query, "r");
    if (r.size() != 1 || r[0] < '0' || r[0] > '9')
        return badRequest(res, "r must be one decimal digit");
    const std::string word = *fieldValue(query, "q");
    if (word.empty())
        return badRequest(res, "q is empty");
    if (!isValidUtf8(word))
        return badRequest(res, "q is not UTF-8");

    const auto visit = ctx.dictionarySessions.visit(req, res);
    const std::string note = sessionNote(ctx.dictionarySessions, visit);
    const DictionaryEntry *entry = ctx.dictionary.find(word);
    res.set_content(entry ? dictionaryPage(*entry, note) : notFoundPage(word, note),
                    "text/html; charset=utf-8");
}

} // namespace mirel::siteserver
