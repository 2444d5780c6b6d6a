// The controls made from the form description, and their notices routed
// back to the form.

#include <stdexcept>

#include "edit_selection.h"
#include "form1_window.h"
#include "keystroke_rule.h"
#include "wide_text.h"
#include "window_ids.h"

namespace kvorn {

namespace {

// Wine keeps a narrow field scrolled as it was for a longer text, and a
// shorter one can then sit out of view: the field is shown from its start
// again, and then as far as its caret needs.
void ShowFromItsStart(HWND edit)
{
    const auto firstAt = short(LOWORD(SendMessageW(edit, EM_POSFROMCHAR, 0, 0)));
    if (GetWindowTextLengthW(edit) == 0 || firstAt >= 0)
        return;
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, WPARAM(&from), LPARAM(&to));
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    SendMessageW(edit, EM_SETSEL, from, to);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace

void Form1Window::CreateControl(const ControlDescription& d)
{
    const wchar_t* type = nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    switch (d.Kind) {
    case ControlKind::Edit:
        type = L"EDIT";
        style |= WS_BORDER | ES_AUTOHSCROLL;  // a flat border
        break;
    case ControlKind::ComboBox:
        type = L"COMBOBOX";
        // Drawn by the window, so that every list item is ListItemHeight high.
        style |= WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        break;
    case ControlKind::PictureButton:
        type = L"BUTTON";
        style |= BS_OWNERDRAW;
        break;
    case ControlKind::Picture:
    case ControlKind::Label:
        return;  // drawn by the window
    }
    const RECT at = Scaled(d.Bounds);
    const int height = d.Kind == ControlKind::ComboBox ? SelectorBox::BoxHeight(at, dpi_) : int(at.bottom - at.top);
    HWND control = CreateWindowExW(0, type, Widen(d.Text).c_str(), style, at.left, at.top, at.right - at.left, height,
                                   window_, HMENU(INT_PTR(IdOf(d.Id))), instance_, nullptr);
    if (!control)
        throw std::runtime_error("The control " + std::string(d.Name) + " cannot be created");
    controls_[std::size_t(d.Id)] = control;

    if (d.Kind == ControlKind::Edit) {
        if (d.MaxLength > 0)
            SendMessageW(control, EM_LIMITTEXT, WPARAM(d.MaxLength), 0);
        AttachKeystrokeRule(control, form_, d.Id);
        AttachEditSelection(control);
    } else if (d.Kind == ControlKind::ComboBox) {
        SelectorOf(d.Id).Attach(control, window_, form_, d.Id);
    }
}

void Form1Window::Command(WORD id, WORD code)
{
    if (id == IDOK) {
        // Enter, through the dialog manager: it presses the focused button.
        const HWND focus = GetFocus();
        for (Control button : {Control::BitBtn1, Control::BitBtn2})
            if (focus && focus == controls_[std::size_t(button)])
                form_.Clicked(button);
        return;
    }
    Control control;
    if (!ControlOfId(id, control))
        return;
    switch (Describe(control).Kind) {
    case ControlKind::Edit:
        if (code == EN_CHANGE) {
            ShowFromItsStart(controls_[std::size_t(control)]);
            form_.Changed(control);
        }
        break;
    case ControlKind::ComboBox:
        SelectorOf(control).Notified(code);
        break;
    case ControlKind::PictureButton:
        if (code == BN_CLICKED)
            form_.Clicked(control);
        break;
    default:
        break;
    }
}

SelectorBox& Form1Window::SelectorOf(Control control)
{
    return selectors_[control == Control::ComboBox1 ? 0 : 1];
}

}  // namespace kvorn
