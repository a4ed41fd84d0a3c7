#pragma once

#include "app/ExceptionReport.h"
#include "app/ShellServices.h"
#include "app/UpdateCall.h"
#include "config/Sites.h"
#include "controls/TImgButton.h"
#include "controls/TImgCheckButton.h"
#include "controls/TPaintPanel.h"
#include "net/HttpClient.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace mirel {

class TPictureLabel;
class TWebBrowser;

// The main window: a fixed 382 x 477 client area with the top bar, the page container
// (dictionary page, translation page; no tab row) and the ad strip. Controls are public
// members named by their role. Every event handler runs under the standard exception
// report: a signal reaches it through connectHandler(), creation and first showing
// through guarded(); the handlers themselves catch nothing.
class TMirelMain : public QWidget
{
    Q_OBJECT
public:
    // webFolder: the folder of the page files, ending in "/".
    TMirelMain(const Sites &sites, const QString &webFolder, QWidget *parent = nullptr);
    TMirelMain(const Sites &sites, const QString &webFolder, ShellServices services,
               QWidget *parent = nullptr);
    ~TMirelMain() override;

    // ---- top bar (MirelMainTopBar.cpp) ----
    TPaintPanel *TopPanel = nullptr;             // 0, 0, 382, 33
    TImgCheckButton *Button_Word = nullptr;      // Tag 0 (TabWord); hidden
    TImgCheckButton *Button_Translate = nullptr; // Tag 1 (TabTranslate); checked
    TImgButton *Button_Web = nullptr;            // Tag 2: opens the vendor page
    // Show the page whose index is the sender's Tag; a sender that is not an image
    // control is ignored.
    void Button_WordClick(QObject *sender);
    void Button_TranslateClick(QObject *sender);

    // ---- page container (MirelMain.cpp) ----
    // Page 0 is TabWord, page 1 TabTranslate; pages start 2 px below the top edge.
    QStackedWidget *TabControl = nullptr;
    QWidget *TabWord = nullptr;
    QWidget *TabTranslate = nullptr;

    // ---- dictionary page (MirelMainWordPage.cpp) ----
    TPaintPanel *WordPanel = nullptr; // 0, 0, 374, 42 on TabWord (app/WordBar.h)
    QLineEdit *Word = nullptr;
    QPushButton *WordButton = nullptr; // the page's default button
    TWebBrowser *WordBrowser = nullptr;
    // Shows the result page of the word, or says why there is none (MirelMainWord.cpp).
    void WordButtonClick();
    // Looks the word (GBK) up on the dictionary site through MirelHTTP, whose redirect
    // and request fields it sets (they stay set). Returns the tagged word record, or the
    // empty text when nothing was found; a failed request throws (MirelMainWord.cpp).
    QByteArray GetWord(const QByteArray &gbkWord);

    // ---- translation page (MirelMainTranslatePage.cpp) ----
    QLabel *TranslateLine = nullptr;
    QLabel *TranslateLabel = nullptr;
    TPictureLabel *TranslateICO = nullptr; // clicked() when the swap icon is clicked
    QPlainTextEdit *TranslateContent = nullptr;
    // The lists' activated() signal is the user's choice; programmatic changes don't send it.
    QComboBox *TranslateType = nullptr;
    QComboBox *OLDLanguage = nullptr;
    QComboBox *NEWLanguage = nullptr;
    QPushButton *TranslateButton = nullptr; // the page's default button
    QPlainTextEdit *TranslateResult = nullptr;
    // Handlers and methods of the page (MirelMainTranslate.cpp).
    void TranslateButtonClick();
    void TranslateTypeChange();
    void TranslateICOClick();
    // True when the engine of that name offers a language of that display name.
    bool CheckLanguage(const QString &engineName, const QString &languageName) const;
    // Translates the passage (line breaks as CR LF) with the selected engine and
    // languages through MirelHTTP; Google also sets TranslateResult's font. An engine
    // index outside 0 to 3 sends nothing and gives the empty text.
    QString GetTranslate(const QString &passage);

    // ---- ad strip and update check (MirelMainAdStrip.cpp) ----
    QWidget *pnlAD = nullptr; // 0, 428, 382, 49
    TWebBrowser *ADWeb = nullptr;
    // 5000 ms from creation; off once its one call of the update library has returned.
    QTimer *UpdateTimer = nullptr;
    // Opens the vendor page in the desktop's browser.
    void Button_WebClick();
    // Hands the update list's address to the update library, once per run.
    void UpdateTimerTimer();
    // The library's DoUpdate unless replaced (tests).
    void setUpdateCall(UpdateCall call) { m_updateCall = std::move(call); }

private:
    UpdateCall m_updateCall;
    bool m_updateCalled = false;

public:
    // ---- the one HTTP client every request goes through ----
    THttpClient MirelHTTP;

    // Start-up: writes the missing page files and starts both navigations. Runs from
    // the constructor; an error stops it and shows the standard exception report.
    void FormCreate();
    // First showing: fills the engine list and the language lists.
    void FormShow();
    // Refills OLDLanguage and NEWLanguage for the engine of that name.
    void ChangeType(const QString &engineName);

    const Sites &sites() const { return m_sites; }
    const QString &webFolder() const { return m_webFolder; }
    const WebPageLauncher &webPageLauncher() const { return m_services.launcher; }

    // ShowMsgBox through the window's presenter; kind 0 with an empty caption is the
    // information box of input problems.
    int showMsgBox(const QString &text, const QString &caption = {}, quint8 kind = 0) const;

protected:
    void showEvent(QShowEvent *event) override;
    // Enter with no modifier clicks the visible page's default button (see DefaultKeys).
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Runs an event handler under the standard exception report.
    template <typename Handler> void guarded(Handler &&handler)
    {
        mirel::guarded(*m_services.presenter, reportOwner(), std::forward<Handler>(handler));
    }
    // Connects the sender's signal to an event handler that runs through guarded().
    template <typename Sender, typename Signal, typename Handler>
    void connectHandler(const Sender *sender, Signal signal, Handler handler)
    {
        connect(sender, signal, this, [this, handler] { guarded(handler); });
    }

    void setUpWindow();
    void createTopBar();
    void createPageContainer();
    void createWordPage();
    void createTranslatePage();
    void createAdStrip();
    QPushButton *visibleDefaultButton() const;
    bool focusTakesEnter() const;
    QWidget *reportOwner();

    Sites m_sites;
    QString m_webFolder;
    ShellServices m_services;
    bool m_shown = false;
};

} // namespace mirel
