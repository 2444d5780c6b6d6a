#include "application_window.h"

#include <stdexcept>

#include "form_description.h"
#include "wide_text.h"
#include "window_class.h"

namespace kvorn {

namespace {

constexpr wchar_t ClassName[] = L"TApplication";

}  // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance)
{
    RegisterWindowClass(instance, ClassName, WindowProc);
    // A caption and a system menu for the taskbar entry's menu; no size, so
    // that nothing of it is drawn.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    window_ = CreateWindowExW(0, ClassName, Widen(ApplicationTitle).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                              nullptr, nullptr, instance, nullptr);
    if (!window_)
        throw std::runtime_error("The application's window cannot be created");
    SetWindowLongPtrW(window_, GWLP_USERDATA, LONG_PTR(this));
}

ApplicationWindow::~ApplicationWindow()
{
    if (window_ && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void ApplicationWindow::Show() { ShowWindow(window_, SW_SHOWNOACTIVATE); }

LRESULT CALLBACK ApplicationWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ApplicationWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const HWND form = self && IsWindow(self->form_) ? self->form_ : nullptr;
    switch (message) {
    case WM_CLOSE:
        // The taskbar entry's Close: the form closes, which ends the program.
        if (form) {
            PostMessageW(form, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Chosen on the taskbar or with Alt+Tab: the form is what is meant.
        if (form && LOWORD(wParam) != WA_INACTIVE && !IsIconic(window)) {
            SetActiveWindow(form);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if (form && (wParam & 0xFFF0) == SC_RESTORE) {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            SetActiveWindow(form);
            return result;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kvorn
