#pragma once

#include "sites/gateway/Translation.h"
#include "sites/languages/PassageSplit.h"

#include <functional>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// Translates a passage a piece at a time: each piece's core goes to translateOne in order,
// and the blanks and line breaks around it are put back exactly as they were, so the
// translation keeps the passage's line structure. Pieces that are only blanks are kept
// as they are. Stops at the first failure and returns it.
using PieceTranslator = std::function<Translation(std::string_view core, size_t index)>;
Translation translatePieces(const std::vector<std::string_view> &pieces,
                            const PieceTranslator &translateOne);

} // namespace mirel::siteserver
