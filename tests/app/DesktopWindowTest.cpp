// The main window and the real message boxes as the desktop shows them: titles read
// back from the X server, the text as shown, and the modality of a box. Runs on xcb
// (under Xvfb from ctest).
#include "app/ApplicationSetup.h"
#include "app/ApplicationTitle.h"
#include "app/ExceptionReport.h"
#include "app/MirelMain.h"
#include "app/TPictureLabel.h"
#include "shell/MsgBox.h"
#include "shell/WidgetMessagePresenter.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace mirel {
namespace {

// One property of a window as the X server holds it, read with xprop: the text after
// " = " ("" when the property is not set).
QString xProperty(const QWidget &window, const char *property)
{
    QProcess xprop;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    xprop.setProcessEnvironment(environment);
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window.winId()),
                                          QString::fromLatin1(property)});
    if (!xprop.waitForFinished(5000))
        return QString();
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype equals = out.indexOf(QStringLiteral(" = "));
    return equals < 0 ? QString() : out.mid(equals + 3);
}

// The title the desktop shows (_NET_WM_NAME), once Qt has handed it to the X server.
QString desktopTitle(const QWidget &window)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        QCoreApplication::processEvents();
        const QString quoted = xProperty(window, "_NET_WM_NAME");
        if (quoted.size() >= 2 && quoted.startsWith(u'"') && quoted.endsWith(u'"'))
            return quoted.mid(1, quoted.size() - 2);
        QTest::qWait(100);
    }
    return QStringLiteral("<no title>");
}

// What a box showed while it was open.
struct SeenBox
{
    bool shown = false;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    Qt::WindowModality modality = Qt::NonModal;
    QString windowState;
    bool mainWindowTookAClick = false;
};

class DesktopWindow : public testing::Test
{
protected:
    static void SetUpTestSuite() { setUpApplication(); }

    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"))
            << "needs an X display: run under xvfb-run with QT_QPA_PLATFORM=xcb";
        ShellServices services;
        services.presenter = presenter;
        window = std::make_unique<TMirelMain>(Sites::local(1), dir.path() + QStringLiteral("/Web/"),
                                              std::move(services));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Runs show, which opens a box, and while the box is open reads what it shows, clicks
    // the main window's swap icon through the window system, then presses the button.
    SeenBox whileOpen(const std::function<void()> &show, QMessageBox::StandardButton press)
    {
        SeenBox seen;
        int ticks = 0;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (++ticks > 500) { // 10 s: give up rather than hang
                watch.stop();
                if (QWidget *open = QApplication::activeModalWidget())
                    open->close();
                return;
            }
            if (!box || !box->windowHandle() || !box->windowHandle()->isExposed())
                return;
            watch.stop();
            seen.shown = true;
            seen.title = desktopTitle(*box);
            seen.windowState = xProperty(*box, "_NET_WM_STATE");
            seen.modality = box->windowModality();
            if (const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
                seen.text = label->text();
                seen.format = label->textFormat();
            }
            const QString source = window->OLDLanguage->currentText();
            QTest::mouseClick(
                window->windowHandle(), Qt::LeftButton, {},
                window->TranslateICO->mapTo(window.get(), window->TranslateICO->rect().center()));
            seen.mainWindowTookAClick = window->OLDLanguage->currentText() != source;
            if (QAbstractButton *button = box->button(press))
                QTest::mouseClick(button, Qt::LeftButton);
        });
        watch.start();
        show();
        watch.stop();
        return seen;
    }

    QTemporaryDir dir;
    std::shared_ptr<WidgetMessagePresenter> presenter = std::make_shared<WidgetMessagePresenter>();
    std::unique_ptr<TMirelMain> window;
};

// A status line a peer chose, with markup in it.
const QString kStatusLine =
    QStringLiteral("HTTP/1.1 500 <b>Internal</b> <font size=7>Error</font>");

void expectPlainModalBox(const SeenBox &seen, const QString &text)
{
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text.toStdString(), text.toStdString());
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_TRUE(seen.windowState.contains(QStringLiteral("_NET_WM_STATE_MODAL")))
        << seen.windowState.toStdString();
    EXPECT_FALSE(seen.mainWindowTookAClick);
}

TEST_F(DesktopWindow, MainWindowIsTitledWithTheApplicationTitleAlone)
{
    EXPECT_EQ(desktopTitle(*window).toStdString(), "Mirel免费翻译软件");
}

TEST_F(DesktopWindow, EachKindsBoxShowsItsCaptionAloneAndPlainText)
{
    const struct
    {
        quint8 kind;
        QString caption;
        QMessageBox::StandardButton press;
        int answer;
    } rows[] = {{0, QStringLiteral("提示"), QMessageBox::Ok, 1},
                {1, QStringLiteral("询问"), QMessageBox::No, 7},
                {1, QStringLiteral("询问"), QMessageBox::Yes, 6},
                {2, QStringLiteral("警告"), QMessageBox::Ok, 1},
                {3, QStringLiteral("错误"), QMessageBox::Ok, 1}};
    for (const auto &row : rows) {
        int answer = -1;
        const SeenBox seen = whileOpen(
            [&] { answer = ShowMsgBox(*presenter, kStatusLine, QString(), row.kind); }, row.press);
        EXPECT_EQ(seen.title.toStdString(), row.caption.toStdString()) << int(row.kind);
        EXPECT_EQ(answer, row.answer) << int(row.kind);
        expectPlainModalBox(seen, kStatusLine);
    }
}

TEST_F(DesktopWindow, ExceptionReportShowsTheApplicationTitleAndPlainText)
{
    const SeenBox seen = whileOpen(
        [&] { showExceptionReport(*presenter, kStatusLine, window.get()); }, QMessageBox::Ok);
    EXPECT_EQ(seen.title.toStdString(), applicationTitle().toStdString());
    expectPlainModalBox(seen, kStatusLine + u'.');
}

} // namespace
} // namespace mirel
