#pragma once

#include <windows.h>

#include "application_window.h"
#include "form1_window.h"

namespace kvorn {

// The program's windows as it shows them: the application's window, which
// names the taskbar entry, owning the form.
struct CalculatorWindows {
    CalculatorWindows(HINSTANCE instance, MessagePresenter& presenter);
    void Show(int showCommand);

    ApplicationWindow Application;
    Form1Window Form;
};

// Creates the calculator window and runs the message loop until it closes;
// returns the program's exit code.
int RunCalculator(HINSTANCE instance, int showCommand);

// Hands one message to `window`'s dialog manager (Tab, Shift+Tab, Enter)
// or, when it is not one of those, to its window.
void DispatchFor(HWND window, MSG& message);

}  // namespace kvorn
