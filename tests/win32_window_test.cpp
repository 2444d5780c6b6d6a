// The Win32 window, run for real under Wine: keys go in through SendInput,
// so the keyboard layout, the dialog manager (Tab, Enter) and the controls'
// own handling all take part, as for a user at a keyboard.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "application.h"
#include "form1_window.h"
#include "form_description.h"
#include "jpeg_decoder.h"
#include "message_presenter.h"
#include "resource_ids.h"
#include "score.h"
#include "ship_types.h"
#include "wide_text.h"

using namespace kvorn;

namespace {

struct RecordingPresenter : MessagePresenter {
    std::vector<std::string> messages, errors;
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void ShowError(std::string_view message) override { errors.emplace_back(message); }
};

void Pump(HWND window)
{
    // Injected input reaches the queue a little later: pump until it is quiet.
    for (int quiet = 0; quiet < 2;) {
        MSG message;
        bool any = false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (message.message != WM_QUIT)
                DispatchFor(IsWindow(window) ? window : nullptr, message);
        }
        quiet = any ? 0 : quiet + 1;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Key(WORD key, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = WORD(MapVirtualKeyW(key, 0 /* MAPVK_VK_TO_VSC */));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

WORD KeyOf(char c)
{
    switch (c) {
    case '.': return VK_OEM_PERIOD;
    case ',': return VK_OEM_COMMA;
    case '-': return VK_OEM_MINUS;
    case ' ': return VK_SPACE;
    default: return WORD(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
}

// What a part of a window shows, read back from the screen.
struct Shot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

Shot Capture(HWND window, const RECT& area)
{
    Shot shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, dc, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i, bgrx += 4)
        shot.pixels.push_back(RGB(bgrx[2], bgrx[1], bgrx[0]));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return shot;
}

COLORREF PictureAt(const DecodedJpeg& picture, int x, int y)
{
    const unsigned char* rgb = picture.Pixels.data() + (std::size_t(y) * picture.Width + std::size_t(x)) * 3;
    return RGB(rgb[0], rgb[1], rgb[2]);
}

// Pictures kept as binary PPM: simple to read and write here, and
// ImageMagick shows them.
bool WritePpm(const std::string& path, const Shot& shot)
{
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << shot.width << " " << shot.height << "\n255\n";
    for (COLORREF pixel : shot.pixels)
        file << char(GetRValue(pixel)) << char(GetGValue(pixel)) << char(GetBValue(pixel));
    return bool(file);
}

Shot ReadPpm(const std::string& path)
{
    Shot shot;
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int depth = 0;
    if (!(file >> magic >> shot.width >> shot.height >> depth) || magic != "P6" || depth != 255)
        return {};
    file.get();
    for (int i = 0; i < shot.width * shot.height; ++i) {
        unsigned char rgb[3] = {};
        if (!file.read(reinterpret_cast<char*>(rgb), 3))
            return {};
        shot.pixels.push_back(RGB(rgb[0], rgb[1], rgb[2]));
    }
    return shot;
}

void PutOnClipboard(HWND owner, const std::wstring& text)
{
    if (!OpenClipboard(owner))
        return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

class Win32Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<Form1Window>(GetModuleHandleW(nullptr), presenter);
        window->SetSeparatorSource([this] { return separator; });
        window->SetClosedHandler([this] { closed = true; });
        window->Show(SW_SHOWNORMAL);
        SetForegroundWindow(window->Handle());
        Pump(window->Handle());
    }

    void Press(WORD key, WORD modifier = 0)
    {
        if (modifier)
            Key(modifier, true);
        Key(key, true);
        Key(key, false);
        if (modifier)
            Key(modifier, false);
        Pump(window->Handle());
    }
    void Type(std::string_view keys)
    {
        for (char c : keys)
            Press(KeyOf(c));
    }
    // Tab from the ship type, then each figure into the next field.
    void TypeFigures(std::initializer_list<const char*> figures)
    {
        for (const char* keys : figures) {
            Press(VK_TAB);
            Type(keys);
        }
    }
    // A hull pasted with Shift+Insert, past the field's keystroke rule, 1 in
    // every other field and caliber 12.
    void EnterPastedHull(const char* hull)
    {
        PutOnClipboard(window->Handle(), Widen(hull));
        window->Focus(Control::Edit1);
        Press(VK_INSERT, VK_SHIFT);
        for (int field = 0; field < 6; ++field) {
            Press(VK_TAB);
            Type("1");
        }
        Pick(Control::ComboBox2, "12");
    }
    // As a user picks with the keyboard: open the list, go to the item, Enter.
    void Pick(Control combo, std::string_view item)
    {
        const std::vector<std::string_view> items = ListItems(combo);
        std::size_t index = 0;
        while (index < items.size() && items[index] != item)
            ++index;
        ASSERT_LT(index, items.size()) << item;
        window->Focus(combo);
        Press(VK_F4);
        HWND box = window->ControlHandle(combo);
        for (int step = 0; step < 40; ++step) {
            const LRESULT at = SendMessageW(box, CB_GETCURSEL, 0, 0);
            if (at == LRESULT(index))
                break;
            Press(at == CB_ERR || at < LRESULT(index) ? VK_DOWN : VK_UP);
        }
        Press(VK_RETURN);
    }
    // A right click opens the edit's menu, whose loop runs until Escape:
    // that is queued with the click.
    void Click(Control control, DWORD down, DWORD up)
    {
        RECT bounds;
        GetWindowRect(window->ControlHandle(control), &bounds);
        ClickAt({bounds.left + 20, (bounds.top + bounds.bottom) / 2}, down, up);
    }
    static INPUT MouseAt(POINT screen, DWORD flags)
    {
        INPUT event = {};
        event.type = INPUT_MOUSE;
        event.mi.dx = LONG(screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
        event.mi.dy = LONG(screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
        event.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
        return event;
    }
    void ClickAt(POINT screen, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP)
    {
        INPUT input[2] = {MouseAt(screen, down), MouseAt(screen, up)};
        SendInput(2, input, sizeof(INPUT));
        if (down == MOUSEEVENTF_RIGHTDOWN) {
            Sleep(100);
            Key(VK_ESCAPE, true);
            Key(VK_ESCAPE, false);
        }
        Pump(window->Handle());
    }
    // Turns the wheel over `screen`, a notch towards the user each time.
    void WheelAt(POINT screen, int notches)
    {
        INPUT move = MouseAt(screen, 0);
        SendInput(1, &move, sizeof move);
        Pump(window->Handle());
        for (int i = 0; i < notches; ++i) {
            INPUT wheel = {};
            wheel.type = INPUT_MOUSE;
            wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
            wheel.mi.mouseData = DWORD(-WHEEL_DELTA);
            SendInput(1, &wheel, sizeof wheel);
            Pump(window->Handle());
        }
    }
    POINT ScreenPoint(Control control, int x, int y) const
    {
        POINT point = {x, y};
        ClientToScreen(window->ControlHandle(control), &point);
        return point;
    }
    Control Focused() const
    {
        HWND focus = GetFocus();
        for (const ControlDescription& d : Form1Controls) {
            HWND control = window->ControlHandle(d.Id);
            if (control && (focus == control || GetParent(focus) == control))
                return d.Id;
        }
        return Control::Image1;
    }
    std::string Text(Control control) const { return window->Text(control); }
    LRESULT HitTest(int x, int y) const
    {
        POINT point = {x, y};
        ClientToScreen(window->Handle(), &point);
        HWND target = WindowFromPoint(point);
        return SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    }

    RecordingPresenter presenter;
    char32_t separator = U',';
    bool closed = false;
    std::unique_ptr<Form1Window> window;
};

// The figures in tab order: hull, speed, manoeuvrability, close-hauled,
// hold, the two crew figures; then the caliber is picked.
TEST_F(Win32Window, WorkedResultsTypedInTabOrder)
{
    const struct {
        char32_t separator;
        const char* ship;
        const char* keys[7];
        const char* caliber;
        const char* label;
        const char* speedShown;  // the typed point as the regional separator
    } rows[] = {
        {U',', "Фрегат", {"3000", "14.5", "35", "0,5", "2000", "100", "400"}, "24", "122.05", "14,5"},
        {U'.', "Корвет", {"2500", "15,7", "41.5", "0.45", "1200", "120", "180"}, "16", "94.23", "15.7"},
        {U',', "Шлюп", {"900", "16.2", "60", "0.6", "600", "40", "90"}, "32", "70.84", "16,2"},
        {U',', "Шлюп", {"900", "16.2", "60", "0.6", "600", "40", "90"}, "12", "65.00", "16,2"},
        {U',', "Баркас", {"0", "0", "0", "0", "0", "187", "0"}, "42", "29.58", "0"},
    };
    for (const auto& row : rows) {
        separator = row.separator;
        static wchar_t intl[] = L"intl";
        SendMessageW(window->Handle(), WM_SETTINGCHANGE, 0, LPARAM(intl));
        SendMessageW(window->ControlHandle(Control::BitBtn1), BM_CLICK, 0, 0);
        Pump(window->Handle());
        Pick(Control::ComboBox1, row.ship);
        for (const char* keys : row.keys) {  // a row's figures, in tab order
            Press(VK_TAB);
            Type(keys);
        }
        Pick(Control::ComboBox2, row.caliber);
        EXPECT_EQ(Text(Control::Label1), row.label) << row.ship << " " << row.caliber;
        EXPECT_EQ(Text(Control::ComboBox1), row.ship);
        EXPECT_EQ(Text(Control::Edit3), row.speedShown);
    }
    EXPECT_TRUE(presenter.errors.empty()) << presenter.errors.front();
}

TEST_F(Win32Window, FocusStartsOnTheShipTypeAndTabRunsDownTheWindow)
{
    EXPECT_EQ(Focused(), Control::ComboBox1);
    const Control expected[] = {Control::Edit1, Control::Edit3, Control::Edit4, Control::Edit5, Control::Edit2,
                                Control::Edit6, Control::Edit7, Control::ComboBox2, Control::BitBtn1, Control::BitBtn2,
                                Control::ComboBox1};
    for (Control control : expected) {
        Press(VK_TAB);
        EXPECT_EQ(int(Focused()), int(control));
    }
    Press(VK_TAB, VK_SHIFT);
    EXPECT_EQ(Focused(), Control::BitBtn2);
}

TEST_F(Win32Window, KeystrokeRulesAndLengthsHoldForEveryField)
{
    const struct {
        Control control;
        const char* keys;
        const char* text;
    } rows[] = {
        {Control::Edit1, "1a-2 .3,456789", "12345"},
        {Control::Edit2, "9876543", "9876"},
        {Control::Edit3, "1.2,5", "1,25"},
        {Control::Edit4, ",5.5", ",55"},
        {Control::Edit5, "0.45678", "0,456"},
        {Control::Edit6, "1.2345", "123"},
        {Control::Edit7, "-99 99", "999"},
        {Control::ComboBox1, "12", "Тип корабля"},
        {Control::ComboBox2, "12.", ""},
    };
    for (const auto& row : rows) {
        window->Focus(row.control);
        Type(row.keys);
        EXPECT_EQ(Text(row.control), row.text) << Describe(row.control).Name;
    }
    // Backspace edits a field but not a selector.
    window->Focus(Control::Edit3);
    Press(VK_END);
    Press(VK_BACK);
    Press(VK_BACK);
    Type(".");
    EXPECT_EQ(Text(Control::Edit3), "1,");
    window->Focus(Control::ComboBox1);
    Press(VK_END);
    Press(VK_BACK);
    EXPECT_EQ(Text(Control::ComboBox1), "Тип корабля");
    // Entering a field with Tab selects its text, so a digit replaces it;
    // so does a right click, but not a left click.
    window->Focus(Control::Edit1);
    Press(VK_TAB);
    Type("7");
    EXPECT_EQ(Text(Control::Edit3), "7");
    const struct {
        DWORD down, up;
        bool selectsAll;
    } clicks[] = {{MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, true}, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, false}};
    for (const auto& click : clicks) {
        window->Focus(Control::Edit1);
        Click(Control::Edit4, click.down, click.up);
        DWORD start = 0, end = 0;
        SendMessageW(window->ControlHandle(Control::Edit4), EM_GETSEL, WPARAM(&start), LPARAM(&end));
        EXPECT_EQ(start == 0 && end == 3, click.selectsAll) << start << "-" << end;
    }
}

// Ctrl+V arrives as character 22, which no rule lets in; the edit's own
// paste (Shift+Insert) is bounded by the maximum length only.
TEST_F(Win32Window, PastingBypassesTheRulesAndAFailureGoesToTheErrorBox)
{
    const wchar_t pasted[] = L"12,5678";
    ASSERT_TRUE(OpenClipboard(window->Handle()));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
    memcpy(GlobalLock(memory), pasted, sizeof pasted);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();

    separator = U'.';
    window->Form().SetSeparator(separator);
    Pick(Control::ComboBox1, "Фрегат");
    TypeFigures({"3000", "", "35", "0.5", "2000", "100", "400"});
    Pick(Control::ComboBox2, "24");
    window->Focus(Control::Edit3);
    Press('V', VK_CONTROL);
    EXPECT_EQ(Text(Control::Edit3), "");
    EXPECT_TRUE(presenter.errors.empty());
    Press(VK_INSERT, VK_SHIFT);
    EXPECT_EQ(Text(Control::Edit3), "12,56");
    ASSERT_EQ(presenter.errors.size(), 1u);
    EXPECT_EQ(presenter.errors[0], "'12,56' is not a valid floating point value");
    EXPECT_EQ(Text(Control::Label1), "");
}

TEST_F(Win32Window, WithoutAShipTypeTheFiguresBringTheMessage)
{
    TypeFigures({"1", "1", "1", "1", "1", "1", "1"});
    EXPECT_TRUE(presenter.messages.empty());
    Pick(Control::ComboBox2, "12");
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0], NotSelectedMessage);
    // Every change asks again; a digit the full field refuses is none.
    window->Focus(Control::Edit6);
    Type("999");
    ASSERT_EQ(presenter.messages.size(), 4u);
    Press(VK_END);
    Type("9");
    EXPECT_EQ(Text(Control::Edit6), "999");
    EXPECT_EQ(presenter.messages.size(), 4u);
}

TEST_F(Win32Window, ThePictureAndTheLabelsDragTheControlsDoNot)
{
    EXPECT_EQ(HitTest(3, 100), HTCAPTION);    // the background
    EXPECT_EQ(HitTest(98, 267), HTCAPTION);   // Label1
    EXPECT_EQ(HitTest(150, 203), HTCAPTION);  // Label2
    POINT edit = {160, 49};
    ClientToScreen(window->Handle(), &edit);
    EXPECT_EQ(WindowFromPoint(edit), window->ControlHandle(Control::Edit1));
    EXPECT_EQ(HitTest(160, 49), HTCLIENT);
    EXPECT_EQ(HitTest(50, 297), HTCLIENT);  // BitBtn1
}

// The window shows the decoder's colours where nothing covers the picture.
TEST_F(Win32Window, TheBackgroundIsThePicture)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_BACKGROUND), MAKEINTRESOURCEW(10 /* RT_RCDATA */));
    ASSERT_TRUE(resource);
    const DecodedJpeg picture =
        DecodeJpegData(static_cast<const unsigned char*>(LockResource(LoadResource(module, resource))),
                       SizeofResource(module, resource), JpegColours::Full);
    ASSERT_EQ(picture.Error, "");
    UpdateWindow(window->Handle());
    HDC dc = GetDC(window->Handle());
    for (const POINT at : {POINT{3, 100}, POINT{192, 150}, POINT{100, 284}, POINT{20, 40}}) {
        const unsigned char* rgb = picture.Pixels.data() + (std::size_t(at.y) * picture.Width + std::size_t(at.x)) * 3;
        EXPECT_EQ(GetPixel(dc, at.x, at.y), RGB(rgb[0], rgb[1], rgb[2])) << at.x << "," << at.y;
    }
    ReleaseDC(window->Handle(), dc);
}

