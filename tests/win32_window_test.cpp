// The Win32 window, run for real under Wine and driven as a user drives it
// (win32_input.h). Its behaviour is checked against the form's own: random,
// seeded sequences of user steps, after each of which the window must show
// what a plain model of its edits around the toolkit-free TForm1 expects.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "application.h"
#include "described_font.h"
#include "described_window.h"
#include "form1_window.h"
#include "form_description.h"
#include "form_model.h"
#include "resource_ids.h"
#include "result_fit.h"
#include "wide_text.h"
#include "win32_input.h"
#include "window_ids.h"
#include "window_menu.h"
#include "worked_ships.h"

using namespace kvorn;
using namespace kvorn::testing;

namespace {

namespace model = kvorn::test;

RECT Rect(const model::DescribedRect& r, POINT at = {})
{
    return {at.x + r.Left, at.y + r.Top, at.x + r.Left + r.Width, at.y + r.Top + r.Height};
}

// The faces each scale's checks draw in, made once.
DescribedFonts fonts;

bool IsSelector(Control c) { return c == Control::ComboBox1 || c == Control::ComboBox2; }

// What Windows does where the platforms legitimately differ.
constexpr model::Platform Windows = {
    .MiddleClickPastesPrimary = false, .SelectorSelectsItsText = true, .ArrowsMoveFromTheCaret = true,
    .ProgramTextPutsTheCaretFirst = true, .ControlArrowsStepTheList = true, .EscapeKeepsTheListsText = true};

// What of the window a user can see: the texts, the focused edit's
// selection (from its lower end to its higher), the focus while the window
// is active, the result, the boxes and the tip.
model::Expected Visible(model::Expected e)
{
    for (std::size_t i = 0; i < e.Edits.size(); ++i) {
        model::Field& f = e.Edits[i];
        const bool shown = e.Active && e.Focus == Control(int(Control::Edit1) + int(i));
        const int from = std::min(f.Caret, f.Anchor), to = std::max(f.Caret, f.Anchor);
        f.Anchor = shown ? from : 0;
        f.Caret = shown ? to : 0;
    }
    if (!e.Active)
        e.Focus = Control::Image1;
    if (e.Tip) {  // a tooltip holds 1023 characters, its line ends CR LF
        std::wstring tip;
        std::size_t held = 0;
        for (wchar_t c : Widen(*e.Tip))
            if ((held += c == L'\n' ? 2 : 1) <= 1023)
                tip += c;
        e.Tip = Narrow(tip);
    }
    return e;
}

// An open popup menu, looked at from a timer that its loop runs; then the
// item `menuChoice` chosen with the keys (Escape when negative).
struct SeenMenu {
    std::vector<std::string> items;
    std::vector<bool> offered;
    RECT frame = {};
    POINT clicked = {};  // where a right click opened it
    int turns = 0;
};
SeenMenu seenMenu;
int menuChoice = -1;

void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    if (!seenMenu.items.empty()) {  // chosen but still open after many turns: closed, and said
        if (++seenMenu.turns < 25)
            return;
        seenMenu.items.push_back("(the menu did not take the click)");
        menuChoice = -1;
    } else {
        GetWindowRect(popup, &seenMenu.frame);
    }
    HMENU menu = HMENU(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu) && seenMenu.turns == 0; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
        seenMenu.items.push_back(Narrow(text));
        seenMenu.offered.push_back(!(GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_GRAYED));  // as drawn
    }
    RECT item = {};
    if (menuChoice >= 0 && GetMenuItemRect(nullptr, menu, UINT(menuChoice), &item)) {
        // Chosen with the button that opened it, as a right click's menu is.
        const POINT at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        INPUT click[3] = {MouseAt(at, 0), MouseAt(at, MOUSEEVENTF_RIGHTDOWN), MouseAt(at, MOUSEEVENTF_RIGHTUP)};
        SendInput(3, click, sizeof(INPUT));
        return;
    }
    KillTimer(nullptr, timer);
    Stroke(VK_ESCAPE);
}

// The width and height of what is drawn in `ink` in `height` rows from `top`,
// and where it starts.
std::array<int, 3> InkExtent(const Shot& shot, COLORREF ink, int top, int height)
{
    int left = shot.width, right = -1, first = height, last = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, top + y) == ink) {
                left = std::min(left, x), right = std::max(right, x);
                first = std::min(first, y), last = std::max(last, y);
            }
    return {right - left + 1, last - first + 1, left};
}

// How many of two as long pictures' pixels, or bytes, differ.
std::size_t Differing(const auto& shown, const auto& expected)
{
    return std::transform_reduce(shown.begin(), shown.end(), expected.begin(), std::size_t(0), std::plus<>(),
                                 std::not_equal_to<>());
}

int FromEnvironment(const char* name, int otherwise)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : otherwise;
}

