#include "sites/gateway/PieceTranslation.h"

namespace mirel::siteserver {

Translation translatePieces(const std::vector<std::string_view> &pieces,
                            const PieceTranslator &translateOne)
{
    std::string text;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const TrimmedPiece piece = trimPiece(pieces[i]);
        if (piece.core.empty()) {
            text += pieces[i];
            continue;
        }
        Translation one = translateOne(piece.core, i);
        if (one.outcome != Translation::Outcome::Translated)
            return one;
        text.append(piece.lead).append(one.text).append(piece.trail);
    }
    return Translation::translated(std::move(text));
}

} // namespace mirel::siteserver
