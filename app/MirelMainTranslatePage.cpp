// The translation page: source text, engine and language lists, the translate button
// and the result box.
#include "app/MirelMain.h"

#include "app/TPictureLabel.h"
#include "resources/Pictures.h"
#include "translation/LanguageListChoice.h"

#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mirel {

namespace {

QComboBox *createList(const QString &name, QRect geometry, QWidget *page)
{
    auto *list = new QComboBox(page);
    list->setObjectName(name);
    list->setEditable(false);
    list->setGeometry(geometry);
    return list;
}

QPlainTextEdit *createMemo(const QString &name, QRect geometry, QWidget *page)
{
    auto *memo = new QPlainTextEdit(page);
    memo->setObjectName(name);
    memo->setGeometry(geometry);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setTabChangesFocus(true);
    return memo;
}

QFont sansSerifFont(int pixelSize, QFont::Weight weight)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif")});
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

} // namespace

void TMirelMain::createTranslatePage()
{
    QWidget *const page = TabTranslate;

    TranslateLine = new QLabel(page);
    TranslateLine->setObjectName(QStringLiteral("TranslateLine"));
    TranslateLine->setGeometry(8, 136, 370, 15);
    TranslateLine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TranslateLine->setPixmap(QPixmap(QLatin1String(pictures::TranslateLine)));

    TranslateLabel = new QLabel(QStringLiteral("翻译结果"), page);
    TranslateLabel->setObjectName(QStringLiteral("TranslateLabel"));
    TranslateLabel->setGeometry(14, 130, 67, 16);
    TranslateLabel->setFont(sansSerifFont(12, QFont::Bold));

    TranslateICO = new TPictureLabel(page);
    TranslateICO->setObjectName(QStringLiteral("TranslateICO"));
    TranslateICO->setGeometry(211, 103, 11, 11);
    TranslateICO->setPixmap(QPixmap(QLatin1String(pictures::TranslateICO)));
    TranslateICO->setCursor(Qt::PointingHandCursor);
    connectHandler(TranslateICO, &TPictureLabel::clicked, [this] { TranslateICOClick(); });

    TranslateContent = createMemo(QStringLiteral("TranslateContent"), {9, 7, 368, 83}, page);

    TranslateType = createList(QStringLiteral("TranslateType"), {9, 98, 93, 20}, page);
    TranslateType->setCursor(Qt::ArrowCursor);
    connectHandler(TranslateType, &QComboBox::activated, [this] { TranslateTypeChange(); });
    OLDLanguage = createList(QStringLiteral("OLDLanguage"), {110, 98, 96, 20}, page);
    NEWLanguage = createList(QStringLiteral("NEWLanguage"), {227, 98, 96, 20}, page);

    TranslateButton = new QPushButton(QStringLiteral("翻译"), page);
    TranslateButton->setObjectName(QStringLiteral("TranslateButton"));
    TranslateButton->setGeometry(330, 97, 47, 22);
    TranslateButton->setAutoDefault(true);
    TranslateButton->setDefault(true);
    connectHandler(TranslateButton, &QPushButton::clicked, [this] { TranslateButtonClick(); });

    TranslateResult = createMemo(QStringLiteral("TranslateResult"), {6, 159, 369, 225}, page);
    TranslateResult->setReadOnly(true);
    TranslateResult->setFrameShape(QFrame::NoFrame);
    TranslateResult->setFont(sansSerifFont(13, QFont::Normal));

    setTabOrder(TranslateContent, TranslateType);
    setTabOrder(TranslateType, OLDLanguage);
    setTabOrder(OLDLanguage, NEWLanguage);
    setTabOrder(NEWLanguage, TranslateButton);
    setTabOrder(TranslateButton, TranslateResult);
}

void TMirelMain::ChangeType(const QString &engineName)
{
    const std::optional<LanguageListChoice> choice =
        chooseLanguageLists(engineName, OLDLanguage->currentIndex(), NEWLanguage->currentIndex());
    if (!choice)
        return;
    OLDLanguage->clear();
    OLDLanguage->addItems(choice->names);
    NEWLanguage->clear();
    NEWLanguage->addItems(choice->names);
    OLDLanguage->setCurrentIndex(choice->sourcePosition);
    NEWLanguage->setCurrentIndex(choice->targetPosition);
}

} // namespace mirel
