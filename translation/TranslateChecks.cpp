#include "translation/TranslateChecks.h"

#include "translation/LanguageLookup.h"
#include "translation/LanguageTables.h"

namespace mirel {
namespace {

QStringView view(std::u16string_view s)
{
    return QStringView(s.data(), qsizetype(s.size()));
}

CheckFailure fail(const char16_t *message, CheckFocus focus)
{
    return {QString::fromUtf16(message), focus};
}

// Youdao and Yahoo offer only Chinese, English and Japanese and need Chinese on one side.
bool needsChinese(QStringView engine)
{
    return engine == view(EngineNames[engNetease]) || engine == view(EngineNames[engYahoo]);
}

} // namespace

std::optional<CheckFailure> firstFailedCheck(QStringView passage, QStringView source,
                                             QStringView target, QStringView engine)
{
    using enum CheckFocus;
    if (passage.isEmpty())
        return fail(u"请输入您需要翻译的内容!", TranslateContent);
    if (source.isEmpty())
        return fail(u"请选择您要翻译的原始语言!", OLDLanguage);
    if (target.isEmpty())
        return fail(u"请选择您要翻译的语言!", NEWLanguage);
    if (!CheckLanguage(engine, source))
        return fail(u"您选择的原始语言不正确!", OLDLanguage);
    if (!CheckLanguage(engine, target))
        return fail(u"您选择的翻译语言不正确", NEWLanguage);
    if (source == target)
        return fail(u"您选择的两种语言相同,请重新选择!", NEWLanguage);
    constexpr QStringView chinese = u"中文";
    if (needsChinese(engine) && source != chinese && target != chinese)
        return fail(u"该引擎不支持日文和英文互译!请重新选择!", NEWLanguage);
    return std::nullopt;
}

} // namespace mirel