class Win32Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<Form1Window>(GetModuleHandleW(nullptr), presenter);
        window->SetSeparatorSource([this] { return separator; });
        presenter.SetOwner(window->Handle());
        window->SetClosedHandler([this] { closed = true; });
        window->Show(SW_SHOWNORMAL);
        SetForegroundWindow(window->Handle());
        Pump(window->Handle());
        HDC screen = GetDC(nullptr);
        scale = systemScale = GetDeviceCaps(screen, LOGPIXELSY) / 96;
        percent = 100 * scale;
        ReleaseDC(nullptr, screen);
    }
    void TearDown() override { DestroyWindow(elsewhere); }
    HWND Form() const { return window->Handle(); }
    HWND Of(Control c) const { return window->ControlHandle(c); }
    POINT ScreenPoint(Control c, int x, int y) const
    {
        POINT point = {x, y};
        ClientToScreen(c == Control::Image1 ? Form() : Of(c), &point);
        return point;
    }
    void Press(WORD key, WORD modifier = 0) { kvorn::testing::Press(Form(), key, modifier); }
    Control Focused() const { return kvorn::testing::Focused(*window); }
    // One of two places from `from` to `to`, in turn: a click at the place
    // of the one before would make a double click.
    int Along(int from, int to) { return from + (to - from) * (1 + (clicks ^= 1)) / 3; }
    COMBOBOXINFO Parts(Control selector) const
    {
        COMBOBOXINFO parts = {};
        parts.cbSize = sizeof parts;
        GetComboBoxInfo(Of(selector), &parts);
        return parts;
    }

    // The open list as the user sees it: its rows at the display's scale,
    // the current one highlighted; then a click on the item, or Escape (see
    // the step's Item, which it sets to where Down moved the highlight).
    void PickByMouse(Control combo, int& item)
    {
        const COMBOBOXINFO parts = Parts(combo);
        ASSERT_TRUE(parts.hwndList);
        ClickAt(Form(), ScreenPoint(combo, (parts.rcButton.left + parts.rcButton.right) / 2,
                                    Along(parts.rcButton.top, parts.rcButton.bottom)));
        ASSERT_TRUE(PumpUntil(Form(), [&] { return IsWindowVisible(parts.hwndList); })) << "no list";
        const int count = int(ListItems(combo).size()), rows = std::min(count, model::DescribedListRows);
        const int rowHeight = model::DescribedRect::AtPercent(model::DescribedListItemHeight, percent);
        RECT list;
        GetClientRect(parts.hwndList, &list);
        EXPECT_EQ(list.bottom, rows * rowHeight) << "the open list's height";
        SCROLLBARINFO bar = {};  // shown where not every item is in view
        bar.cbSize = sizeof bar;
        EXPECT_EQ(GetScrollBarInfo(parts.hwndList, OBJID_VSCROLL, &bar) && !(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE),
                  count > rows) << "the open list's scroll bar, " << count << " items";
        SendMessageW(parts.hwndList, LB_SETTOPINDEX, WPARAM(std::max(0, item - rows + 1)), 0);
        RECT at = {};
        SendMessageW(parts.hwndList, LB_GETITEMRECT, WPARAM(std::max(0, item)), LPARAM(&at));
        POINT over = {(at.left + at.right) / 2, (at.top + at.bottom) / 2};
        ClientToScreen(parts.hwndList, &over);
        if (item >= 0) {
            INPUT move = MouseAt(over, 0);
            SendInput(1, &move, sizeof move);
        }
        Pump(Form());
        UpdateWindow(parts.hwndList);
        const int top = int(SendMessageW(parts.hwndList, LB_GETTOPINDEX, 0, 0));
        const int current = int(SendMessageW(parts.hwndList, LB_GETCURSEL, 0, 0));
        const Shot shown = Capture(parts.hwndList, list);
        const HFONT face = fonts.For(kvorn::Describe(combo).Font, 96 * percent / 100);
        for (int row = 0; row < rows; ++row) {
            const COLORREF expected = GetSysColor(top + row == current ? COLOR_HIGHLIGHT : COLOR_WINDOW);
            EXPECT_EQ(shown.At(list.right - 3 * scale, row * rowHeight + 2 * scale), expected)
                << "row " << row << " of the open list, item " << current << " current";
            // The item's text, in the colour its background asks for and
            // in the described face: its ink as wide and as high as the
            // item drawn so.
            const COLORREF text = GetSysColor(top + row == current ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
            const std::wstring item = Widen(ListItems(combo)[std::size_t(top + row)]);
            const Shot drawn = Drawn(list.right, rowHeight, [&](HDC dc) {
                const RECT all = {0, 0, list.right, rowHeight};
                FillRect(dc, &all, GetSysColorBrush(top + row == current ? COLOR_HIGHLIGHT : COLOR_WINDOW));
                SelectObject(dc, face);
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, text);
                RECT at = all;
                DrawTextW(dc, item.c_str(), int(item.size()), &at, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            });
            const auto seen = InkExtent(shown, text, row * rowHeight, rowHeight);
            const auto ink = InkExtent(drawn, text, 0, rowHeight);
            EXPECT_TRUE(seen[0] == ink[0] && seen[1] == ink[1]) << "the text of row " << row << " of the open list";
            indents[percent] = seen[2] - ink[2];
        }
        TypeCharacter(Form(), combo == Control::ComboBox1 ? L'Ш' : L'4');  // into the open list: it moves nothing
        Pump(Form());
        EXPECT_EQ(SendMessageW(parts.hwndList, LB_GETCURSEL, 0, 0), current) << "a character typed into the open list";
        if (item >= 0) {  // a click: after Enter, Wine's box leaves its text unselected, unlike the model
            // The arrow keys move the highlight alone: nothing is picked before the list closes.
            const std::string result = window->Text(Control::Label1);
            for (WORD key : {VK_UP, VK_DOWN}) {
                Press(key);
                EXPECT_EQ(window->Text(Control::Label1), result) << "an arrow key in the open list";
            }
            SendMessageW(parts.hwndList, LB_SETTOPINDEX, WPARAM(top), 0);
            ClickAt(Form(), over);
        } else {
            if (item < -1 && current + 1 < count)
                Press(VK_DOWN);
            const int moved = int(SendMessageW(parts.hwndList, LB_GETCURSEL, 0, 0));
            item = moved != current ? -2 - moved : -1;
            Press(VK_ESCAPE);
            EXPECT_TRUE(PumpUntil(Form(), [&] { return !IsWindowVisible(parts.hwndList); })) << "Escape left the list open";
        }
    }

    // The menu a right click at `point` opens, `choice` chosen.
    SeenMenu RightClick(POINT point, int choice, int tries = 100)
    {
        INPUT click[2] = {MouseAt(point, MOUSEEVENTF_RIGHTDOWN), MouseAt(point, MOUSEEVENTF_RIGHTUP)};
        SeenMenu seen = Menu([&] { SendInput(2, click, sizeof(INPUT)); }, choice, tries);
        seen.clicked = point;
        return seen;
    }

    // Another program's window, beside the form, to switch to and back.
    HWND Elsewhere()
    {
        if (!elsewhere) {
            elsewhere = CreateWindowExW(0, L"EDIT", L"Elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                        300, 150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            Pump(Form());
        }
        return elsewhere;
    }

    // Opens a menu with `open`, looks at it from a timer its loop runs and
    // chooses `choice` (Escape when negative); none when it has not come in
    // `tries` rounds of the window's messages.
    template <class Open>
    SeenMenu Menu(Open&& open, int choice, int tries = 100)
    {
        seenMenu = {};
        menuChoice = choice;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtMenu);
        open();
        PumpUntil(Form(), [] { return !seenMenu.items.empty(); }, tries);
        Pump(Form());
        KillTimer(nullptr, timer);
        return seenMenu;
    }
    // Takes the step as the window system does; a click's place becomes
    // the place in the text it hits.
    void Perform(model::Step& s);
    model::Expected Look();
    void CheckResultDrawn(const std::wstring& label);
    void ExpectLaidOut(int percent, POINT corner);
    void RunSequence(unsigned seed, int steps, std::vector<model::Step> first);

    SeeingPresenter presenter;
    char32_t separator = U',';
    bool closed = false;
    int scale = 1;        // the window's, in whole times
    int percent = 100;    // the window's
    std::map<int, int> indents;  // the open list's text, by the scale in percent
    int systemScale = 1;  // the system's, which the tip's face follows
    HWND elsewhere = nullptr;
    std::optional<std::string> tipSeen;  // after the pointer rested on the result
    std::optional<std::string> menuSeen;  // after the window's menu: what it offered, then the clipboard
    std::map<std::string, Shot> buttonLooks;  // by button and state
    int clicks = 0;
    std::unique_ptr<Form1Window> window;
};

