// The translation page's handlers: the translate command with its checks, the engine
// change, the language swap, and the engine request through the shared client.
#include "app/MirelMain.h"

#include "app/ClientRequestFields.h"
#include "app/PassageText.h"
#include "translation/EngineRequest.h"
#include "translation/LanguageLookup.h"
#include "translation/ResultExtraction.h"
#include "translation/TranslateChecks.h"

#include <QComboBox>
#include <QPlainTextEdit>

namespace mirel {

void TMirelMain::TranslateButtonClick()
{
    const QString passage = passageText(*TranslateContent);
    const std::optional<CheckFailure> failure =
        firstFailedCheck(passage, OLDLanguage->currentText(), NEWLanguage->currentText(),
                         TranslateType->currentText());
    if (failure) {
        // The presenter returns when the box is closed; only then the focus moves.
        showMsgBox(failure->message);
        switch (failure->focus) {
        case CheckFocus::TranslateContent:
            TranslateContent->setFocus();
            break;
        case CheckFocus::OLDLanguage:
            OLDLanguage->setFocus();
            break;
        case CheckFocus::NEWLanguage:
            NEWLanguage->setFocus();
            break;
        }
        return;
    }
    const QString result = GetTranslate(passage);
    TranslateResult->setPlainText(result);
}

void TMirelMain::TranslateTypeChange()
{
    ChangeType(TranslateType->currentText());
}

void TMirelMain::TranslateICOClick()
{
    const int source = OLDLanguage->currentIndex();
    const int target = NEWLanguage->currentIndex();
    OLDLanguage->setCurrentIndex(target);
    NEWLanguage->setCurrentIndex(source);
}

bool TMirelMain::CheckLanguage(const QString &engineName, const QString &languageName) const
{
    return mirel::CheckLanguage(engineName, languageName);
}

QString TMirelMain::GetTranslate(const QString &passage)
{
    // The engine index is the low 8 bits of the list position: no selection (-1) is 255.
    const int engine = quint8(TranslateType->currentIndex());
    const QString target = NEWLanguage->currentText();
    // The request owns its field list, so it is released however this ends.
    std::optional<EngineRequest> request =
        buildEngineRequest(passage, engine, OLDLanguage->currentText(), target, sites());
    if (!request)
        return {};
    setRequestFields(MirelHTTP, request->headers);
    const QByteArray body = MirelHTTP.Post(request->url, request->fields);

    const ExtractedResult result = extractResult(engine, body, target, sites());
    if (result.font) {
        // The family named is the one asked for; fontconfig stands in where it is missing.
        QFont font = TranslateResult->font();
        font.setFamilies({*result.font});
        TranslateResult->setFont(font);
    }
    return result.text;
}

} // namespace mirel
