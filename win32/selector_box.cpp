#include "selector_box.h"

#include "display_scale.h"
#include "edit_selection.h"
#include "form_description.h"
#include "keystroke_rule.h"
#include "subclass.h"
#include "wide_text.h"

namespace kvorn {

namespace {

// False where the box has no such item.
bool ListItemText(HWND box, WPARAM index, std::wstring& text)
{
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return false;
    text.assign(std::size_t(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, index, LPARAM(text.data()));
    text.resize(std::size_t(length));
    return true;
}

// The item whose text is `text`: the box's search ignores case, this does not.
LRESULT ExactItem(HWND box, const std::wstring& text)
{
    const LRESULT item = SendMessageW(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str()));
    std::wstring listed;
    return item != CB_ERR && ListItemText(box, WPARAM(item), listed) && listed == text ? item : CB_ERR;
}

}  // namespace

void SelectorBox::Attach(HWND box, HWND owner, TForm1& form, Control id)
{
    box_ = box;
    owner_ = owner;
    id_ = WPARAM(id);
    changed_ = [&form, id] { form.Changed(id); };
    Subclass(box, SelectorStepSubclass, StepProc, DWORD_PTR(this));
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof parts;
    if (GetComboBoxInfo(box, &parts) && parts.hwndItem) {
        AttachKeystrokeRule(parts.hwndItem, form, id);
        AttachEditSelection(parts.hwndItem, true);
        Subclass(parts.hwndItem, SelectorStepSubclass, StepProc, DWORD_PTR(this));
    }
    SetText(Widen(Describe(id).Text));
}

void SelectorBox::Fill()
{
    if (filled_)
        return;
    filled_ = true;
    for (std::string_view item : ListItems(Control(id_)))
        SendMessageW(box_, CB_ADDSTRING, 0, LPARAM(Widen(item).c_str()));
    // A listed text's item selected, now that there is a list. Any other
    // text (the placeholder) is left as it is: set again, it would lose the
    // selection the box gave it on its first focus, and a first paste would
    // go in before it.
    const std::wstring text = WindowText(box_);
    if (ExactItem(box_, text) != CB_ERR)
        SetText(text);
}

void SelectorBox::Place(const RECT& field, HFONT font, int dpi)
{
    const int fieldHeight = field.bottom - field.top;
    // Made at its place, its open list below it: left there.
    if (!StandsAt(box_, field))
        SetWindowPos(box_, nullptr, field.left, field.top, field.right - field.left, BoxHeight(field, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    // The face goes to the text part and the list, not to the box, which
    // would measure its field anew for it (and take two corrections more).
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof parts;
    if (GetComboBoxInfo(box_, &parts)) {
        SendMessageW(parts.hwndItem, WM_SETFONT, WPARAM(font), IsWindowVisible(box_));
        SendMessageW(parts.hwndList, WM_SETFONT, WPARAM(font), FALSE);
    }
    SendMessageW(box_, CB_SETITEMHEIGHT, 0, LPARAM(ItemHeight(dpi)));
    // How the field's height adds up to the box's differs between Windows
    // versions (and Wine): measure and correct.
    LRESULT height = SendMessageW(box_, CB_GETITEMHEIGHT, WPARAM(-1), 0);
    for (int attempt = 0; height != CB_ERR && attempt < 4; ++attempt) {
        RECT shown;
        GetWindowRect(box_, &shown);
        const int missing = fieldHeight - (shown.bottom - shown.top);
        if (missing == 0)
            break;
        height += missing;
        SendMessageW(box_, CB_SETITEMHEIGHT, WPARAM(-1), height);
    }
}

UINT SelectorBox::ItemHeight(int dpi) { return UINT(Scaled(ListItemHeight, dpi)); }

// A combo box's height includes its open list.
int SelectorBox::BoxHeight(const RECT& field, int dpi)
{
    return int(field.bottom - field.top) + ListVisibleItems * int(ItemHeight(dpi)) + 2;
}

void SelectorBox::DrawItem(const DRAWITEMSTRUCT& item, int dpi)
{
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    std::wstring text;
    if (item.itemID == UINT(-1) || !ListItemText(item.hwndItem, item.itemID, text))
        return;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT bounds = item.rcItem;
    bounds.left += Scaled(2, dpi);
    DrawTextW(item.hDC, text.c_str(), int(text.size()), &bounds, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

void SelectorBox::SetText(const std::wstring& text)
{
    settingText_ = true;
    // A listed text selects its item, so that the list opens there and the
    // arrow keys go on from it.
    const LRESULT item = ExactItem(box_, text);
    current_ = item == CB_ERR ? -1 : item;
    SendMessageW(box_, CB_SETCURSEL, WPARAM(current_), 0);
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
        picked_ = movedInList_ = false;
        textAtDrop_ = WindowText(box_);
        PostMessageW(owner_, DroppedMessage, id_, 0);
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
        movedInList_ = movedInList_ || dropped_;
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
        movedInList_ = movedInList_ || dropped_;
        Report();
        break;
    }
}

void SelectorBox::Posted(UINT message)
{
    if (message == DroppedMessage) {
        if (dropped_)
            KeepTextAtDrop();
        return;
    }
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
    } else if (!movedInList_) {
        KeepTextAtDrop();
        SendMessageW(box_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));  // selected whole, as the box leaves an item's
    } else if (WindowText(box_) != textAtDrop_) {
        Report();
    }
}

// The arrow keys and the wheel step through the list from the item picked
// last, to the first where none is, however the text was edited since:
// Wine's box would go on from an item whose text the program has replaced,
// or from none once the user edits, and its edit would keep the wheel. Windows
// sends the wheel to the window under the pointer where the user lets it
// scroll inactive windows: there a box without the focus passes it on.
LRESULT SelectorBox::StepProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data)
{
    SelectorBox& selector = *reinterpret_cast<SelectorBox*>(data);
    const auto closed = [&] { return !SendMessageW(selector.box_, CB_GETDROPPEDSTATE, 0, 0); };
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && window != selector.box_ && closed()) {
        selector.Step(wParam == VK_DOWN ? 1 : -1);
        return 0;
    }
    if (message == WM_MOUSEWHEEL && closed()) {
        const HWND focus = GetFocus();
        if (focus != selector.box_ && GetParent(focus) != selector.box_)
            return SendMessageW(selector.owner_, message, wParam, lParam);
        selector.Step(GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : -1);
        return 0;
    }
    return CallUnder(SelectorStepSubclass, window, message, wParam, lParam);
}