void Win32Window::Perform(model::Step& s)
{
    using model::StepKind;
    switch (s.Kind) {
    case StepKind::Type:
        if (s.Character == 8 || s.Character == 13 || s.Character == 27)
            Press(s.Character == 8 ? VK_BACK : s.Character == 13 ? VK_RETURN : VK_ESCAPE);
        else
            TypeCharacter(Form(), wchar_t(s.Character));
        break;
    case StepKind::Tab: Press(VK_TAB, s.Shift ? VK_SHIFT : 0); break;
    case StepKind::Delete: Press(VK_DELETE); break;
    case StepKind::Left: case StepKind::Right: case StepKind::Home: case StepKind::End: {
        const WORD keys[] = {VK_LEFT, VK_RIGHT, VK_HOME, VK_END};
        Press(keys[int(s.Kind) - int(StepKind::Left)], s.Shift ? VK_SHIFT : 0);
        break;
    }
    case StepKind::ListKey: Press(s.Item > 0 ? VK_DOWN : VK_UP, std::abs(s.Item) > 1 ? VK_CONTROL : 0); break;
    case StepKind::MousePick: PickByMouse(s.Target, s.Item); break;
    case StepKind::Wheel: WheelAt(Form(), ScreenPoint(s.Target, 20 * scale, 12 * scale), s.Item); break;
    case StepKind::Paste:
        SetClipboardText(Form(), s.Clipboard);
        Press(VK_INSERT, VK_SHIFT);
        break;
    case StepKind::MiddleClick:
        SetClipboardText(Form(), s.Clipboard);
        [[fallthrough]];
    case StepKind::LeftClick: {
        const HWND edit = IsSelector(s.Target) ? Parts(s.Target).hwndItem : Of(s.Target);
        RECT text;
        GetClientRect(edit, &text);
        // At the start of what it shows, or past its end. The step is what
        // the click means: the place in the text it hits.
        POINT at = {s.Item == 0 ? text.left + 1 * scale : text.right - 3 * scale, Along(text.top, text.bottom)};
        s.Item = LOWORD(SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(at.x, at.y)));
        ClientToScreen(edit, &at);
        const bool middle = s.Kind == StepKind::MiddleClick;
        if (s.Shift)
            Key(VK_SHIFT, true);
        ClickAt(Form(), at, middle ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_LEFTDOWN,
                middle ? MOUSEEVENTF_MIDDLEUP : MOUSEEVENTF_LEFTUP);
        if (s.Shift)
            Key(VK_SHIFT, false);
        break;
    }
    case StepKind::ContextMenu: {
        if (s.Item >= 0) {
            EXPECT_FALSE(RightClick(ScreenPoint(s.Target, 10 * scale, 10 * scale), -1).items.empty())
                << "no context menu";
            break;
        }
        RECT box;
        GetWindowRect(Of(s.Target), &box);
        // A menu comes within the click's own messages; none may, so no long wait.
        EXPECT_NE(RightClick({box.right - 6 * scale, (box.top + box.bottom) / 2}, -1, 3).items,
                  model::DescribedWindowMenu)
            << "the window's menu over a field";
        break;
    }
    case StepKind::SwitchAway: {
        RECT other;
        GetWindowRect(Elsewhere(), &other);
        ClickAt(Form(), {(other.left + other.right) / 2, (other.top + other.bottom) / 2});
        break;
    }
    case StepKind::SwitchBack: ClickAt(Form(), ScreenPoint(Control::Image1, 3 * scale, 100 * scale)); break;
    case StepKind::Regional: {  // as Windows tells its windows
        separator = separator == U',' ? U'.' : U',';
        static wchar_t intl[] = L"intl";
        SendMessageW(Form(), WM_SETTINGCHANGE, 0, LPARAM(intl));
        break;
    }
    case StepKind::Clear: {
        RECT button;
        GetWindowRect(Of(Control::BitBtn1), &button);
        const POINT at = {Along(button.left, button.right), button.top + 9 * scale};
        if (s.Item == 0) {
            ClickAt(Form(), at);
        } else {  // held down, it looks pressed; released over the picture
            POINT away = {3 * scale, 150 * scale};
            ClientToScreen(Form(), &away);
            window->Focus(Control::BitBtn1);  // as the press will
            Pump(Form());
            const RECT face = {0, 0, button.right - button.left, button.bottom - button.top};
            const Shot up = Capture(Of(Control::BitBtn1), face);
            INPUT input[3] = {MouseAt(at, MOUSEEVENTF_LEFTDOWN), MouseAt(away, 0), MouseAt(away, MOUSEEVENTF_LEFTUP)};
            SendInput(1, input, sizeof(INPUT));
            Pump(Form());
            const Shot held = Capture(Of(Control::BitBtn1), face);
            EXPECT_FALSE(held == up) << "Clear looks the same held down as not";
            int sunk = 0, unmoved = 0;  // the picture sinks in: down and right
            for (int y = 5; y < held.height - 5; ++y)
                for (int x = 5; x < held.width - 5; ++x) {
                    sunk += held.At(x, y) == up.At(x - 1, y - 1);
                    unmoved += held.At(x, y) == up.At(x, y);
                }
            EXPECT_GT(sunk, unmoved) << "Clear's picture held down, pixels as moved down and right against not";
            SendInput(2, input + 1, sizeof(INPUT));
            Pump(Form());
        }
        break;
    }
    case StepKind::WindowMenu:
    case StepKind::MenuKey: {
        const Control at = Focused();
        static const UINT older = RegisterClipboardFormatW(L"an older copy");  // another program's, which a copy clears
        SetClipboardText(Form(), s.Clipboard);
        if (OpenClipboard(Form())) {
            SetClipboardData(older, GlobalAlloc(GMEM_MOVEABLE, 1));
            CloseClipboard();
        }
        const Geometry& on = Describe(s.Target).Bounds;
        const POINT point = ScreenPoint(Control::Image1, (on.Left + 5) * scale, (on.Top + on.Height / 2) * scale);
        const SeenMenu menu = s.Kind == StepKind::WindowMenu
                                  ? RightClick(point, s.Item)
                                  : Menu([&] { s.Shift ? Press(VK_F10, VK_SHIFT) : Press(VK_APPS); }, -1);
        EXPECT_TRUE(OpenClipboard(Elsewhere()) && CloseClipboard()) << "the clipboard left open for other programs";
        menuSeen = menu.items.empty() ? "no menu" : "its own";
        if (menu.items == model::DescribedWindowMenu) {
            RECT control;
            GetWindowRect(Of(at), &control);
            // From the keys under its control, from the mouse at the pointer.
            const POINT wanted = s.Kind == StepKind::WindowMenu ? menu.clicked : POINT{control.left, control.bottom};
            EXPECT_TRUE(menu.frame.left == wanted.x && menu.frame.top == wanted.y)
                << "the window's menu is not where it was opened, " << Describe(at).Name << " focused";
            menuSeen = "";
            for (bool offered : menu.offered)
                *menuSeen += offered ? "+" : "-";
            *menuSeen += " " + ClipboardText(Form());
            if (s.Kind == StepKind::WindowMenu && ClipboardText(Form()) != s.Clipboard &&
                IsClipboardFormatAvailable(older))
                *menuSeen += " (beside an older copy)";
        }
        break;
    }
    case StepKind::RestOnResult: {
        // A tip stays where it rose, and a pick from the caliber's list can
        // leave the pointer resting on the result: it comes from off it.
        const auto offTheResult = [&] {
            INPUT away = MouseAt(ScreenPoint(Control::Image1, 3 * scale, 100 * scale), 0);
            SendInput(1, &away, sizeof away);
            return PumpUntil(Form(), [] { return !VisibleWindowOf(L"tooltips_class32"); });
        };
        EXPECT_TRUE(offTheResult()) << "a tip off the result";
        RECT label = Rect(model::DescribedControlOf(Control::Label1).Bounds.At(percent));
        MapWindowPoints(Form(), nullptr, reinterpret_cast<POINT*>(&label), 2);
        const POINT at = {Along(label.left, label.right), (label.top + label.bottom) / 2};
        INPUT move = MouseAt(at, 0);
        SendInput(1, &move, sizeof move);
        HWND tip = nullptr;
        PumpUntil(Form(), [&] { return (tip = VisibleWindowOf(L"tooltips_class32")) != nullptr; }, 60);
        tipSeen = tip ? Narrow(WindowText(tip)) : "";
        std::erase(*tipSeen, '\r');
        if (tip) {  // one line a row; under the pointer, or over it, from where it is
            RECT bounds;
            GetWindowRect(tip, &bounds);
            EXPECT_GT(bounds.bottom - bounds.top, 9 * 13 * systemScale) << *tipSeen;  // in the system's face
            RECT inside;
            GetClientRect(tip, &inside);
            std::istringstream rows(*tipSeen);  // a row no wider than the window shows whole
            for (std::string row; std::getline(rows, row);) {
                if (const int wide = TextRoom(tip, Widen(row)).right; wide <= 196 * scale) {
                    EXPECT_GE(inside.right, wide) << "a row of the tip wrapped: " << row;
                }
            }
            EXPECT_GE(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000) << "the tip stays long enough to read";
            MONITORINFO screen = {};
            screen.cbSize = sizeof screen;
            GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &screen);
            EXPECT_TRUE((std::abs(bounds.left - at.x) <= 2 * scale || bounds.right >= screen.rcMonitor.right - 1) &&
                        ((bounds.top >= at.y && bounds.top <= at.y + 40 * scale) ||
                         (bounds.bottom <= at.y && bounds.bottom >= at.y - 40 * scale)))
                << "the tip at " << bounds.left << "," << bounds.top << ", the pointer at " << at.x << "," << at.y;
        }
        EXPECT_TRUE(offTheResult()) << "a tip off the result";
        break;
    }
    }
    Pump(Form());
}

