#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace mirel {

// The control that gets the keyboard focus after a failed check's message box closes.
enum class CheckFocus { TranslateContent, OLDLanguage, NEWLanguage };

struct CheckFailure
{
    QString message; // shown with ShowMsgBox, empty caption, kind 0
    CheckFocus focus;

    bool operator==(const CheckFailure &) const = default;
};

// The seven checks of the translate command, in order, on the texts of the passage box,
// the source and target lists and the engine list. nullopt when all pass and the
// request may go out; otherwise the first check that failed.
std::optional<CheckFailure> firstFailedCheck(QStringView passage, QStringView source,
                                             QStringView target, QStringView engine);

} // namespace mirel
