#include "sites/services/ServiceFault.h"

#include "sites/http/SafeReason.h"

namespace mirel::siteserver {

const CodeFault *findFault(std::span<const CodeFault> table, std::string_view code)
{
    for (const CodeFault &row : table)
        if (row.code == code)
            return &row;
    const std::string_view family = code.substr(0, code.find('.'));
    for (const CodeFault &row : table)
        if (row.code == family)
            return &row;
    return nullptr;
}

ServiceAnswer refusedWith(std::string_view service, std::string_view code, Fault fault,
                          std::string_view reason, const std::vector<std::string_view> &secrets)
{
    std::string text = std::string(service) + " refused (" + safeReason(code, secrets) + ")";
    if (!reason.empty())
        text += ": " + safeReason(reason, secrets);
    if (fault == Fault::Later)
        return {Translation::noAnswer(std::move(text)), false};
    if (fault == Fault::Key)
        return {Translation::badAnswer(std::move(text)), true};
    return {Translation::refusedRequest(std::move(text)), false};
}

ServiceAnswer unreadable(const HttpReply &reply, Translation failure)
{
    if (reply.failure == HttpReply::Failure::None && (reply.status >= 500 || reply.status == 429))
        failure.status = 503;
    return {std::move(failure)};
}

Translation KeyStanding::note(ServiceAnswer answer)
{
    if (answer.keyRefused)
        m_refused = true;
    else if (answer.translation.outcome == Translation::Outcome::Translated)
        m_refused = false;
    return std::move(answer.translation);
}

} // namespace mirel::siteserver
