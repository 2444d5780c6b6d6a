#include "saved_focus.h"

namespace kvorn {

void SavedFocus::Deactivated(HWND window)
{
    const HWND focus = GetFocus();
    if (focus && IsChild(window, focus))
        focus_ = focus;
}

bool SavedFocus::Restore(HWND window) const
{
    if (!focus_ || !IsWindow(focus_) || !IsChild(window, focus_))
        return false;
    SetFocus(focus_);
    return true;
}

}  // namespace kvorn
