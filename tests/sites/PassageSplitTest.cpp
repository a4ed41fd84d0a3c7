// A passage cut into pieces a service accepts and joined back exactly.
#include "sites/gateway/PieceTranslation.h"

#include <gtest/gtest.h>

using namespace mirel::siteserver;

namespace {

std::string joined(const std::vector<std::string_view> &pieces)
{
    std::string text;
    for (const std::string_view piece : pieces)
        text += piece;
    return text;
}

} // namespace

TEST(PassageSplit, CutsAtTheBestBoundaryThatFits)
{
    struct Row
    {
        const char *name;
        std::string text;
        size_t limit;
        TextMeasure measure;
        std::vector<std::string> pieces;
    };
    const Row rows[] = {
        {"fits", "one line\ntwo", 20, TextMeasure::Bytes, {"one line\ntwo"}},
        {"line end first", "Aa. Bb.\nCc dd ee", 12, TextMeasure::Bytes, {"Aa. Bb.\n", "Cc dd ee"}},
        {"sentence end",
         "One two. Three four five",
         12,
         TextMeasure::Bytes,
         {"One two. ", "Three four ", "five"}},
        {"a number is no sentence end",
         "Pi is 3.14 ok",
         11,
         TextMeasure::Bytes,
         {"Pi is 3.14 ", "ok"}},
        {"closing quote stays",
         "他说：“好。”然后走了",
         8,
         TextMeasure::CodePoints,
         {"他说：“好。”", "然后走了"}},
        {"a full-width semicolon ends a sentence",
         "甲乙；丙丁戊己",
         5,
         TextMeasure::CodePoints,
         {"甲乙；", "丙丁戊己"}},
        {"characters, not bytes",
         "天气很好我们去公园",
         4,
         TextMeasure::Bytes,
         {"天", "气", "很", "好", "我", "们", "去", "公", "园"}},
        {"code points",
         "天气很好我们去公园",
         4,
         TextMeasure::CodePoints,
         {"天气很好", "我们去公", "园"}},
        {"a character above U+FFFF is two units",
         "a😀b😀",
         2,
         TextMeasure::Utf16Units,
         {"a", "😀", "b", "😀"}},
        {"a full-width sentence end, in bytes",
         "你好。世界！再见",
         12,
         TextMeasure::Bytes,
         {"你好。", "世界！", "再见"}},
        {"no boundary: cut at the limit",
         "abcdefghij",
         4,
         TextMeasure::Bytes,
         {"abcd", "efgh", "ij"}},
        {"a line break ends the piece it ends",
         "ab\r\n\r\ncd",
         5,
         TextMeasure::Bytes,
         {"ab\r\n", "\r\ncd"}},
        {"empty", "", 5, TextMeasure::Bytes, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto pieces = splitPassage(row.text, row.limit, row.measure);
        EXPECT_EQ(std::vector<std::string>(pieces.begin(), pieces.end()), row.pieces);
        EXPECT_EQ(joined(pieces), row.text);
    }
}

TEST(PassageSplit, ALongPassageComesBackExactlyInPiecesWithinTheLimit)
{
    std::string passage;
    for (int i = 0; i < 300; ++i)
        passage += i % 7 == 0   ? "\r\n\r\n  "
                   : i % 3 == 0 ? "今天天气很好，我们去公园散步吧。"
                                : "The weather is very nice today! ";
    passage += std::string(3000, 'x') + "\n";
    for (const TextMeasure measure :
         {TextMeasure::Bytes, TextMeasure::Utf16Units, TextMeasure::CodePoints}) {
        const auto pieces = splitPassage(passage, 1000, measure);
        EXPECT_EQ(joined(pieces), passage);
        for (const std::string_view piece : pieces)
            EXPECT_LE(textSize(piece, measure), 1000u);
        // The translation of each piece's text, blanks and line breaks put back around it.
        const Translation back = translatePieces(pieces, [](std::string_view core, size_t) {
            return Translation::translated(std::string(core));
        });
        EXPECT_EQ(back.text, passage);
    }
}

TEST(PassageSplit, PiecesTranslateInOrderAndTheFirstFailureStops)
{
    const std::vector<std::string_view> pieces{"  a\n", "\n\n", "b \n", "c"};
    std::vector<std::string> asked;
    const Translation ok = translatePieces(pieces, [&](std::string_view core, size_t) {
        asked.emplace_back(core);
        return Translation::translated("[" + std::string(core) + "]");
    });
    EXPECT_EQ(ok.text, "  [a]\n\n\n[b] \n[c]");
    EXPECT_EQ(asked, (std::vector<std::string>{"a", "b", "c"}));
    const Translation failed = translatePieces(pieces, [](std::string_view core, size_t) {
        return core == "b" ? Translation::noAnswer("down") : Translation::translated("x");
    });
    EXPECT_EQ(failed.status, 503);
    EXPECT_EQ(failed.reason, "down");
}

TEST(PassageSplit, TrimKeepsTheBlanksAroundForLater)
{
    const TrimmedPiece t = trimPiece("\r\n\u3000 text here \t\n");
    EXPECT_EQ(t.lead, "\r\n\u3000 ");
    EXPECT_EQ(t.core, "text here");
    EXPECT_EQ(t.trail, " \t\n");
    EXPECT_EQ(trimPiece(" \n ").core, "");
}