void SelectorBox::Step(int by)
{
    const LRESULT next = current_ < 0 ? (by > 0 ? 0 : -1) : current_ + by;
    if (next < 0 || next >= SendMessageW(box_, CB_GETCOUNT, 0, 0))
        return;
    current_ = next;
    SendMessageW(box_, CB_SETCURSEL, WPARAM(next), 0);
    SendMessageW(box_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Report();
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
    current_ = index;
    std::wstring item;
    if (!ListItemText(box_, WPARAM(index), item))
        return;
    if (WindowText(box_) != item) {
        settingText_ = true;
        SetWindowTextW(box_, item.c_str());
        settingText_ = false;
    }
}

// Opening the list, the box highlights the first item the text begins
// with, and puts that item's text in, at once or on Escape: "Бриг" would
// open on "Бригантина" and be "Бригантина" after Escape. The list opens on
// the text's own item, or on none, and closed with nothing picked, moved or
// typed, it leaves the text as it was.
void SelectorBox::KeepTextAtDrop()
{
    const LRESULT item = ExactItem(box_, textAtDrop_);
    if (WindowText(box_) == textAtDrop_ && SendMessageW(box_, CB_GETCURSEL, 0, 0) == item)
        return;
    settingText_ = true;
    SendMessageW(box_, CB_SETCURSEL, WPARAM(item), 0);
    if (WindowText(box_) != textAtDrop_)
        SetWindowTextW(box_, textAtDrop_.c_str());
    settingText_ = false;
}

}  // namespace kvorn
