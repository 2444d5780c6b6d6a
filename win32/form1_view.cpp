// The window as the form sees it: the texts of its controls, the focus, the
// boxes and closing.

#include "form1_window.h"
#include "wide_text.h"

namespace kvorn {

std::string Form1Window::Text(Control control) const
{
    switch (control) {
    case Control::Label1: return Narrow(label1Text_);
    case Control::Label2: return Narrow(label2Text_);
    case Control::Image1: return {};
    default: return Narrow(WindowText(controls_[std::size_t(control)]));
    }
}

void Form1Window::SetText(Control control, std::string_view text)
{
    const std::wstring value = Widen(text);
    if (control == Control::Label1 || control == Control::Label2) {
        (control == Control::Label1 ? label1Text_ : label2Text_) = value;
        const RECT bounds = Scaled(Describe(control).Bounds);
        InvalidateRect(window_, &bounds, FALSE);
        return;
    }
    HWND window = controls_[std::size_t(control)];
    if (!window)
        return;
    if (Describe(control).Kind == ControlKind::ComboBox) {
        SelectorOf(control).SetText(value);
        return;
    }
    SetWindowTextW(window, value.c_str());
}

void Form1Window::Focus(Control control)
{
    if (HWND window = controls_[std::size_t(control)])
        SetFocus(window);
}

void Form1Window::ShowMessage(std::string_view text) { presenter_.ShowMessage(text); }
void Form1Window::ShowError(std::string_view message) { presenter_.ShowError(message); }
void Form1Window::Close() { SendMessageW(window_, WM_CLOSE, 0, 0); }

}  // namespace kvorn
