#include "sites/keyless/KeylessPassage.h"

#include "sites/gateway/PieceTranslation.h"
#include "sites/keyless/KeylessAnswer.h"

namespace mirel::siteserver {
namespace {

// A call is not begun with less time than this left.
constexpr auto kShortestCall = std::chrono::milliseconds(500);

} // namespace

Translation translateKeyless(std::string_view service, std::string_view utf8,
                             const KeylessLimits &limits, RequestPacer &pacer,
                             Clock::time_point deadline, const KeylessAsk &ask)
{
    const std::string who(service);
    const auto pieces = splitPassage(utf8, limits.pieceLimit, limits.measure);
    Translation whole = translatePieces(pieces, [&](std::string_view core, size_t) {
        if (!pacer.waitTurn(deadline - kShortestCall))
            return Translation::outOfTurns(who + ": no time left for the next request at its rate");
        Translation one = ask(core);
        if (one.outcome == Translation::Outcome::Translated && trimPiece(one.text).core.empty())
            return Translation::badAnswer(who + " gave an empty translation");
        return one;
    });
    if (whole.outcome == Translation::Outcome::Translated && echoedBack(utf8, whole.text))
        return Translation::noAnswer(who + " gave the passage back untranslated");
    return whole;
}

} // namespace mirel::siteserver