model::Expected Win32Window::Look()
{
    model::Expected seen;
    for (std::size_t i = 0; i < seen.Edits.size(); ++i) {
        HWND edit = Of(Control(int(Control::Edit1) + int(i)));
        DWORD from = 0, to = 0;
        SendMessageW(edit, EM_GETSEL, WPARAM(&from), LPARAM(&to));
        const std::wstring text = WindowText(edit);
        seen.Edits[i] = {Narrow(text), int(to), int(from)};
        RECT room;  // a text that fits shows from its start, whatever was there before
        SendMessageW(edit, EM_GETRECT, 0, LPARAM(&room));
        EXPECT_TRUE(text.empty() || TextRoom(edit, text).right + 2 >= room.right - room.left ||
                    SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0) == 0)
            << seen.Edits[i].Text << " fits, yet starts out of view";
    }
    seen.Ship = Narrow(WindowText(Of(Control::ComboBox1)));
    seen.Caliber = Narrow(WindowText(Of(Control::ComboBox2)));
    seen.Focus = Focused();
    seen.Active = GetForegroundWindow() == Form();
    seen.Result = window->Text(Control::Label1);
    for (const SeenBox& box : presenter.seen) {
        // One button, the default one.
        const bool one = box.buttons.size() == 1 && box.buttons[0].ends_with("*");
        seen.Boxes.push_back({box.caption, box.text, box.icon ? model::BoxIcon::Stop : model::BoxIcon::None,
                              one ? box.buttons[0].substr(0, box.buttons[0].size() - 1) : "buttons, default none"});
        // Modal, and never under the always-on-top form; closed by its key.
        EXPECT_FALSE(box.ownerEnabled) << box.text;
        EXPECT_TRUE(box.closeButton && !box.resizable) << "a box without a close button, or resizable: " << box.text;
        EXPECT_FALSE(box.closedBy.ends_with("did not close it")) << box.closedBy << ": " << box.text;
        EXPECT_EQ(box.faces, std::set<std::string>{MessageFace()})
            << "the text and the buttons in the system's face for boxes: " << box.text;
        EXPECT_TRUE(box.textFits) << "the text cut: " << box.text;
        if (!box.icon) {  // the program's own box: its button centred, as far from the foot as the text from the top
            EXPECT_TRUE(!box.ownerTopmost && box.centred && box.buttonsCentred) << box.text;
            EXPECT_EQ(box.underButton, box.aboveText) << "room under the button: " << box.text;
            EXPECT_LE(box.inkFrom, 3) << "the text starts so far in: " << box.text;
            // Sized as Windows sizes a dialog, at any scale: a button of 50
            // by 14 dialog units of its face, margins of 7, within a fifth.
            const auto units = [](double pixels, long unit, double described) {
                return std::abs(pixels / double(unit) - described) <= described / 5; };
            EXPECT_TRUE(units(box.button.cx * 4, box.unit.cx, 50) && units(box.button.cy * 8, box.unit.cy, 14))
                << "a button of " << box.button.cx << " by " << box.button.cy << " px: " << box.text;
            EXPECT_TRUE(units(box.leftOfText * 4, box.unit.cx, 7) && units(box.aboveText * 8, box.unit.cy, 7) &&
                        box.rightOfText >= box.leftOfText)
                << "margins of " << box.leftOfText << ", " << box.aboveText << " and " << box.rightOfText << " px";
        }
    }
    presenter.seen.clear();
    seen.Tip = std::exchange(tipSeen, std::nullopt);
    seen.Menu = std::exchange(menuSeen, std::nullopt);
    // A button shows whether it has the focus (where the keyboard cues
    // show), and looks the same whenever it is in the same state.
    for (Control b : {Control::BitBtn1, Control::BitBtn2}) {
        HWND button = Of(b);
        UpdateWindow(button);
        RECT face;
        GetClientRect(button, &face);
        const Shot look = Capture(button, face);
        const bool focused = GetFocus() == button;
        const bool cues = !(SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
        const std::string state = std::string(Describe(b).Name) + (cues ? "" : " without cues");
        const auto same = buttonLooks.try_emplace(state + (focused ? " focused" : ""), look).first;
        EXPECT_TRUE(same->second == look) << state << " looks otherwise than before in the same state";
        const auto other = buttonLooks.find(state + (focused ? "" : " focused"));
        if (other == buttonLooks.end())
            continue;
        EXPECT_TRUE(!cues || !(other->second == look)) << state << " looks the same with the focus as without";
        const auto grey = [](COLORREF c) { return (GetRValue(c) * 11 + GetGValue(c) * 16 + GetBValue(c) * 5) / 32; };
        const auto apart = [&](int x, int y) { return std::abs(grey(look.At(x, y)) - grey(other->second.At(x, y))); };
        const double off = model::MeanChange(look.width, look.height, apart);
        EXPECT_TRUE(model::LongestRun(look.width, look.height, apart, 2) <= 2 * scale && off >= 64)
            << state << ": the focus mark is not a dotted frame 3 px in, " << off << " grey levels off the plaque";
    }
    // The form is back in front of ordinary windows, enabled, after every box.
    EXPECT_TRUE(GetWindowLongW(Form(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowEnabled(Form()));
    return Visible(seen);
}

// The result's band, pixel for pixel as the fitting rule has the result
// drawn in the described face, centred, on the picture.
void Win32Window::CheckResultDrawn(const std::wstring& label)
{
    static const DecodedJpeg picture = PictureResource(scale == 2 ? IDR_BACKGROUND + 20 : IDR_BACKGROUND);
    const ControlDescription& d = kvorn::Describe(Control::Label1);
    const RECT band = Rect(model::DescribedControlOf(Control::Label1).Bounds.At(100 * scale));
    const int width = band.right - band.left, height = band.bottom - band.top, dpi = 96 * scale;
    const Shot expected = Drawn(width, height, [&](HDC dc) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetPixel(dc, x, y, PictureAt(picture, band.left + x, band.top + y));
        if (label.empty())
            return;
        auto face = [&](int pixels) { return fonts.For({d.Font.Face, pixels, d.Font.Bold}, dpi); };
        const FittedResult fitted = FitResult(Narrow(label), d.Bounds.Width, d.Font.PixelHeight,
                                              [&](std::string_view text, int pixels) {
            SelectObject(dc, face(pixels));
            const std::wstring wide = Widen(text);
            SIZE size = {};
            GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
            return MulDiv(size.cx, 96, dpi);
        });
        SelectObject(dc, face(fitted.PixelHeight));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        RECT box = {0, 0, width, height};
        const std::wstring shown = Widen(fitted.Text);
        DrawTextW(dc, shown.c_str(), int(shown.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    });
    UpdateWindow(Form());
    const Shot shown = Capture(Form(), band);
    EXPECT_EQ(Differing(shown.pixels, expected.pixels), 0u)
        << "pixels of the result's band differ from \"" << Narrow(label) << "\" drawn";
}

// `first` steps, then random ones from `seed`: after each the window must
// show what the form and the model expect.
void Win32Window::RunSequence(unsigned seed, int steps, std::vector<model::Step> first)
{
    model::FormModel m(Windows);
    Elsewhere();
    SetForegroundWindow(Form());
    Pump(Form());
    const int scripted = int(first.size());
    model::StepGenerator next(seed, std::move(first));
    std::string done;
    for (int i = 0; i < scripted + steps; ++i) {
        model::Step step = next.Next(m);
        done += std::to_string(i) + ": " + model::DescribeStep(step) + "\n";
        if (std::getenv("KVORN_TRACE"))
            std::fprintf(stderr, "%d: %s\n", i, model::DescribeStep(step).c_str());
        Perform(step);
        m.Apply(step);
        const model::Expected seen = Look(), expected = Visible(m.State());
        if (std::getenv("KVORN_TRACE"))
            std::fprintf(stderr, "   %s\n", model::DescribeState(seen).c_str());
        const int replay = std::max(1, i + 1 - scripted);
        ASSERT_EQ(model::DescribeState(seen), model::DescribeState(expected))  // what the window shows, and should
            << "seed " << seed << " (KVORN_SEED=" << seed << " KVORN_STEPS=" << replay << " replays it), after\n"
            << done;
        CheckResultDrawn(Widen(expected.Result));
        for (std::size_t e = 0; e < expected.Edits.size(); ++e) {  // a selection shows only in the focused edit
            RECT edit;
            GetClientRect(Of(Control(int(Control::Edit1) + int(e))), &edit);
            const Shot shot = Capture(Of(Control(int(Control::Edit1) + int(e))), edit);
            EXPECT_EQ(std::count_if(shot.pixels.begin(), shot.pixels.end(), [](COLORREF c) {
                return c == GetSysColor(COLOR_HIGHLIGHT) || c == GetSysColor(COLOR_HIGHLIGHTTEXT); }) > 0,
                      expected.Edits[e].Anchor != expected.Edits[e].Caret) << "the selection drawn in Edit" << e + 1;
            EXPECT_GT(std::count(shot.pixels.begin(), shot.pixels.end(), GetSysColor(COLOR_BTNFACE)), shot.width * 4)
                << "Edit" << e + 1 << " on the button face";
        }
        ASSERT_FALSE(HasFailure()) << "seed " << seed << ", after\n" << done;
    }
    // The last steps: Enter on Exit closes the form, and Alt+F4 a new one,
    // though it has no window menu.
    window->Focus(Control::BitBtn2);
    Press(VK_RETURN);
    Pump(nullptr);
    EXPECT_TRUE(std::exchange(closed, false)) << "Enter on Exit";
    SetUp();
    Press(VK_F4, VK_MENU);
    Pump(nullptr);
    EXPECT_TRUE(closed) << "Alt+F4";
}

// The seldom steps, then a short random run. KVORN_SEED and KVORN_STEPS ask
// for another (an odd seed has no seldom steps).
TEST_F(Win32Window, AgreesWithTheFormOnRandomInput)
{
    const unsigned seed = unsigned(FromEnvironment("KVORN_SEED", 22));
    RunSequence(seed, FromEnvironment("KVORN_STEPS", 60), seed % 2 ? std::vector<model::Step>() : model::SeldomSteps());
}

// The window as described at `percent` with its client area's corner at
// `corner`: every control's place and size, the list items, the faces, the
// tab order, and the picture drawn for that scale where nothing covers it: between the
// scales it is drawn for, the next one above, scaled down smoothly.
void Win32Window::ExpectLaidOut(int percent, POINT corner)
{
    const model::DescribedRect client = model::DescribedWindow.At(percent);
    RECT bounds;
    GetWindowRect(Form(), &bounds);
    const RECT described = Rect({0, 0, client.Width, client.Height}, corner);
    EXPECT_TRUE(EqualRect(&bounds, &described)) << bounds.left << "," << bounds.top << " " << bounds.right;
    for (const model::DescribedControl& d : model::DescribedControls) {
        const model::DescribedRect r = d.Bounds.At(percent);
        const POINT middle = {corner.x + r.Left + r.Width / 2, corner.y + r.Top + r.Height / 2};
        if (!Of(d.Id)) {  // the picture and the labels are drawn by the window, and drag it
            EXPECT_EQ(SendMessageW(Form(), WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), HTCAPTION) << d.Name;
            continue;
        }
        const HWND under = WindowFromPoint(middle);  // a control takes its clicks
        EXPECT_TRUE(under == Of(d.Id) || IsChild(Of(d.Id), under)) << d.Name;
        RECT shown;
        GetWindowRect(Of(d.Id), &shown);
        const RECT described = Rect(r, corner);
        EXPECT_TRUE(EqualRect(&shown, &described)) << d.Name << " at " << shown.left << "," << shown.top;
        if (d.Id == Control::BitBtn1 || d.Id == Control::BitBtn2)
            continue;
        // What shows text, in its described face at the scale.
        const HWND text = IsSelector(d.Id) ? Parts(d.Id).hwndItem : Of(d.Id);
        LOGFONTW face = {};
        GetObjectW(HFONT(SendMessageW(text, WM_GETFONT, 0, 0)), sizeof face, &face);
        EXPECT_EQ(-face.lfHeight, model::DescribedRect::AtPercent(d.FontPixels, percent)) << d.Name;
        EXPECT_EQ(face.lfWeight >= FW_BOLD, d.Bold) << d.Name;
    }
    window->Focus(Control::ComboBox1);  // also after a move to another display, which places every child again
    for (Control stop : model::DescribedTabOrder) {
        EXPECT_EQ(Describe(Focused()).Name, Describe(stop).Name) << "tab order at " << percent;
        Press(VK_TAB);
    }
    const int drawnFor = percent <= 100 ? 100 : percent <= 150 ? 150 : 200;
    const DecodedJpeg picture = PictureResource(IDR_BACKGROUND + (drawnFor - 100) / 5);
    ASSERT_EQ(int(picture.Width), model::DescribedWindow.At(drawnFor).Width) << picture.Error;
    UpdateWindow(Form());
    const Shot shown = Capture(Form(), {0, 0, client.Width, client.Height});
    HDC screen = GetDC(nullptr);
    const bool paletted = GetDeviceCaps(screen, BITSPIXEL) <= 8;
    ReleaseDC(nullptr, screen);
    if (drawnFor == percent && paletted) {  // 256 colours: the picture's, dithered, over what no control covers
        double off[3] = {}, n = 0;
        int wrong = 0;  // pixels far from the picture's colour, but for the texts the form draws on it
        const RECT slash = Rect(model::DescribedControlOf(Control::Label2).Bounds.At(percent)),
                   result = Rect(model::DescribedControlOf(Control::Label1).Bounds.At(percent));
        for (int y = 0; y < client.Height; ++y)
            for (int x = 0; x < client.Width; ++x) {
                if (ChildWindowFromPointEx(Form(), {x, y}, CWP_SKIPINVISIBLE) != Form())
                    continue;
                n += 1;
                int distance = 0;
                for (int c = 0; c < 3; ++c) {
                    const int d = int(shown.At(x, y) >> 8 * c & 0xff) - int(PictureAt(picture, x, y) >> 8 * c & 0xff);
                    off[c] += d;
                    distance += std::abs(d);
                }
                wrong += distance > 192 && !PtInRect(&slash, {x, y}) && !PtInRect(&result, {x, y});
            }
        EXPECT_TRUE(std::all_of(off, off + 3, [n](double o) { return std::abs(o / n) < 16; }))
            << "red, green and blue off the picture's by " << off[0] / n << ", " << off[1] / n << ", " << off[2] / n;
        EXPECT_EQ(wrong, 0) << "pixels more than 192 levels off the picture's in all";
        return;
    }
    if (drawnFor == percent) {
        for (const POINT at : {POINT{3, 100}, POINT{192, 150}, POINT{100, 284}, POINT{20, 40}, POINT{60, 48}}) {
            const int x = at.x * percent / 100, y = at.y * percent / 100;
            EXPECT_EQ(shown.At(x, y), PictureAt(picture, x, y)) << at.x << "," << at.y << " at " << percent;
        }
        return;
    }
    const double off = model::LevelsOffTheMean(percent / 100.0, drawnFor / 100.0,
                                               [&](int x, int y) { return PictureAt(picture, x, y); },
                                               [&](int x, int y) { return shown.At(x, y); });
    EXPECT_LT(off, 5) << "levels off the picture's mean at " << percent;
}

// Laid out as described at the display's scale (this run's, and the runs at
// 200 % and on 256 colours), in the described place, its frame the client
// area's: no caption, no border; a box too. Its caption is the one the
// program's window is found by.
TEST_F(Win32Window, LaidOutAsDescribedAtTheDisplaysScale)
{
    const model::DescribedRect client = model::DescribedWindow.At(100 * scale);
    ExpectLaidOut(100 * scale, {client.Left, client.Top});
    // A face that is there keeps its width; only a missing one's stand-in is
    // narrowed (by how much, the whole-window references show).
    LOGFONTW own = {}, standIn = {};
    GetObjectW(fonts.For({"DejaVu Sans", 11, false}, 96 * scale), sizeof own, &own);
    GetObjectW(fonts.For({"Verdana", 11, false}, 96 * scale), sizeof standIn, &standIn);
    EXPECT_TRUE(own.lfWidth == 0 && standIn.lfWidth > 0) << own.lfWidth << " " << standIn.lfWidth;
    presenter.ShowMessage("Не вбран тип корабля: выберите его в списке над полями");  // as wide as the line
    presenter.ShowMessage("Да");  // one word: the box as wide as its caption needs
    ASSERT_EQ(presenter.seen.size(), 2u);
    EXPECT_TRUE(presenter.seen[0].spare >= 0 && presenter.seen[0].spare <= 4) << presenter.seen[0].spare;
    EXPECT_TRUE(presenter.seen[1].captionFits);
    // Dragged by its picture, it goes along with the pointer.
    RECT before, after;
    GetWindowRect(Form(), &before);
    const POINT from = ScreenPoint(Control::Image1, 60 * scale, 250 * scale), to = {from.x + 30, from.y + 20};
    INPUT drag[] = {MouseAt(from, 0), MouseAt(from, MOUSEEVENTF_LEFTDOWN), MouseAt(to, 0), MouseAt(to, MOUSEEVENTF_LEFTUP)};
    SendInput(4, drag, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil(Form(), [&] {
        GetWindowRect(Form(), &after);
        return after.left == before.left + 30 && after.top == before.top + 20;
    })) << "dragged from " << before.left << "," << before.top << " to " << after.left << "," << after.top;
}

// Dragged to a display at 200 %, Windows sends WM_DPICHANGED with the size
// it suggests at the place the window is: the window takes it and lays
// itself out at the new scale; back on the first display, as it was.
TEST_F(Win32Window, MovedToADisplayOfAnotherScale)
{
    const std::string_view manifest = ResourceBytes(1, MAKEINTRESOURCEW(24 /* RT_MANIFEST */));
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos) << manifest;

    for (model::Step& step : model::Entering(model::Frigate))
        Perform(step);
    SetWindowPos(window->Handle(), nullptr, 300, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // where the user dragged it
    for (const int dpi : {192, 144, 120, 96}) {
        scale = dpi / 96;
        percent = dpi * 100 / 96;
        RECT suggested = {300, 120, 300 + MulDiv(196, dpi, 96), 120 + MulDiv(317, dpi, 96)};
        SendMessageW(window->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        Pump(window->Handle());
        ExpectLaidOut(percent, {300, 120});
        int escaped = -1;
        PickByMouse(Control::ComboBox2, escaped);
        model::Step rest = model::KeyStep(model::StepKind::RestOnResult);
        Perform(rest);
        EXPECT_TRUE(tipSeen && !tipSeen->empty()) << "no tip over the result at " << dpi;
        tipSeen.reset();
    }
    for (const auto& [at, indent] : indents)  // the list's text set in as much more as the scale is
        EXPECT_NEAR(indent, indents.at(100) * at / 100.0, 1) << "the open list's text set in at " << at;
    scale = systemScale;
    percent = 100 * scale;
}

// Pictures as binary PPM, which ImageMagick shows.
std::string Ppm(const Shot& shot)
{
    std::string ppm = "P6\n" + std::to_string(shot.width) + " " + std::to_string(shot.height) + "\n255\n";
    for (COLORREF pixel : shot.pixels)
        ppm += {char(GetRValue(pixel)), char(GetGValue(pixel)), char(GetBValue(pixel))};
    return ppm;
}

// The whole window on the screen, pixel for pixel as it was when it was
// last looked at and found right. KVORN_WRITE_REFERENCES=1 writes new
// references after a deliberate change (look at them first).
TEST_F(Win32Window, LooksAsItShould)
{
    for (const char* state : {"start", "frigate", "long"}) {
        for (model::Step& step : model::ReferenceSteps(state))
            Perform(step);
        SetFocus(window->Handle());  // no caret: it blinks
        Pump(window->Handle());
        RECT bounds;
        GetWindowRect(window->Handle(), &bounds);
        const Shot shown = Capture(nullptr, bounds);
        const std::string reference = std::string(KVORN_REFERENCE_DIR "/win32-") + state + ".ppm", ppm = Ppm(shown);
        if (std::getenv("KVORN_WRITE_REFERENCES"))
            std::ofstream(reference, std::ios::binary) << ppm;
        std::ifstream file(reference, std::ios::binary);
        const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ASSERT_EQ(expected.size(), ppm.size()) << reference;
        const std::size_t differing = Differing(ppm, expected);
        if (differing)
            std::ofstream(std::string("win32-") + state + ".ppm", std::ios::binary) << ppm;  // to look at
        EXPECT_EQ(differing, 0u) << state << ": bytes of pixels differ from " << reference;
    }
    // Painting keeps nothing: a few hundred repaints leave the memory as it was.
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    for (int i = 0; i < 300; ++i)
        RedrawWindow(Form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.WorkingSetSize, before.WorkingSetSize + (8u << 20)) << "bytes after 300 repaints";
}

// The program itself, started as Windows starts it: its window shown in
// front of the others, where the description puts it; Exit ends it with 0.
TEST(Win32Program, StartsShownAndEndsWithExit)
{
    const char* program = std::getenv("KVORN_CALCULATOR");
    ASSERT_TRUE(program) << "KVORN_CALCULATOR names the program";
    std::wstring path = L"Z:" + Widen(program);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &started));
    WaitForInputIdle(started.hProcess, 30000);
    const HWND form = FindWindowW(nullptr, L"Кворн калькулятор v1.1.1 c12a");
    ASSERT_TRUE(form);
    RECT at;
    GetWindowRect(form, &at);
    EXPECT_TRUE(IsWindowVisible(form) && !IsIconic(form) && GetForegroundWindow() == form);
    EXPECT_EQ(at.left, model::DescribedWindow.Left);
    EXPECT_EQ(at.top, model::DescribedWindow.Top);
    // The pointer over the result makes its tip, before any box.
    const Geometry& result = Describe(Control::Label1).Bounds;
    for (int dx : {0, 3}) {
        INPUT move = MouseAt({at.left + result.Left + result.Width / 2 + dx, at.top + result.Top + 8}, 0);
        SendInput(1, &move, sizeof move);
    }
    EXPECT_TRUE(PumpUntil(nullptr, [&] {
        DWORD process = 0;
        for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr));)
            if (GetWindowThreadProcessId(tip, &process) && process == started.dwProcessId)
                return true;
        return false;
    })) << "no tip made over the result";
    // Its own message loop: Tab goes from field to field. Every figure typed
    // and the caliber picked, with no type: the box it shows is the form's,
    // which waits behind it, out of the always-on-top band, until closed,
    // and then back in it.
    const auto text = [form](Control c) {
        wchar_t buffer[64] = {};
        SendMessageW(GetDlgItem(form, IdOf(c)), WM_GETTEXT, 64, LPARAM(buffer));
        return Narrow(buffer);
    };
    for (Control field : {Control::Edit1, Control::Edit3, Control::Edit4, Control::Edit5, Control::Edit2,
                          Control::Edit6, Control::Edit7, Control::ComboBox2}) {
        Press(nullptr, VK_TAB);
        field == Control::ComboBox2 ? Press(nullptr, VK_DOWN) : TypeCharacter(nullptr, L'1');
        EXPECT_TRUE(PumpUntil(nullptr, [&] { return text(field).starts_with("1"); })) << Describe(field).Name;
    }
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil(nullptr, [&] { return (box = FindWindowW(L"#32770", nullptr)) != nullptr; }));
    EXPECT_EQ(GetWindow(box, GW_OWNER), form);
    EXPECT_FALSE(IsWindowEnabled(form) || (GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST));
    Press(nullptr, VK_RETURN);
    // The program puts it back once the box has gone, in its own time.
    EXPECT_TRUE(PumpUntil(nullptr, [&] {
        return !IsWindow(box) && IsWindowEnabled(form) && (GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
    }, 500)) << "the form not back in the always-on-top band after its box";
    const Geometry& exit = Describe(Control::BitBtn2).Bounds;
    ClickAt(nullptr, {at.left + exit.Left + exit.Width / 2, at.top + exit.Top + exit.Height / 2});
    DWORD code = 1;
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 30000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeProcess(started.hProcess, &code) && code == 0) << code;
    TerminateProcess(started.hProcess, 1);  // if it is still there
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
}

