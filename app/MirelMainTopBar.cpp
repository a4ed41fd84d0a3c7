// The top bar (0, 0, 382, 33): the two page buttons, of which only Button_Translate shows,
// and the vendor page button. Its 386 x 56 picture is cut to the bar: columns 4 to 385,
// rows 0 to 32.
#include "app/MirelMain.h"

#include "app/BarPictures.h"
#include "app/PageSelection.h"
#include "controls/TImgButton.h"
#include "controls/TImgCheckButton.h"
#include "controls/TPaintPanel.h"
#include "resources/Pictures.h"

#include <QStackedWidget>

namespace mirel {

namespace {

void placeButton(TImgControl &button, const char *name, QRect geometry, int tag)
{
    button.setObjectName(QLatin1String(name));
    button.setGeometry(geometry);
    button.setTag(tag);
    button.setOnEnterOffset(0);
    button.setOnDownOffset(0);
}

} // namespace

void TMirelMain::createTopBar()
{
    TopPanel = new TPaintPanel(this);
    TopPanel->setObjectName(QStringLiteral("TopPanel"));
    TopPanel->setGeometry(0, 0, 382, 33);
    TopPanel->setPicture(QImage(QLatin1String(pictures::TopPanel)));
    TopPanel->setPicHorzStretch(hstLeft);

    // Creation order is drawing order: Button_Translate lies over the hidden Button_Word.
    Button_Word = new TImgCheckButton(TopPanel);
    placeButton(*Button_Word, "Button_Word", QRect(8, 11, 58, 22), 0);
    setButtonFaces(*Button_Word, "Button_Word", true);
    Button_Word->setCheckGroup(0);
    Button_Word->setChecked(false);
    Button_Word->hide();
    connectHandler(Button_Word, &TImgControl::OnClick, [this] { Button_WordClick(Button_Word); });

    Button_Translate = new TImgCheckButton(TopPanel);
    placeButton(*Button_Translate, "Button_Translate", QRect(7, 11, 58, 22), 1);
    setButtonFaces(*Button_Translate, "Button_Translate", true);
    Button_Translate->setCheckGroup(0);
    Button_Translate->setChecked(true);
    connectHandler(Button_Translate, &TImgControl::OnClick,
                   [this] { Button_TranslateClick(Button_Translate); });

    Button_Web = new TImgButton(TopPanel);
    placeButton(*Button_Web, "Button_Web", QRect(71, 11, 80, 22), 2);
    setButtonFaces(*Button_Web, "Button_Web", false);
    connectHandler(Button_Web, &TImgControl::OnClick, [this] { Button_WebClick(); });
}

// The check button checks itself after this returns; the handler leaves the buttons alone.
void TMirelMain::Button_WordClick(QObject *sender)
{
    if (const std::optional<int> index = pageIndexOf(sender))
        selectPage(*TabControl, *index);
}

void TMirelMain::Button_TranslateClick(QObject *sender)
{
    if (const std::optional<int> index = pageIndexOf(sender))
        selectPage(*TabControl, *index);
}

} // namespace mirel
