// The dictionary page: the word bar with the word box and its button, and the browser
// that shows the result page.
#include "app/MirelMain.h"

#include "app/TWebBrowser.h"
#include "app/WordBar.h"

#include <QLineEdit>
#include <QPushButton>

namespace mirel {

void TMirelMain::createWordPage()
{
    WordPanel = createWordPanel(TabWord);

    Word = new QLineEdit(WordPanel);
    Word->setObjectName(QStringLiteral("Word"));
    Word->setGeometry(13, 9, 277, 23);

    WordButton = new QPushButton(QStringLiteral("翻译"), WordPanel);
    WordButton->setObjectName(QStringLiteral("WordButton"));
    WordButton->setGeometry(303, 8, 70, 24);
    WordButton->setAutoDefault(true);
    WordButton->setDefault(true);
    connectHandler(WordButton, &QPushButton::clicked, [this] { WordButtonClick(); });
    setTabOrder(Word, WordButton);

    WordBrowser = new TWebBrowser(TabWord);
    WordBrowser->setObjectName(QStringLiteral("WordBrowser"));
    WordBrowser->setGeometry(1, 45, 385, 343);
}

} // namespace mirel
