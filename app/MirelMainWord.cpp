// The dictionary lookup: GetWord asks the dictionary site through MirelHTTP, the button
// handler shows the result page or says why there is none.
#include "app/MirelMain.h"

#include "app/ClientRequestFields.h"
#include "app/PageFiles.h"
#include "app/TWebBrowser.h"
#include "dictionary/DictionaryRequest.h"
#include "dictionary/ResultPage.h"
#include "dictionary/WebFolder.h"
#include "dictionary/WordScraper.h"
#include "util/TextCodec.h"
#include "util/TextHelpers.h"

#include <QLineEdit>

namespace mirel {

QByteArray TMirelMain::GetWord(const QByteArray &gbkWord)
{
    const QByteArray word = removeCrLf(gbkWord);
    setRequestFields(MirelHTTP, dictionaryHeaders(sites()));
    const QByteArray body = MirelHTTP.Get(dictionaryAddress(word, randomRDigit(), sites()));
    return scrapeWord(word, body);
}

void TMirelMain::WordButtonClick()
{
    if (Word->text().isEmpty()) {
        showMsgBox(QStringLiteral("请输入您要查询的单词!"));
        Word->setFocus();
        return;
    }
    const QByteArray record = GetWord(ReplaceWord(toGbk(Word->text())));
    if (record.isEmpty()) {
        showMsgBox(QStringLiteral("没有查找到您输入的单词!"));
        Word->setFocus();
        return;
    }
    const WebFolder folder = WebFolder::at(webFolder());
    folder.ensureExists();
    if (!folder.hasTemplate())
        writePageFiles(folder);
    const QByteArray page = resultPageBytes(folder.readTemplate(), record, sites().tts);
    WordBrowser->Navigate(folder.writeResultPage(page));
}

} // namespace mirel