TEST_F(Win32Window, TheWindowIsAsDescribed)
{
    RECT bounds;
    GetWindowRect(window->Handle(), &bounds);
    EXPECT_EQ(bounds.left, 444);
    EXPECT_EQ(bounds.top, 196);
    EXPECT_EQ(bounds.right - bounds.left, 196);
    EXPECT_EQ(bounds.bottom - bounds.top, 317);
    EXPECT_TRUE(GetWindowLongW(window->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongW(window->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    wchar_t caption[64] = {};
    GetWindowTextW(window->Handle(), caption, 64);
    EXPECT_EQ(Narrow(caption), "Кворн калькулятор v1.1.1 c12a");
    GetWindowRect(window->ControlHandle(Control::ComboBox2), &bounds);
    EXPECT_EQ(bounds.bottom - bounds.top, 24);
    EXPECT_EQ(SendMessageW(window->ControlHandle(Control::ComboBox1), CB_GETITEMHEIGHT, 0, 0), 16);
    EXPECT_EQ(SendMessageW(window->ControlHandle(Control::ComboBox1), CB_GETCOUNT, 0, 0), 24);
}

TEST_F(Win32Window, ClearEmptiesEverythingAndExitCloses)
{
    Pick(Control::ComboBox1, "Фрегат");
    TypeFigures({"3000", "14.5", "35", "0.5", "2000", "100", "400"});
    Pick(Control::ComboBox2, "16");
    const std::string with16 = Text(Control::Label1);
    // Deleting in a selector's text is a change: "6" weighs as 42 does.
    Press(VK_HOME);
    Press(VK_DELETE);
    ASSERT_EQ(Text(Control::ComboBox2), "6");
    const std::string with6 = Text(Control::Label1);
    EXPECT_NE(with6, with16);
    Pick(Control::ComboBox2, "42");
    EXPECT_EQ(Text(Control::Label1), with6);
    // Tab to the clear button and press Enter.
    Press(VK_TAB);
    ASSERT_EQ(Focused(), Control::BitBtn1);
    Press(VK_RETURN);
    for (Control control : {Control::Edit1, Control::Edit2, Control::Edit3, Control::Edit4, Control::Edit5,
                            Control::Edit6, Control::Edit7, Control::ComboBox2, Control::Label1})
        EXPECT_EQ(Text(control), "") << Describe(control).Name;
    EXPECT_EQ(Text(Control::ComboBox1), PlaceholderText);
    EXPECT_EQ(SendMessageW(window->ControlHandle(Control::ComboBox1), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(Focused(), Control::ComboBox1);
    EXPECT_EQ(window->Form().Coefficients().CannonCount, 46);

    SendMessageW(window->ControlHandle(Control::BitBtn2), BM_CLICK, 0, 0);
    Pump(nullptr);
    EXPECT_TRUE(closed);
    EXPECT_EQ(window->Handle(), nullptr);
}

DecodedJpeg PictureResource(int id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10 /* RT_RCDATA */));
    if (!resource)
        return {};
    return DecodeJpegData(static_cast<const unsigned char*>(LockResource(LoadResource(module, resource))),
                          SizeofResource(module, resource), JpegColours::Full);
}

// The result in its band, as the screen shows it: whole, centred in the
// 176-pixel label from 10 to 186, nothing over the band's frame, however
// long the score. A pasted hull of 1e20 gives 21 characters, 1e37 38. In
// 96-dpi pixels, at the display's scale (the run at 200 % too).
TEST_F(Win32Window, TheResultIsDrawnWholeAndCentred)
{
    RECT client;
    GetClientRect(window->Handle(), &client);
    const int s = client.right / 196;  // 1 or 2
    const DecodedJpeg picture = PictureResource(s == 2 ? IDR_BACKGROUND + 20 : IDR_BACKGROUND);
    ASSERT_EQ(picture.Error, "");
    const struct {
        const char* hull;  // pasted, except the worked result's
        const char* exact;
        bool smaller;  // drawn in a smaller face than the described one
    } rows[] = {
        {nullptr, "122.05", false},
        {"1e20", "509860509860509952.00", true},
        {"1e37", "50986050986050991000000000000000000.00", false},  // its exponent form fits
    };
    for (const auto& row : rows) {
        SendMessageW(window->ControlHandle(Control::BitBtn1), BM_CLICK, 0, 0);
        Pump(window->Handle());
        Pick(Control::ComboBox1, "Фрегат");
        if (!row.hull) {
            TypeFigures({"3000", "14.5", "35", "0,5", "2000", "100", "400"});
            Pick(Control::ComboBox2, "24");
        } else {
            EnterPastedHull(row.hull);
        }
        ASSERT_EQ(Text(Control::Label1), row.exact);
        UpdateWindow(window->Handle());
        const Shot band = Capture(window->Handle(), {0, 255 * s, 196 * s, 279 * s});
        int first = band.width, last = -1, top = band.height, bottom = -1;
        for (int y = 0; y < band.height; ++y)
            for (int x = 0; x < band.width; ++x)
                if (band.At(x, y) != PictureAt(picture, x, 255 * s + y)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(last, 0) << row.exact << ": nothing drawn";
        EXPECT_GT(first, 10 * s) << row.exact << ": cut or over the frame on the left";
        EXPECT_LT(last, 186 * s - 1) << row.exact << ": cut or over the frame on the right";
        EXPECT_LE(std::abs((first - 10 * s) - (186 * s - 1 - last)), s) << row.exact << ": not centred, " << first
                                                                          << "-" << last;
        // The digits of the described 19-pixel bold face stand 14 pixels high.
        const int height = bottom - top + 1;
        EXPECT_TRUE(row.smaller ? height < 14 * s : height >= 14 * s) << row.exact << ": " << height << " pixels high";
        EXPECT_GE(height, 8 * s) << row.exact;
    }
}


// The description's pixels are 96-dpi pixels: at 200 % the window is twice
// as large, at twice the place, its controls, faces and list items too, and
// it shows the picture drawn for 200 % (the result in its scaled band:
// TheResultIsDrawnWholeAndCentred).
TEST_F(Win32Window, LaidOutAtTheDisplaysScale)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const struct {
        int dpi;
        RECT window;
        SIZE edit;
        int itemHeight, background;
    } rows[] = {
        {96, {444, 196, 444 + 196, 196 + 317}, {48, 22}, 16, IDR_BACKGROUND},
        {192, {888, 392, 888 + 392, 392 + 634}, {96, 44}, 32, IDR_BACKGROUND + 20},
    };
    const auto* row = std::find_if(std::begin(rows), std::end(rows), [dpi](const auto& r) { return r.dpi == dpi; });
    ASSERT_NE(row, std::end(rows)) << "a display at " << dpi << " dpi";
    const int scale = row->dpi / 96;

    RECT bounds;
    GetWindowRect(window->Handle(), &bounds);
    EXPECT_EQ(bounds.left, row->window.left);
    EXPECT_EQ(bounds.top, row->window.top);
    EXPECT_EQ(bounds.right, row->window.right);
    EXPECT_EQ(bounds.bottom, row->window.bottom);
    GetWindowRect(window->ControlHandle(Control::Edit1), &bounds);
    EXPECT_EQ(bounds.left - row->window.left, 138 * scale);
    EXPECT_EQ(bounds.top - row->window.top, 38 * scale);
    EXPECT_EQ(bounds.right - bounds.left, row->edit.cx);
    EXPECT_EQ(bounds.bottom - bounds.top, row->edit.cy);
    GetWindowRect(window->ControlHandle(Control::ComboBox2), &bounds);
    EXPECT_EQ(bounds.bottom - bounds.top, 24 * scale);
    EXPECT_EQ(SendMessageW(window->ControlHandle(Control::ComboBox1), CB_GETITEMHEIGHT, 0, 0), row->itemHeight);

    const DecodedJpeg picture = PictureResource(row->background);
    ASSERT_EQ(picture.Error, "");
    ASSERT_EQ(int(picture.Width), 196 * scale);
    UpdateWindow(window->Handle());
    const Shot shown = Capture(window->Handle(), {0, 0, 196 * scale, 317 * scale});
    for (const POINT at : {POINT{3, 100}, POINT{192, 150}, POINT{100, 284}, POINT{20, 40}, POINT{60, 48}}) {
        const int x = at.x * scale, y = at.y * scale;
        EXPECT_EQ(shown.At(x, y), PictureAt(picture, x, y)) << at.x << "," << at.y;
    }

}

// Dragged to a display at 200 %, Windows sends WM_DPICHANGED with the size
// it suggests at the place the window is: the window takes it and lays
// itself out at the new scale; back on the first display, as it was.
TEST_F(Win32Window, MovedToADisplayOfAnotherScale)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24 /* RT_MANIFEST */));
    ASSERT_TRUE(manifest);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos) << text;

    SetWindowPos(window->Handle(), nullptr, 300, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // where the user dragged it
    for (const int dpi : {192, 96}) {
        const int scale = dpi / 96;
        RECT suggested = {300, 120, 300 + 196 * scale, 120 + 317 * scale};
        SendMessageW(window->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        Pump(window->Handle());
        RECT bounds;
        GetWindowRect(window->Handle(), &bounds);
        EXPECT_EQ(bounds.left, 300) << dpi;
        EXPECT_EQ(bounds.top, 120) << dpi;
        EXPECT_EQ(bounds.right - bounds.left, 196 * scale) << dpi;
        GetWindowRect(window->ControlHandle(Control::Edit7), &bounds);
        EXPECT_EQ(bounds.left - 300, 154 * scale) << dpi;
        EXPECT_EQ(bounds.right - bounds.left, 31 * scale) << dpi;
        EXPECT_EQ(SendMessageW(window->ControlHandle(Control::ComboBox2), CB_GETITEMHEIGHT, 0, 0), 16 * scale);
        const DecodedJpeg picture = PictureResource(scale == 2 ? IDR_BACKGROUND + 20 : IDR_BACKGROUND);
        UpdateWindow(window->Handle());
        const Shot shown = Capture(window->Handle(), {0, 0, 196 * scale, 317 * scale});
        for (const POINT at : {POINT{3, 100}, POINT{60, 48}})
            EXPECT_EQ(shown.At(at.x * scale, at.y * scale), PictureAt(picture, at.x * scale, at.y * scale)) << dpi;
    }
}

BOOL CALLBACK FindTip(HWND window, LPARAM found)
{
    wchar_t type[32] = {};
    GetClassNameW(window, type, 32);
    if (IsWindowVisible(window) && lstrcmpiW(type, L"tooltips_class32") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Resting the pointer on a shown result opens a tip with its breakdown.
TEST_F(Win32Window, RestingOnTheResultShowsItsBreakdown)
{
    Pick(Control::ComboBox1, "Фрегат");
    TypeFigures({"3000", "14.5", "35", "0,5", "2000", "100", "400"});
    Pick(Control::ComboBox2, "24");
    ASSERT_EQ(Text(Control::Label1), "122.05");
    RECT client;
    GetClientRect(window->Handle(), &client);
    POINT label = {98 * client.right / 196, 267 * client.bottom / 317};  // at the display's scale
    ClientToScreen(window->Handle(), &label);
    // Each move starts the wait over: the pointer comes to rest, then waits.
    INPUT move = MouseAt(label, 0);
    SendInput(1, &move, sizeof move);
    HWND tip = nullptr;
    for (int step = 0; step < 60 && !tip; ++step) {
        Pump(window->Handle());
        EnumThreadWindows(GetCurrentThreadId(), FindTip, LPARAM(&tip));
        Sleep(50);
    }
    ASSERT_TRUE(tip) << "no tip over the result";
    wchar_t text[1024] = {};
    GetWindowTextW(tip, text, 1024);
    const std::string shown = Narrow(text);
    EXPECT_EQ(shown.rfind("Корпус: 15.30\r\nСкорость: 21.96\r\n", 0), 0u) << shown;
    EXPECT_NE(shown.find("\r\nПушки (46): 14.60\r\nВооружение (24): 49.35\r\nФрегат: 122.05\r\n"), std::string::npos)
        << shown;
    RECT bounds;
    GetWindowRect(tip, &bounds);
    EXPECT_GT(bounds.bottom - bounds.top, 9 * 13) << "not one line a row";
}

// Picked with the mouse: the arrow opens the list, a click on an item picks
// it, and that is one change. With every figure in and no ship type, each
// recomputation shows one message.
TEST_F(Win32Window, AMousePickIsOneChange)
{
    const struct {
        Control combo;
        int item;
    } rows[] = {{Control::ComboBox2, 2}, {Control::ComboBox1, 3}};
    TypeFigures({"1", "1", "1", "1", "1", "1", "1"});
    for (const auto& row : rows) {
        presenter.messages.clear();
        HWND box = window->ControlHandle(row.combo);
        COMBOBOXINFO parts = {};
        parts.cbSize = sizeof parts;
        ASSERT_TRUE(GetComboBoxInfo(box, &parts));
        ClickAt(ScreenPoint(row.combo, (parts.rcButton.left + parts.rcButton.right) / 2,
                            (parts.rcButton.top + parts.rcButton.bottom) / 2));
        ASSERT_TRUE(SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) << Describe(row.combo).Name;
        RECT item = {};
        SendMessageW(parts.hwndList, LB_GETITEMRECT, WPARAM(row.item), LPARAM(&item));
        POINT at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(parts.hwndList, &at);
        ClickAt(at);
        EXPECT_FALSE(SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), row.item);
        EXPECT_EQ(Text(row.combo), ListItems(row.combo)[std::size_t(row.item)]);
        if (row.combo == Control::ComboBox2) {
            EXPECT_EQ(presenter.messages.size(), 1u);
        } else {
            EXPECT_TRUE(presenter.messages.empty());
            EXPECT_EQ(window->Form().Coefficients().CannonCount, 56);  // Варшип
        }
    }
    EXPECT_TRUE(presenter.errors.empty());
}

// Resting on a selector without the focus, the wheel changes nothing; with
// the focus, it picks.
TEST_F(Win32Window, TheWheelChangesOnlyAFocusedSelector)
{
    Pick(Control::ComboBox2, "16");
    window->Focus(Control::Edit1);
    Pump(window->Handle());
    const POINT over = ScreenPoint(Control::ComboBox2, 40, 12);  // over the arrow
    WheelAt(over, 2);
    EXPECT_EQ(Text(Control::ComboBox2), "16");
    EXPECT_EQ(Focused(), Control::Edit1);
    window->Focus(Control::ComboBox2);
    WheelAt(over, 1);
    EXPECT_EQ(Text(Control::ComboBox2), "24");
}

// Entering a field from the keyboard, either way round, selects its text.
TEST_F(Win32Window, TabAndShiftTabSelectTheText)
{
    for (const bool shift : {false, true}) {
        window->Focus(Control::Edit3);
        Type("12.5");
        window->Focus(shift ? Control::Edit4 : Control::Edit1);
        Press(VK_TAB, shift ? VK_SHIFT : 0);
        ASSERT_EQ(Focused(), Control::Edit3);
        DWORD start = 1, end = 0;
        SendMessageW(window->ControlHandle(Control::Edit3), EM_GETSEL, WPARAM(&start), LPARAM(&end));
        EXPECT_EQ(start, 0u) << (shift ? "Shift+Tab" : "Tab");
        EXPECT_EQ(end, 4u) << (shift ? "Shift+Tab" : "Tab");
        Type("7");
        EXPECT_EQ(Text(Control::Edit3), "7");
        SetWindowTextW(window->ControlHandle(Control::Edit3), L"");
    }
}

// Enter and Space press the focused button: clear empties, exit closes.
TEST_F(Win32Window, EnterAndSpacePressTheFocusedButton)
{
    for (WORD key : {WORD(VK_RETURN), WORD(VK_SPACE)}) {
        window->Focus(Control::Edit1);
        Type("5");
        window->Focus(Control::BitBtn1);
        Press(key);
        EXPECT_EQ(Text(Control::Edit1), "") << key;
        EXPECT_EQ(Focused(), Control::ComboBox1) << key;
    }
    window->Focus(Control::BitBtn2);
    Press(VK_RETURN);
    Pump(nullptr);
    EXPECT_TRUE(closed);
}

// Alt+F4 closes the form, which has no window menu.
TEST_F(Win32Window, AltF4Closes)
{
    Press(VK_F4, VK_MENU);
    Pump(nullptr);
    EXPECT_TRUE(closed);
}

// What the controls look like: the fields on the button face, the open
// list's current item highlighted, each button its own picture.
TEST_F(Win32Window, TheControlsAreDrawnInTheirColoursAndPictures)
{
    for (Control field : {Control::Edit1, Control::Edit6, Control::ComboBox2}) {
        const Shot shot = Capture(window->ControlHandle(field), {4, 8, 12, 14});
        for (COLORREF pixel : shot.pixels)
            ASSERT_EQ(pixel, GetSysColor(COLOR_BTNFACE)) << Describe(field).Name;
    }

    window->Focus(Control::ComboBox1);
    Press(VK_F4);
    Press(VK_DOWN);
    Press(VK_DOWN);
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof parts;
    ASSERT_TRUE(GetComboBoxInfo(window->ControlHandle(Control::ComboBox1), &parts));
    const LRESULT current = SendMessageW(parts.hwndList, LB_GETCURSEL, 0, 0);
    ASSERT_GE(current, 0);
    UpdateWindow(parts.hwndList);
    for (LRESULT row : {current, current == 0 ? LRESULT(1) : LRESULT(0)}) {
        RECT item = {};
        SendMessageW(parts.hwndList, LB_GETITEMRECT, WPARAM(row), LPARAM(&item));
        const Shot shot = Capture(parts.hwndList, {item.right - 6, item.top + 2, item.right - 3, item.bottom - 2});
        for (COLORREF pixel : shot.pixels)
            ASSERT_EQ(pixel, GetSysColor(row == current ? COLOR_HIGHLIGHT : COLOR_WINDOW)) << "item " << row;
    }
    Press(VK_ESCAPE);

    const struct {
        Control button;
        int picture;
    } buttons[] = {{Control::BitBtn1, IDB_CLEAR}, {Control::BitBtn2, IDB_EXIT}};
    for (const auto& row : buttons) {
        HBITMAP bitmap = HBITMAP(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(row.picture), IMAGE_BITMAP, 0,
                                            0, LR_CREATEDIBSECTION));
        ASSERT_TRUE(bitmap);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const Shot shown = Capture(window->ControlHandle(row.button), {0, 0, 78, 19});
        bool matched = false;
        for (int dx = 1; dx <= 2 && !matched; ++dx)
            for (int dy = 1; dy <= 2 && !matched; ++dy) {
                matched = true;
                for (int y = 0; y < 19 && matched; ++y)
                    for (int x = 0; x < 78 && matched; ++x)
                        matched = shown.At(x, y) == GetPixel(dc, x + dx, y + dy);
            }
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        DeleteObject(bitmap);
        EXPECT_TRUE(matched) << Describe(row.button).Name << " does not show its picture, centred";
    }
}

// The whole window on the screen, pixel for pixel as it was when it was
// last looked at and found right. KVORN_WRITE_REFERENCES=1 writes new
// references after a deliberate change (look at them first).
TEST_F(Win32Window, LooksAsItShould)
{
    for (const char* state : {"start", "frigate", "long"}) {
        SendMessageW(window->ControlHandle(Control::BitBtn1), BM_CLICK, 0, 0);
        Pump(window->Handle());
        if (std::string(state) == "frigate") {
            Pick(Control::ComboBox1, "Фрегат");
            TypeFigures({"3000", "14.5", "35", "0,5", "2000", "100", "400"});
            Pick(Control::ComboBox2, "24");
        } else if (std::string(state) == "long") {
            Pick(Control::ComboBox1, "Фрегат");
            EnterPastedHull("1e20");
        }
        SetFocus(window->Handle());  // no caret: it blinks
        Pump(window->Handle());
        RECT bounds;
        GetWindowRect(window->Handle(), &bounds);
        const Shot shown = Capture(nullptr, bounds);
        const std::string reference = std::string(KVORN_REFERENCE_DIR "/win32-") + state + ".ppm";
        if (std::getenv("KVORN_WRITE_REFERENCES")) {
            ASSERT_TRUE(WritePpm(reference, shown));
        }
        const Shot expected = ReadPpm(reference);
        ASSERT_EQ(expected.width, shown.width) << reference;
        ASSERT_EQ(expected.height, shown.height) << reference;
        std::size_t differing = 0;
        for (std::size_t i = 0; i < shown.pixels.size(); ++i)
            differing += shown.pixels[i] != expected.pixels[i];
        if (differing)
            WritePpm(std::string("win32-") + state + ".ppm", shown);  // beside the test, to look at
        EXPECT_EQ(differing, 0u) << state << ": pixels differ from " << reference;
    }
}

// As the program arranges them: the application's window, captioned with
// the application title, owns the form; minimising and restoring it from
// the taskbar takes the form along, and its Close closes the form.
TEST(Win32Application, TheTaskbarEntryIsTheApplications)
{
    RecordingPresenter presenter;
    CalculatorWindows windows(GetModuleHandleW(nullptr), presenter);
    ApplicationWindow& application = windows.Application;
    Form1Window& form = windows.Form;
    bool closed = false;
    form.SetClosedHandler([&closed] { closed = true; });
    windows.Show(SW_SHOWNORMAL);
    Pump(form.Handle());

    wchar_t caption[64] = {};
    GetWindowTextW(application.Handle(), caption, 64);
    EXPECT_EQ(Narrow(caption), "Kvorn calculator");
    GetWindowTextW(form.Handle(), caption, 64);
    EXPECT_EQ(Narrow(caption), "Кворн калькулятор v1.1.1 c12a");  // tools find the form by it
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), application.Handle());
    EXPECT_TRUE(IsWindowVisible(application.Handle()));
    RECT bounds;
    GetWindowRect(application.Handle(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0);
    EXPECT_EQ(bounds.bottom - bounds.top, 0);
    EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_STYLE) & WS_SYSMENU);  // no window menu on the picture
    EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);

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

