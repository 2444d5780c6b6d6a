#include "dialog_presenter.h"

#include <algorithm>
#include <string>

#include "display_scale.h"
#include "error_box_text.h"
#include "message_width.h"
#include "form_description.h"
#include "one_box_at_a_time.h"
#include "wide_text.h"

namespace kvorn {

namespace {

// At 96 dpi; scaled to the display's, as the message font is.
constexpr int Margin = 12;
constexpr int ButtonWidth = 75, ButtonHeight = 23;
constexpr int TextId = 100;

struct MessageDialog {
    std::wstring text;
    HFONT font = nullptr;
};

RECT MonitorWorkArea(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

SIZE TextSize(HWND dialog, HFONT font, const std::wstring& text, int widest)
{
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    RECT bounds = {0, 0, widest, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &bounds, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// Lays the dialog out around its text: one line where it fits in half the
// screen, wrapped beyond that, and wide enough for the caption.
void LayOut(HWND dialog, MessageDialog& message)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    message.font = CreateFontIndirectW(&metrics.lfMessageFont);
    HFONT captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);

    const int dpi = DpiOf(dialog);
    const int margin = Scaled(Margin, dpi), buttonWidth = Scaled(ButtonWidth, dpi),
              buttonHeight = Scaled(ButtonHeight, dpi);
    const RECT work = MonitorWorkArea(GetWindow(dialog, GW_OWNER) ? GetWindow(dialog, GW_OWNER) : dialog);
    const int screen = std::max<int>(400, work.right - work.left);
    const std::wstring title = Widen(ApplicationTitle);
    const SIZE caption = TextSize(dialog, captionFont, title, 10000);
    DeleteObject(captionFont);
    SIZE text = TextSize(dialog, message.font, message.text, MessageTextWidest(screen));
    const int textWidth = MessageTextWidth(text.cx, caption.cx - 2 * margin, screen);
    text = TextSize(dialog, message.font, message.text, textWidth);

    const int clientWidth = std::max(textWidth, buttonWidth) + 2 * margin;
    const int clientHeight = margin + int(text.cy) + margin + buttonHeight + margin;
    HWND label = CreateWindowExW(0, L"STATIC", message.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                 margin, margin, textWidth, text.cy, dialog, HMENU(INT_PTR(TextId)), nullptr, nullptr);
    HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                              (clientWidth - buttonWidth) / 2, margin + text.cy + margin, buttonWidth, buttonHeight,
                              dialog, HMENU(INT_PTR(IDOK)), nullptr, nullptr);
    SendMessageW(label, WM_SETFONT, WPARAM(message.font), FALSE);
    SendMessageW(ok, WM_SETFONT, WPARAM(message.font), FALSE);
    SetWindowTextW(dialog, title.c_str());

    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetFocus(ok);
}

INT_PTR CALLBACK MessageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        try {
            LayOut(dialog, *reinterpret_cast<MessageDialog*>(lParam));
        } catch (...) {
            EndDialog(dialog, IDCANCEL);
        }
        return FALSE;  // the focus is set
    case WM_COMMAND:
        // OK is the default button and the cancel button (Escape) alike.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDOK);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

// A dialog template with no controls: they are made to the text's measure.
struct alignas(DWORD) EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

}  // namespace

void DialogPresenter::ShowMessage(std::string_view text)
{
    const HWND owner = owner_;
    OneBoxAtATime(showing_, [&] {
        MessageDialog message;
        message.text = Widen(text);
        EmptyTemplate dialog = {};
        dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        dialog.header.cx = 100;
        dialog.header.cy = 40;
        // An always-on-top window would cover the dialog: it leaves the
        // always-on-top band while the dialog is open.
        const bool topmost = owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
        if (topmost)
            SetWindowPos(owner, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &dialog.header, owner, MessageProc, LPARAM(&message));
        if (topmost)
            SetWindowPos(owner, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (message.font)
            DeleteObject(message.font);
    });
}

void DialogPresenter::ShowError(std::string_view message)
{
    OneBoxAtATime(showing_, [&] {
        MessageBoxW(owner_, Widen(ErrorBoxText(message)).c_str(), Widen(ApplicationTitle).c_str(),
                    MB_OK | MB_ICONSTOP);
    });
}

}  // namespace kvorn
