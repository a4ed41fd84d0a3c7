#include "app/MirelMain.h"

#include "app/ApplicationTitle.h"
#include "app/PageFiles.h"
#include "app/TWebBrowser.h"
#include "resources/Pictures.h"
#include "resources/Resources.h"
#include "shell/MsgBox.h"
#include "translation/LanguageLookup.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>

namespace mirel {

namespace {

constexpr int ClientWidth = 382;
constexpr int ClientHeight = 477;

QFont windowFont()
{
    // "宋体" where it is installed, otherwise an installed CJK font of the same role.
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

TMirelMain::TMirelMain(const Sites &sites, const QString &webFolder, QWidget *parent)
    : TMirelMain(sites, webFolder, ShellServices::desktop(), parent)
{
}

TMirelMain::TMirelMain(const Sites &sites, const QString &webFolder, ShellServices services,
                       QWidget *parent)
    : QWidget(parent), m_sites(sites), m_webFolder(webFolder), m_services(std::move(services))
{
    initResources();
    if (!m_services.presenter)
        m_services.presenter = ShellServices::desktop().presenter;
    setUpWindow();
    // Creation order is drawing order: the top bar first, the ad strip last.
    createTopBar();
    createPageContainer();
    createWordPage();
    createTranslatePage();
    createAdStrip();
    guarded([this] { FormCreate(); });
}

TMirelMain::~TMirelMain() = default;

void TMirelMain::setUpWindow()
{
    setObjectName(QStringLiteral("MirelMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(applicationTitle());
    setWindowIcon(QIcon(QLatin1String(pictures::WindowIcon)));
    setFixedSize(ClientWidth, ClientHeight);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
    setFont(windowFont());
    if (const QScreen *desktop = screen())
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                 desktop->availableGeometry())
                 .topLeft());
}

void TMirelMain::createPageContainer()
{
    TabControl = new QStackedWidget(this);
    TabControl->setObjectName(QStringLiteral("TabControl"));
    TabControl->setGeometry(0, 33, 382, 395);
    // The pages start 2 px below the container's top edge, as under a hidden tab row.
    TabControl->setContentsMargins(0, 2, 0, 0);

    TabWord = new QWidget;
    TabWord->setObjectName(QStringLiteral("TabWord"));
    TabWord->setAccessibleName(QStringLiteral("词典"));
    TabTranslate = new QWidget;
    TabTranslate->setObjectName(QStringLiteral("TabTranslate"));
    TabTranslate->setAccessibleName(QStringLiteral("翻译"));
    TabControl->addWidget(TabWord);
    TabControl->addWidget(TabTranslate);
    TabControl->setCurrentWidget(TabTranslate);
    TabControl->layout()->activate();
}

void TMirelMain::FormCreate()
{
    writeMissingPageFiles(WebFolder::at(m_webFolder));
    WordBrowser->Navigate(m_webFolder + QStringLiteral("Translate.html"));
    ADWeb->Navigate(QString::fromLatin1(m_sites.vendorAdPage()));
}

void TMirelMain::FormShow()
{
    TranslateType->addItems(engineNameList());
    TranslateType->setCurrentIndex(0);
    TabControl->layout()->activate();
    ChangeType(TranslateType->currentText());
}

void TMirelMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    guarded([this] { FormShow(); });
}

int TMirelMain::showMsgBox(const QString &text, const QString &caption, quint8 kind) const
{
    return ShowMsgBox(*m_services.presenter, text, caption, kind);
}

QWidget *TMirelMain::reportOwner()
{
    return isVisible() ? this : nullptr;
}

} // namespace mirel