// The real boxes, looked at while they are open.
struct SeenBox {
    std::string caption, text;
    bool icon = false, ownerEnabled = true, ownerTopmost = true, centred = false;
    std::vector<std::string> buttons;
};
SeenBox seen;
HWND boxOwner = nullptr;

BOOL CALLBACK FindBox(HWND window, LPARAM found)
{
    wchar_t type[16] = {};
    GetClassNameW(window, type, 16);
    if (IsWindowVisible(window) && std::wstring(type) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK SeeChild(HWND child, LPARAM)
{
    wchar_t type[16] = {}, text[256] = {};
    GetClassNameW(child, type, 16);
    GetWindowTextW(child, text, 256);
    const std::wstring kind = type;
    if (kind == L"Button")
        seen.buttons.push_back(Narrow(text) + ((GetWindowLongW(child, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON ? "*" : ""));
    else if (kind == L"Static" && (GetWindowLongW(child, GWL_STYLE) & 0x1F) == SS_ICON)
        seen.icon = true;
    else if (kind == L"Static" && text[0])
        seen.text = Narrow(text);
    return TRUE;
}

void CALLBACK LookAtBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, LPARAM(&box));
    if (!box)
        return;
    KillTimer(nullptr, timer);
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    seen.caption = Narrow(caption);
    EnumChildWindows(box, SeeChild, 0);
    seen.ownerEnabled = IsWindowEnabled(boxOwner);
    seen.ownerTopmost = GetWindowLongW(boxOwner, GWL_EXSTYLE) & WS_EX_TOPMOST;
    RECT frame, work;
    GetWindowRect(box, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    seen.centred = std::abs((frame.left + frame.right) - (work.left + work.right)) <= 2 &&
                   std::abs((frame.top + frame.bottom) - (work.top + work.bottom)) <= 2;
    Key(VK_ESCAPE, true);  // Escape closes both
    Key(VK_ESCAPE, false);
}

TEST_F(Win32Window, TheBoxesAreCaptionedModalAndAboveTheWindow)
{
    DialogPresenter boxes(window->Handle());
    boxOwner = window->Handle();

    seen = {};
    SetTimer(nullptr, 0, 50, LookAtBox);
    boxes.ShowMessage(NotSelectedMessage);
    EXPECT_EQ(seen.caption, "Kvorn calculator");
    EXPECT_EQ(seen.text, "Не вбран тип корабля");
    EXPECT_FALSE(seen.icon);
    EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK*"});
    EXPECT_TRUE(seen.centred);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_FALSE(seen.ownerTopmost);
    EXPECT_TRUE(GetWindowLongW(window->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowEnabled(window->Handle()));

    seen = {};
    SetTimer(nullptr, 0, 50, LookAtBox);
    boxes.ShowError("Floating point division by zero");
    EXPECT_EQ(seen.caption, "Kvorn calculator");
    EXPECT_EQ(seen.text, "Floating point division by zero.");
    EXPECT_TRUE(seen.icon);
    EXPECT_EQ(seen.buttons.size(), 1u);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(window->Handle()));
}

// --- The window's menu and the previous result --------------------------------

// An open popup menu, looked at from a timer that its loop runs; then the
// item `menuChoice` chosen with the keys (Escape when negative).
struct SeenMenu {
    std::vector<std::string> items;
    std::vector<bool> offered;
};
SeenMenu seenMenu;
int menuChoice = -1;

void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    KillTimer(nullptr, timer);
    HMENU menu = HMENU(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
        seenMenu.items.push_back(Narrow(text));
        seenMenu.offered.push_back(!(GetMenuState(menu, UINT(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)));
    }
    for (int i = 0; i <= menuChoice; ++i) {
        Key(VK_DOWN, true);
        Key(VK_DOWN, false);
    }
    Key(menuChoice < 0 ? VK_ESCAPE : VK_RETURN, true);
    Key(menuChoice < 0 ? VK_ESCAPE : VK_RETURN, false);
}

std::string ClipboardNow(HWND owner)
{
    std::string text;
    if (OpenClipboard(owner)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = Narrow(static_cast<const wchar_t*>(GlobalLock(data)));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

class Win32WindowMenu : public Win32Window {
protected:
    // Opens the menu with `open`, looks at it and chooses `choice`.
    template <class Open>
    SeenMenu Menu(Open&& open, int choice)
    {
        seenMenu = {};
        menuChoice = choice;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtMenu);
        open();
        Pump(window->Handle());
        KillTimer(nullptr, timer);
        return seenMenu;
    }
    SeenMenu RightClick(Control at, int choice)
    {
        const RECT bounds = BoundsOf(at);
        POINT point = {bounds.left + 5, (bounds.top + bounds.bottom) / 2};
        ClientToScreen(window->Handle(), &point);
        return Menu(
            [&] {
                INPUT input[2] = {MouseAt(point, MOUSEEVENTF_RIGHTDOWN), MouseAt(point, MOUSEEVENTF_RIGHTUP)};
                SendInput(2, input, sizeof(INPUT));
            },
            choice);
    }
    RECT BoundsOf(Control control) const
    {
        RECT client;
        GetClientRect(window->Handle(), &client);
        const Geometry& g = Describe(control).Bounds;
        return {g.Left * client.right / 196, g.Top * client.bottom / 317, (g.Left + g.Width) * client.right / 196,
                (g.Top + g.Height) * client.bottom / 317};
    }
    void RateFrigate()
    {
        Pick(Control::ComboBox1, "Фрегат");
        TypeFigures({"3000", "14.5", "35", "0,5", "2000", "100", "400"});
        Pick(Control::ComboBox2, "24");
        ASSERT_EQ(Text(Control::Label1), "122.05");
    }
    const std::vector<std::string> items = {"Копировать результат", "Копировать строку", "Вставить строку"};
};

// Фрегат rated, then Down, Down on the ship selector through Т Галлеон to
// Корвет, and the corvette's hull typed: the previous result is the frigate's.
TEST_F(Win32WindowMenu, ThePreviousResultIsTheShipRated)
{
    RateFrigate();
    window->Focus(Control::ComboBox1);
    Press(VK_DOWN);
    EXPECT_EQ(Text(Control::ComboBox1), "Т Галлеон");
    Press(VK_DOWN);
    EXPECT_EQ(Text(Control::ComboBox1), "Корвет");
    window->Focus(Control::Edit1);
    Press(VK_END);
    Press(VK_BACK);
    Type("5");
    const std::string tip = window->Form().ResultDescription();
    EXPECT_NE(tip.find("\nКорвет: " + Text(Control::Label1) + "\n"), std::string::npos) << tip;
    EXPECT_TRUE(tip.ends_with("\nПредыдущий: Фрегат 122.05")) << tip;
}

// A right click on the result or the picture opens the window's menu; it
// copies the result and the row and pastes a row through the clipboard; a
// bad row is one box and no change.
TEST_F(Win32WindowMenu, CopiesAndPastesThroughTheClipboard)
{
    PutOnClipboard(window->Handle(), L"");
    SeenMenu menu = RightClick(Control::Label1, -1);
    EXPECT_EQ(menu.items, items);
    EXPECT_EQ(menu.offered, (std::vector<bool>{false, false, false}));

    PutOnClipboard(window->Handle(), L"ship;hull;speed;manoeuvrability;close-hauled;hold;crew1;crew2;caliber;score\r\n"
                                     L"Фрегат;3000;\"14.5\";35;\"0,5\";2000;100;400;24;122,05\r\n");
    menu = RightClick(Control::Image1, 2);
    EXPECT_EQ(menu.offered, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(Text(Control::Label1), "122.05");
    EXPECT_EQ(Text(Control::ComboBox1), "Фрегат");
    EXPECT_EQ(SendMessageW(window->ControlHandle(Control::ComboBox1), CB_GETCURSEL, 0, 0), 6);
    EXPECT_EQ(Text(Control::Edit3), "14,5");
    EXPECT_TRUE(presenter.errors.empty());
    EXPECT_TRUE(presenter.messages.empty());

    menu = RightClick(Control::Label1, 1);
    EXPECT_EQ(menu.offered, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(ClipboardNow(window->Handle()), "Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\t122,05");
    RightClick(Control::Label1, 0);
    EXPECT_EQ(ClipboardNow(window->Handle()), "122.05");

    PutOnClipboard(window->Handle(), L"Корвет\t3000\t14,5\t35\t0,5\t2000\t100\t400\t48");
    RightClick(Control::Label1, 2);
    ASSERT_EQ(presenter.errors.size(), 1u);
    EXPECT_EQ(presenter.errors[0].rfind("Вооружение: «48»", 0), 0u) << presenter.errors[0];
    EXPECT_EQ(Text(Control::ComboBox1), "Фрегат");
    EXPECT_EQ(Text(Control::ComboBox2), "24");
    EXPECT_EQ(Text(Control::Label1), "122.05");
}

// From the keyboard: the Menu key and Shift+F10 on a button open the
// window's menu; in a field, the field's own.
TEST_F(Win32WindowMenu, TheMenuKeysOpenTheMenuOfTheFocusedControl)
{
    const struct {
        Control control;
        bool shiftF10;
        bool windows;
    } rows[] = {{Control::BitBtn1, false, true},
                {Control::BitBtn2, true, true},
                {Control::Edit1, true, false},
                {Control::Edit3, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(Describe(row.control).Name);
        window->Focus(row.control);
        Pump(window->Handle());
        const SeenMenu menu = Menu([&] { row.shiftF10 ? Press(VK_F10, VK_SHIFT) : Press(VK_APPS); }, -1);
        ASSERT_FALSE(menu.items.empty());
        EXPECT_EQ(menu.items == items, row.windows) << menu.items.front();
        EXPECT_EQ(Focused(), row.control);
        EXPECT_FALSE(closed);
    }
}

}  // namespace
