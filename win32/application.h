#pragma once

#include <windows.h>

namespace kvorn {

// Creates the calculator window and runs the message loop until it closes;
// returns the program's exit code.
int RunCalculator(HINSTANCE instance, int showCommand);

// Hands one message to `window`'s dialog manager (Tab, Shift+Tab, Enter)
// or, when it is not one of those, to its window.
void DispatchFor(HWND window, MSG& message);

}  // namespace kvorn
