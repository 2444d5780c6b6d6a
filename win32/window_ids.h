#pragma once
// The ids the calculator window gives its controls and the subclasses it
// puts on them, in one place so that no two meet.

#include <windows.h>

#include "form_description.h"

namespace kvorn {

// Control ids stay clear of IDOK and IDCANCEL, which IsDialogMessage sends
// for Enter and Escape.
inline constexpr WORD FirstControlId = 100;

constexpr WORD IdOf(Control control) { return WORD(FirstControlId + int(control)); }

constexpr bool ControlOfId(WORD id, Control& control)
{
    if (id < FirstControlId || id >= FirstControlId + Form1Controls.size())
        return false;
    control = Control(id - FirstControlId);
    return true;
}

enum SubclassId : UINT_PTR {
    KeystrokeRuleSubclass = 1,
    EditSelectionSubclass,
    SelectorStepSubclass,
};

}  // namespace kvorn
