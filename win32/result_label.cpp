#include "result_label.h"

#include <commctrl.h>

#include "result_fit.h"
#include "wide_text.h"

namespace kvorn {

void DrawResult(HDC dc, const RECT& bounds, const std::wstring& text, COLORREF colour, int describedHeight, int dpi,
                const std::function<HFONT(int pixelHeight)>& faceOf)
{
    if (text.empty())
        return;
    const HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    const FittedResult fitted =
        FitResult(Narrow(text), MulDiv(bounds.right - bounds.left, 96, dpi), describedHeight,
                  [&](std::string_view candidate, int height) {
            SelectObject(dc, faceOf(height));
            const std::wstring wide = Widen(candidate);
            SIZE size = {};
            GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
            return MulDiv(size.cx, 96, dpi);  // measured as the description measures
        });
    SelectObject(dc, faceOf(fitted.PixelHeight));
    SetTextColor(dc, colour);
    const std::wstring shown = Widen(fitted.Text);
    RECT box = bounds;
    DrawTextW(dc, shown.c_str(), int(shown.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

ResultTip::~ResultTip()
{
    if (tip_ && IsWindow(tip_))
        DestroyWindow(tip_);
}

void ResultTip::Attach(HWND owner, const RECT& bounds, Describer describer)
{
    owner_ = owner;
    bounds_ = bounds;
    describer_ = std::move(describer);
}

void ResultTip::Make()
{
    // The common controls are loaded here, not at start-up.
    using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initialise = reinterpret_cast<Initialise>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryW(L"comctl32.dll"), "InitCommonControlsEx")));
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    if (!initialise || !initialise(&classes))
        return;  // no tip: the label itself still shows the result
    // Not owned by the form: the form leaves and rejoins the always-on-top
    // band around each box, and an owned tooltip would keep it out.
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0,
                           0, nullptr, nullptr, nullptr, nullptr);
    if (!tip_)
        return;  // no tip: the label itself still shows the result
    TOOLINFOW tool = {};
    // The size common controls 5 take: without a manifest asking for
    // version 6 the whole structure's size is refused.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = 0;
    tool.hwnd = owner_;
    tool.uId = 1;
    tool.rect = bounds_;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, LPARAM(&tool));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);  // lines as the breakdown has them
    SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
}

void ResultTip::SetBounds(const RECT& bounds)
{
    bounds_ = bounds;
    if (!tip_)
        return;
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = owner_;
    tool.uId = 1;
    tool.rect = bounds;
    SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, LPARAM(&tool));
}

void ResultTip::PointerMoved(UINT message, LPARAM lParam)
{
    POINT at = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    if (message == WM_NCMOUSEMOVE)
        ScreenToClient(owner_, &at);
    if (!tip_ && !tried_ && PtInRect(&bounds_, at)) {
        tried_ = true;
        Make();
    }
    if (!tip_)
        return;
    MSG relayed = {owner_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y), DWORD(GetMessageTime()), {}};
    SendMessageW(tip_, TTM_RELAYEVENT, 0, LPARAM(&relayed));
}

bool ResultTip::Notified(const NMHDR& header)
{
    if (!tip_ || header.hwndFrom != tip_)
        return false;
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        text_ = describer_ ? Widen(describer_()) : std::wstring();
        // The tooltip control breaks lines at CR LF.
        std::wstring lines;
        for (wchar_t c : text_)
            lines += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
        text_ = std::move(lines);
        info.lpszText = text_.data();
        info.hinst = nullptr;
    }
    return true;
}

}  // namespace kvorn
