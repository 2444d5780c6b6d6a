#include "application.h"

#include <exception>

#include "form_description.h"
#include "dialog_presenter.h"
#include "wide_text.h"

namespace kvorn {

void DispatchFor(HWND window, MSG& message)
{
    if (window && IsDialogMessageW(window, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

CalculatorWindows::CalculatorWindows(HINSTANCE instance, MessagePresenter& presenter)
    : Application(instance), Form(instance, presenter, Application.Handle())
{
    Application.SetMainForm(Form.Handle());
}

void CalculatorWindows::Show(int showCommand)
{
    // The form's first frame first: the taskbar entry's window draws nothing.
    Form.Show(showCommand, [this] { Application.Show(); });
}

int RunCalculator(HINSTANCE instance, int showCommand)
{
    try {
        DialogPresenter presenter;
        CalculatorWindows windows(instance, presenter);
        presenter.SetOwner(windows.Form.Handle());
        windows.Show(showCommand);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchFor(windows.Form.Handle(), message);
        return 0;
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, Widen(error.what()).c_str(), Widen(ApplicationTitle).c_str(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        MessageBoxW(nullptr, L"Unknown error", Widen(ApplicationTitle).c_str(), MB_OK | MB_ICONSTOP);
    }
    return 1;
}

}  // namespace kvorn
