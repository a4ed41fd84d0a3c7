#include "SiteServerFixture.h"

#include <cstdint>
#include <cstring>

using VendorRoutes = SiteServerFixture;

namespace {

uint32_t le32(const std::string &s, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(s[at + size_t(i)]);
    return v;
}

} // namespace

TEST_F(VendorRoutes, UpdateListIsExactlyThreeCrLfLines)
{
    const auto res = get("/SiteBack/updateTxt/28.txt");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->body, "[Mirel]\r\nVersion=" MIREL_TEST_VERSION "\r\nDownload=" + base() +
                             "/201072928.html\r\n");
}

TEST_F(VendorRoutes, VendorPagesAnswer)
{
    const auto ad = get("/ad/201072928_1.html");
    ASSERT_TRUE(ad);
    EXPECT_EQ(ad->status, 200);
    EXPECT_NE(ad->body.find("width:382px;height:49px"), std::string::npos);
    EXPECT_NE(ad->body.find(base() + "/201072928.html"), std::string::npos);
    const auto vendor = get("/201072928.html");
    ASSERT_TRUE(vendor);
    EXPECT_EQ(vendor->status, 200);
    EXPECT_NE(vendor->body.find("Mirel免费翻译软件"), std::string::npos);
    const auto missing = get("/ad/other.html");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
}

TEST_F(VendorRoutes, VendorPageShowsSettingsWarningsEscaped)
{
    mirel::siteserver::SiteOptions options;
    options.settingsWarnings = {"warning: /home/a<b>/sites.conf holds deepl-key; chmod 600"};
    start(options);
    const auto vendor = get("/201072928.html");
    ASSERT_TRUE(vendor);
    EXPECT_NE(vendor->body.find("/home/a&lt;b&gt;/sites.conf holds deepl-key; chmod 600"),
              std::string::npos);
    EXPECT_EQ(vendor->body.find("a<b>"), std::string::npos);
}

TEST_F(VendorRoutes, SpeechIsAValidShortWav)
{
    const auto res = get("/translate_tts?tl=en&q=hello%20world");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Type"), "audio/wav");
    const std::string &wav = res->body;
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(wav.substr(36, 4), "data");
    const uint32_t data = le32(wav, 40);
    EXPECT_EQ(data, wav.size() - 44);
    const uint32_t byteRate = le32(wav, 28);
    EXPECT_GT(data, byteRate / 5);  // longer than 0.2 s
    EXPECT_LT(data, byteRate * 3u); // shorter than 3 s

    const auto longText = get("/translate_tts?tl=en&q=" + std::string(300, 'a') + "%20b");
    ASSERT_TRUE(longText);
    EXPECT_LE(le32(longText->body, 40), byteRate * 3u);
    EXPECT_EQ(get("/translate_tts?tl=en")->status, 400);
}
