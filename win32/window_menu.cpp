#include "window_menu.h"

#include <cstring>

#include "tform1.h"
#include "wide_text.h"

namespace kvorn {

namespace {

bool IsButton(HWND control)
{
    wchar_t type[16] = {};
    GetClassNameW(control, type, 16);
    return lstrcmpiW(type, L"Button") == 0;
}

}  // namespace

bool OpenWindowMenu(HWND window, TForm1& form, HWND from, LPARAM at)
{
    if (from != window && !(IsChild(window, from) && IsButton(from)))
        return false;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return true;
    for (std::size_t i = 0; i < WindowMenuItems.size(); ++i) {
        const UINT state = form.Offers(WindowMenuItems[i].Command) ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu, MF_STRING | state, UINT_PTR(i + 1), Widen(WindowMenuItems[i].Text).c_str());
    }
    POINT place = {short(LOWORD(at)), short(HIWORD(at))};
    if (at == -1) {  // from the keyboard: under the control that has the focus
        RECT bounds;
        GetWindowRect(from, &bounds);
        place = {bounds.left, bounds.bottom};
    }
    // The command runs once the menu is gone, so that a box it shows is the
    // only thing on the screen.
    const int chosen = int(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, place.x, place.y, 0,
                                          window, nullptr));
    DestroyMenu(menu);
    if (chosen >= 1 && std::size_t(chosen) <= WindowMenuItems.size())
        form.Run(WindowMenuItems[std::size_t(chosen - 1)].Command);
    return true;
}

std::string ClipboardText(HWND owner)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner))
        return {};
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
        if (const auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Narrow(characters);
            GlobalUnlock(data);
        }
    CloseClipboard();
    return text;
}

void SetClipboardText(HWND owner, std::string_view text)
{
    const std::wstring wide = Widen(text);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!data)
        return;
    if (void* copy = GlobalLock(data)) {
        std::memcpy(copy, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(data);
    }
    if (!OpenClipboard(owner)) {
        GlobalFree(data);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, data))
        GlobalFree(data);  // still ours
    CloseClipboard();
}

}  // namespace kvorn
