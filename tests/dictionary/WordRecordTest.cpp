#include "dictionary/WordRecord.h"

#include <gtest/gtest.h>

using namespace mirel;

TEST(WordRecord, ParsedByTagPairsUpToTheThirdGroup)
{
    const QByteArray text = "<WORD>w</WORD><PHONETIC>\xC9\x99</PHONETIC><TRANSLATE>a<BR>b"
                            "</TRANSLATE><IMAGESCN1>c1</IMAGESCN1><IMAGESEN1>e1</IMAGESEN1>"
                            "<IMAGESEN12>x</IMAGESEN12><IMAGESEN2>e2</IMAGESEN2>"
                            "<IMAGESCN2>c2</IMAGESCN2><IMAGESEN4>e4</IMAGESEN4>";
    const WordRecord r = parseWordRecord(text);
    EXPECT_EQ(r.word, "w");
    EXPECT_EQ(r.phonetic, "\xC9\x99");
    EXPECT_EQ(r.translate, "a<BR>b");
    ASSERT_EQ(r.examples.size(), 3);
    EXPECT_EQ(r.examples[0].english, "e1");
    EXPECT_EQ(r.examples[0].chinese, "c1");
    EXPECT_EQ(r.examples[1].english, "e2");
    EXPECT_EQ(r.examples[1].chinese, "c2");
    EXPECT_EQ(r.examples[2].english, "");
    EXPECT_EQ(r.examples[2].chinese, "");
}
