// A passage cut for a service's size limit: the pieces join back to the passage, each
// within the limit, cut at a line end, else a sentence end, else a blank, never inside a
// UTF-8 sequence.
#include "sites/backends/ServicePieces.h"

#include <gtest/gtest.h>

using namespace mirel::sites;

TEST(CutPassage, AtTheBestEndWithinTheLimit)
{
    struct Row
    {
        const char *passage;
        size_t limit;
        const char *pieces; // joined with "|"
    };
    const Row rows[] = {
        {"", 10, ""},
        {"short", 10, "short"},
        {"one\ntwo three. four\n", 12, "one\n|two three. |four\n"},
        {"line one\r\nline two", 12, "line one\r\n|line two"},
        {"Hi there. And you? Yes", 20, "Hi there. And you? |Yes"},
        {"v1.2 is out now", 8, "v1.2 is |out now"},
        {"你好。世界！再见", 12, "你好。|世界！|再见"},
        {"你好世界再见", 8, "你好|世界|再见"},
        {"abcdefghij", 4, "abcd|efgh|ij"},
    };
    for (const Row &row : rows) {
        std::string joined;
        std::string whole;
        for (const std::string_view piece : cutPassage(row.passage, row.limit)) {
            EXPECT_LE(piece.size(), row.limit) << row.passage;
            joined += (joined.empty() && whole.empty() ? "" : "|") + std::string(piece);
            whole += piece;
        }
        EXPECT_EQ(joined, row.pieces);
        EXPECT_EQ(whole, row.passage);
    }
}

TEST(TrimBlanks, KeepsTheBlanksAroundForLater)
{
    const Trimmed t = trimBlanks("\r\n  text here \t\n");
    EXPECT_EQ(t.lead, "\r\n  ");
    EXPECT_EQ(t.core, "text here");
    EXPECT_EQ(t.trail, " \t\n");
    EXPECT_EQ(trimBlanks(" \n ").core, "");
}
