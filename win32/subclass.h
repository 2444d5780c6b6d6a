#pragma once
// A control's messages seen first by a procedure of the program's, then
// handed on: Windows' own subclassing, chained, so that a start-up need not
// load the common-controls library for it.

#include <windows.h>

#include "window_ids.h"

namespace kvorn {

using SubclassProcedure = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data);

// Puts `procedure` in front of what the window does now, for as long as
// the window lasts; one procedure for each id.
void Subclass(HWND window, SubclassId id, SubclassProcedure procedure, DWORD_PTR data = 0);
// What the window would do with the message without subclass `id`.
LRESULT CallUnder(SubclassId id, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kvorn
