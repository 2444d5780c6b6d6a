#include "application.h"

#include <exception>

#include "form1_window.h"
#include "form_description.h"
#include "message_presenter.h"
#include "regional_settings.h"
#include "wide_text.h"

namespace kvorn {

void DispatchFor(HWND window, MSG& message)
{
    if (window && IsDialogMessageW(window, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunCalculator(HINSTANCE instance, int showCommand)
{
    try {
        SystemPresenter presenter;
        Form1Window window(instance, presenter, RegionalSeparator);
        window.Show(showCommand);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchFor(window.Handle(), message);
        return 0;
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, Widen(error.what()).c_str(), Widen(ApplicationTitle).c_str(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        MessageBoxW(nullptr, L"Unknown error", Widen(ApplicationTitle).c_str(), MB_OK | MB_ICONSTOP);
    }
    return 1;
}

}  // namespace kvorn
