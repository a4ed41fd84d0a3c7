#include "TopBarFixture.h"
#include "app/TWebBrowser.h"
#include "controls/TImgButton.h"

namespace mirel {
namespace {

using AdStrip = test::ShownWindow;

TEST_F(AdStrip, VendorButtonStartsTheVendorPageOncePerClick)
{
    const QStringList vendorPage{QStringLiteral("http://127.0.0.1:1/201072928.html")};
    click(window->Button_Web);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts.at(0), vendorPage);
    click(window->Button_Web);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts.at(1), vendorPage);
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(AdStrip, NoRegisteredBrowserMeansNothingHappens)
{
    ShellServices services;
    services.presenter = presenter;
    int asked = 0;
    services.launcher.open = [&asked](const QString &) {
        ++asked;
        return false;
    };
    TMirelMain bare(Sites::local(1), webFolder(), std::move(services));
    bare.setUpdateCall([](std::uintptr_t, const char *) {});
    bare.Button_WebClick();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(AdStrip, FillsTheBottomOfTheWindow)
{
    EXPECT_EQ(window->pnlAD->geometry(), QRect(0, 428, 382, 49));
    EXPECT_EQ(window->ADWeb->parentWidget(), window->pnlAD);
    EXPECT_EQ(window->ADWeb->geometry(), QRect(0, 0, 382, 49));
}

} // namespace
} // namespace mirel
