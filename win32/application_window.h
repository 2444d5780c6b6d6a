#pragma once
// The application's own window, as classic Windows programs have it: it has
// no size and shows nothing, is captioned with the application title and so
// names the program's taskbar entry and its Alt+Tab item, and owns the form,
// which has no taskbar button of its own. Minimising and restoring it from
// the taskbar hides and shows the form with it; closing it closes the form.

#include <windows.h>

namespace kvorn {

class ApplicationWindow {
public:
    // Throws std::runtime_error when Windows refuses.
    explicit ApplicationWindow(HINSTANCE instance);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND Handle() const { return window_; }
    // The form it stands for: activated in its place, closed with it.
    void SetMainForm(HWND form) { form_ = form; }
    void Show();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HWND form_ = nullptr;
};

}  // namespace kvorn
