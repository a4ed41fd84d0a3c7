#include "sites/keyless/KeylessAnswer.h"

#include "sites/languages/PassageSplit.h"

namespace mirel::siteserver {
namespace {

bool looksLikePage(std::string_view body)
{
    const size_t first = body.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && body[first] == '<';
}

} // namespace

JsonAnswer readKeylessAnswer(const HttpReply &reply, std::string_view service)
{
    const std::string who(service);
    if (reply.failure == HttpReply::Failure::None) {
        if (reply.status == 429)
            return {std::nullopt, Translation::noAnswer(who + " answered 429 (too many requests)")};
        if (reply.status >= 500)
            return {std::nullopt,
                    Translation::noAnswer(who + " answered " + std::to_string(reply.status))};
        if (reply.status >= 300 && reply.status < 400)
            return {std::nullopt, Translation::noAnswer(who + " answered a redirect (" +
                                                        std::to_string(reply.status) +
                                                        "): a captcha or a block page")};
        if (looksLikePage(reply.body))
            return {std::nullopt, Translation::noAnswer(who +
                                                        " answered a web page, not a translation "
                                                        "(a captcha or a block page; status " +
                                                        std::to_string(reply.status) + ")")};
    }
    return readJsonAnswer(reply, service);
}

bool echoedBack(std::string_view source, std::string_view translation)
{
    const std::string_view core = trimPiece(source).core;
    return textSize(core, TextMeasure::CodePoints) > 20 && trimPiece(translation).core == core;
}

} // namespace mirel::siteserver
