#pragma once
// An edit that receives the focus from elsewhere in the window other than by
// a left click selects its whole text, so that typing replaces it. A focus
// coming back with the window keeps the selection the edit had. The middle
// button does nothing, as in Windows.

#include <windows.h>

namespace kvorn {

// A selector's text part selects only when entered with Tab: Wine's box
// does so only the first time, and shows its selection when it has left.
void AttachEditSelection(HWND edit, bool onTabOnly = false);

}  // namespace kvorn