// As the program arranges them: the application's window, captioned with
// the application title, owns the form; minimising and restoring it from
// the taskbar takes the form along, and its Close closes the form.
TEST(Win32Application, TheTaskbarEntryIsTheApplications)
{
    // Made as the program makes them, with the user's decimal mark the comma.
    wchar_t mark[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, mark, 8);
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","));
    SeeingPresenter presenter;
    CalculatorWindows windows(GetModuleHandleW(nullptr), presenter);
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, mark);
    ApplicationWindow& application = windows.Application;
    Form1Window& form = windows.Form;
    bool closed = false;
    form.SetClosedHandler([&closed] { closed = true; });
    windows.Show(SW_SHOWNORMAL);
    Pump(form.Handle());
    form.Focus(Control::Edit3);
    for (wchar_t c : {L'1', L'.', L'5'})
        TypeCharacter(form.Handle(), c);
    EXPECT_EQ(form.Text(Control::Edit3), "1,5") << "the decimal mark as the user's settings have it at start";

    EXPECT_EQ(Narrow(WindowText(application.Handle())), "Kvorn calculator");
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), application.Handle());
    EXPECT_TRUE(IsWindowVisible(application.Handle()));
    RECT bounds;
    GetWindowRect(application.Handle(), &bounds);
    EXPECT_TRUE(bounds.right == bounds.left && bounds.bottom == bounds.top) << "the application's window has a size";
    EXPECT_TRUE(GetWindowLongW(application.Handle(), GWL_STYLE) & WS_MINIMIZEBOX) << "no Minimise on the taskbar";
    EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_STYLE) & WS_SYSMENU);  // no window menu on the picture
    EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    // The taskbar's and the form's icons: the ship's pictures, 32 by 32 and
    // the small one drawn for 16 by 16.
    for (const auto& [size, slot] : {std::pair{32, GCLP_HICON}, std::pair{16, GCLP_HICONSM}}) {
        const auto drawn = [size](HICON icon) {
            return Drawn(size, size, [=](HDC dc) { DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL); });
        };
        const HICON ship = HICON(LoadImageW(nullptr, Widen(KVORN_REFERENCE_DIR "/../../assets/ship.ico").c_str(),
                                            IMAGE_ICON, size, size, LR_LOADFROMFILE));
        ASSERT_TRUE(ship);
        for (HWND window : {application.Handle(), form.Handle()})
            EXPECT_TRUE(drawn(HICON(GetClassLongPtrW(window, slot))) == drawn(ship)) << "not the ship at " << size;
        DestroyIcon(ship);
    }

    SendMessageW(application.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump(form.Handle());
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    SendMessageW(application.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump(form.Handle());
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(IsIconic(form.Handle()));

    SendMessageW(application.Handle(), WM_CLOSE, 0, 0);
    Pump(nullptr);
    EXPECT_TRUE(closed);
    EXPECT_EQ(form.Handle(), nullptr);
}

}  // namespace
