#include "selector_box.h"

#include <commctrl.h>

namespace kvorn {

namespace {

constexpr UINT_PTR WheelSubclassId = 3;

std::wstring WindowText(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// Windows sends the wheel to the window under the pointer where the user
// lets it scroll inactive windows: there a box without the focus passes it on.
LRESULT CALLBACK WheelProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (message) {
    case WM_MOUSEWHEEL: {
        const HWND focus = GetFocus();
        if (focus != box && GetParent(focus) != box)
            return SendMessageW(GetParent(box), message, wParam, lParam);
        break;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, WheelProc, WheelSubclassId);
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void SelectorBox::Attach(HWND box, HWND owner, WPARAM id, std::function<void()> changed)
{
    box_ = box;
    owner_ = owner;
    id_ = id;
    changed_ = std::move(changed);
    SetWindowSubclass(box, WheelProc, WheelSubclassId, 0);
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof parts;
    if (GetComboBoxInfo(box, &parts) && parts.hwndItem)
        SetWindowSubclass(parts.hwndItem, WheelProc, WheelSubclassId, 0);
}

void SelectorBox::SetText(const std::wstring& text)
{
    settingText_ = true;
    // A listed text selects its item, so that the list opens there and the
    // arrow keys go on from it; the search ignores case, the check does not.
    LRESULT item = SendMessageW(box_, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str()));
    if (item != CB_ERR && SendMessageW(box_, CB_GETLBTEXTLEN, WPARAM(item), 0) == LRESULT(text.size())) {
        std::wstring listed(text.size() + 1, L'\0');
        SendMessageW(box_, CB_GETLBTEXT, WPARAM(item), LPARAM(listed.data()));
        listed.resize(text.size());
        if (listed != text)
            item = CB_ERR;
    } else {
        item = CB_ERR;
    }
    SendMessageW(box_, CB_SETCURSEL, WPARAM(item == CB_ERR ? -1 : item), 0);
    if (item == CB_ERR)
        SetWindowTextW(box_, text.c_str());
    settingText_ = false;
}

void SelectorBox::Notified(WORD code)
{
    if (settingText_)
        return;
    switch (code) {
    case CBN_DROPDOWN:
        dropped_ = true;
        picked_ = false;
        textAtDrop_ = WindowText(box_);
        break;
    case CBN_SELENDOK:
        if (dropped_ && SendMessageW(box_, CB_GETCURSEL, 0, 0) != CB_ERR)
            picked_ = true;
        break;
    case CBN_CLOSEUP:
        dropped_ = false;
        closePending_ = true;
        PostMessageW(owner_, ClosedMessage, id_, 0);
        break;
    case CBN_SELCHANGE:
        // While the list is open the highlight only moves, and a pick with
        // the mouse may announce itself after the list has closed (Wine does,
        // and Windows may): either way the closing reports it, once. On the
        // closed box the arrow keys pick.
        if (!dropped_ && !closePending_ && !pickPending_) {
            pickPending_ = true;
            PostMessageW(owner_, PickedMessage, id_, 0);
        }
        break;
    case CBN_EDITCHANGE:
        Report();
        break;
    }
}

void SelectorBox::Posted(UINT message)
{
    if (message == PickedMessage) {
        pickPending_ = false;
        SyncText();
        Report();
        return;
    }
    closePending_ = false;
    if (picked_) {
        picked_ = false;
        SyncText();
        Report();
    } else if (WindowText(box_) != textAtDrop_) {
        Report();
    }
}

void SelectorBox::Report()
{
    if (changed_ && IsWindow(box_))
        changed_();
}

void SelectorBox::SyncText()
{
    const LRESULT index = SendMessageW(box_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return;
    const LRESULT length = SendMessageW(box_, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length == CB_ERR)
        return;
    std::wstring item(std::size_t(length) + 1, L'\0');
    SendMessageW(box_, CB_GETLBTEXT, WPARAM(index), LPARAM(item.data()));
    item.resize(std::size_t(length));
    if (WindowText(box_) != item) {
        settingText_ = true;
        SetWindowTextW(box_, item.c_str());
        settingText_ = false;
    }
}

}  // namespace kvorn
