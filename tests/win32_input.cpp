#include "win32_input.h"

#include <cstdlib>
#include <utility>

#include "application.h"
#include "described_window.h"
#include "form_description.h"
#include "wide_text.h"

namespace kvorn::testing {

void Pump(HWND window)
{
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

void Stroke(WORD key, WORD modifier)
{
    if (modifier)
        Key(modifier, true);
    Key(key, true);
    Key(key, false);
    if (modifier)
        Key(modifier, false);
}

void Press(HWND window, WORD key, WORD modifier)
{
    Stroke(key, modifier);
    Pump(window);
}

void TypeCharacter(HWND window, wchar_t c)
{
    const SHORT key = c >= 1 && c <= 26 ? SHORT(0x200 | ('A' + c - 1)) : VkKeyScanW(c);  // Ctrl+C, Ctrl+V ...
    if (key != -1) {  // on the keyboard's layout: its key, Shift or Ctrl held
        Press(window, LOBYTE(key), HIBYTE(key) & 1 ? VK_SHIFT : HIBYTE(key) & 2 ? VK_CONTROL : 0);
        return;
    }
    INPUT packet[2] = {};
    for (INPUT& input : packet) {
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = WORD(c);
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    packet[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, packet, sizeof(INPUT));
    Pump(window);
}

INPUT MouseAt(POINT screen, DWORD flags)
{
    INPUT event = {};
    event.type = INPUT_MOUSE;
    event.mi.dx = LONG(screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    event.mi.dy = LONG(screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    event.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    return event;
}

void ClickAt(HWND window, POINT screen, DWORD down, DWORD up)
{
    INPUT input[2] = {MouseAt(screen, down), MouseAt(screen, up)};
    SendInput(2, input, sizeof(INPUT));
    Pump(window);
}

void WheelAt(HWND window, POINT screen, int notches)
{
    INPUT move = MouseAt(screen, 0);
    SendInput(1, &move, sizeof move);
    Pump(window);
    for (int i = 0; i < std::abs(notches); ++i) {
        INPUT wheel = {};
        wheel.type = INPUT_MOUSE;
        wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
        wheel.mi.mouseData = DWORD(notches < 0 ? -WHEEL_DELTA : WHEEL_DELTA);
        SendInput(1, &wheel, sizeof wheel);
        Pump(window);
    }
}

static Shot ReadBack(HDC source, const RECT& area)
{
    Shot shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, source, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const unsigned char*>(bits);
    if (!bgrx)
        shot.width = shot.height = 0;  // not made: an empty picture, seen to differ
    for (int i = 0; i < shot.width * shot.height; ++i, bgrx += 4)
        shot.pixels.push_back(RGB(bgrx[2], bgrx[1], bgrx[0]));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

Shot Capture(HWND window, const RECT& area)
{
    HDC dc = GetDC(window);
    Shot shot = ReadBack(dc, area);
    ReleaseDC(window, dc);
    return shot;
}

RECT TextRoom(HWND control, const std::wstring& text, int width)
{
    RECT room = {0, 0, width, 0};
    HDC dc = GetDC(control);
    SelectObject(dc, HFONT(SendMessageW(control, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), int(text.size()), &room,
              DT_CALCRECT | DT_NOPREFIX | (width ? DT_WORDBREAK : DT_SINGLELINE));
    ReleaseDC(control, dc);
    return room;
}

// Drawn as a window draws off screen, into a picture compatible with the
// screen, so that text is drawn by the same path.
Shot Drawn(int width, int height, const std::function<void(HDC)>& draw)
{
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP surface = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(canvas, surface);
    draw(canvas);
    Shot shot = ReadBack(canvas, {0, 0, width, height});
    SelectObject(canvas, old);
    DeleteObject(surface);
    DeleteDC(canvas);
    ReleaseDC(nullptr, screen);
    return shot;
}

std::string_view ResourceBytes(int id, const wchar_t* type)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!resource)
        return {};
    return {static_cast<const char*>(LockResource(LoadResource(module, resource))), SizeofResource(module, resource)};
}

DecodedJpeg PictureResource(int id)
{
    const std::string_view bytes = ResourceBytes(id, MAKEINTRESOURCEW(10 /* RT_RCDATA */));
    return DecodeJpegData(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), JpegColours::Full);
}

COLORREF PictureAt(const DecodedJpeg& picture, int x, int y)
{
    const unsigned char* rgb = picture.Pixels.data() + (std::size_t(y) * picture.Width + std::size_t(x)) * 3;
    return RGB(rgb[0], rgb[1], rgb[2]);
}

HWND VisibleWindowOf(const wchar_t* type)
{
    struct { const wchar_t* type; HWND found; } search = {type, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM context) {
        auto& s = *reinterpret_cast<decltype(search)*>(context);
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        if (IsWindowVisible(window) && lstrcmpiW(name, s.type) == 0)
            s.found = window;
        return BOOL(!s.found);
    }, LPARAM(&search));
    return search.found;
}

Control Focused(const Form1Window& window)
{
    HWND focus = GetFocus();
    for (const ControlDescription& d : Form1Controls) {
        HWND control = window.ControlHandle(d.Id);
        if (control && focus && (focus == control || GetParent(focus) == control))
            return d.Id;
    }
    return Control::Image1;
}

namespace {

NONCLIENTMETRICSW Metrics()
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics;
}

std::string FaceOf(const LOGFONTW& face)
{
    return Narrow(face.lfFaceName) + " " + std::to_string(face.lfHeight) + (face.lfWeight >= FW_BOLD ? " bold" : "");
}

// The one box open at a time, and its owner; a timer looks at it.
SeenBox* looking = nullptr;
SeenBox* closing = nullptr;
HWND lookingOwner = nullptr;
int closed[2] = {}, opening = 0;  // closed: boxes of each kind, by their icon
UINT_PTR lookingTimer = 0, closingTimer = 0;
void CALLBACK SeeItClose(HWND, UINT, UINT_PTR timer, DWORD);

BOOL CALLBACK SeeChild(HWND child, LPARAM box)
{
    wchar_t type[16] = {};
    GetClassNameW(child, type, 16);
    const std::wstring kind = type, text = WindowText(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    LOGFONTW face = {};
    GetObjectW(HFONT(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof face, &face);  // none: the system's
    if (kind == L"Button" || (style & 0x1F) != SS_ICON)
        looking->faces.insert(FaceOf(face));
    RECT client, place;  // the box's, and where the child is in it
    GetClientRect(HWND(box), &client);
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, HWND(box), reinterpret_cast<POINT*>(&place), 2);
    if (kind == L"Button") {
        looking->buttons.push_back(Narrow(text) + ((style & 0xF) == BS_DEFPUSHBUTTON ? "*" : ""));
        looking->buttonsCentred = looking->buttonsCentred && std::abs(place.left + place.right - client.right) <= 2;
        looking->underButton = client.bottom - place.bottom;
        looking->button = {place.right - place.left, place.bottom - place.top};
        // Windows' own measure for dialogs: a quarter of the face's mean
        // letter across, an eighth of its height down.
        HDC dc = GetDC(child);
        const HGDIOBJ was = SelectObject(dc, HFONT(SendMessageW(child, WM_GETFONT, 0, 0)));
        SIZE letters = {};  // as high as the face
        GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
        SelectObject(dc, was);
        ReleaseDC(child, dc);
        looking->unit = {(letters.cx / 26 + 1) / 2, letters.cy};
    }
    else if (kind == L"Static" && (style & 0x1F) == SS_ICON)
        looking->icon = SendMessageW(child, STM_GETICON, 0, 0) == LPARAM(LoadIconW(nullptr, IDI_HAND));
    else if (kind == L"Static" && !text.empty()) {
        looking->text = Narrow(text);
        looking->aboveText = place.top;
        looking->leftOfText = place.left;
        looking->rightOfText = client.right - place.right;
        RECT room;
        GetClientRect(child, &room);
        const RECT needed = TextRoom(child, text, room.right);
        looking->textFits = needed.bottom <= room.bottom && needed.right <= room.right;
        looking->spare = int(room.right - TextRoom(child, text).right);
        UpdateWindow(child);  // its ink starts at its left, as a left-aligned text's does
        const Shot ink = Capture(child, room);
        looking->inkFrom = test::FirstInkColumn(ink.width, ink.height, [&](int x, int y) { return ink.At(x, y); });
    }
    return TRUE;
}

void CALLBACK LookAtBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = VisibleWindowOf(L"#32770");
    if (!box || !looking)
        return;
    looking->caption = Narrow(WindowText(box));
    looking->closeButton = GetWindowLongW(box, GWL_STYLE) & WS_SYSMENU;
    looking->resizable = GetWindowLongW(box, GWL_STYLE) & WS_THICKFRAME;
    EnumChildWindows(box, SeeChild, LPARAM(box));
    looking->ownerEnabled = IsWindowEnabled(lookingOwner);
    looking->ownerTopmost = GetWindowLongW(lookingOwner, GWL_EXSTYLE) & WS_EX_TOPMOST;
    RECT frame, work;
    GetWindowRect(box, &frame);
    // The whole caption, in the title bar's face, beside the close button.
    const NONCLIENTMETRICSW metrics = Metrics();
    HDC dc = GetDC(box);
    const HGDIOBJ was = SelectObject(dc, CreateFontIndirectW(&metrics.lfCaptionFont));
    SIZE caption = {};
    const std::wstring title = WindowText(box);
    GetTextExtentPoint32W(dc, title.c_str(), int(title.size()), &caption);
    DeleteObject(SelectObject(dc, was));
    ReleaseDC(box, dc);
    looking->captionFits = frame.right - frame.left >= caption.cx + metrics.iCaptionWidth;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    looking->centred = std::abs((frame.left + frame.right) - (work.left + work.right)) <= 2 &&
                       std::abs((frame.top + frame.bottom) - (work.top + work.bottom)) <= 2;
    closing = looking;
    looking = nullptr;
    // Escape, Alt+F4 (as the close button does) and Enter, in turn, close each kind.
    static const struct { WORD modifier, key; const char* name; } ways[] = {
        {0, VK_ESCAPE, "Escape"}, {VK_MENU, VK_F4, "Alt+F4"}, {0, VK_RETURN, "Enter"}};
    const auto& way = ways[closed[closing->icon]++ % 3];
    Stroke(way.key, way.modifier);
    closing->closedBy = way.name;
    closingTimer = SetTimer(nullptr, 0, 20, SeeItClose);
}

// A box still open after many turns of its loop did not take its key: it
// is closed otherwise, so that the run goes on to say so.
void CALLBACK SeeItClose(HWND, UINT, UINT_PTR timer, DWORD)
{
    static int turns = 0;
    HWND box = VisibleWindowOf(L"#32770");
    if (box && closing && ++turns < 25)
        return;
    turns = 0;
    KillTimer(nullptr, timer);
    closingTimer = 0;
    if (!box || !closing)
        return;
    closing->closedBy += " did not close it";
    closing = nullptr;
    EndDialog(box, IDOK);
}

template <class Show>
void Look(std::deque<SeenBox>& seen, HWND owner, Show show)
{
    // A box may open while another one opens (a fault the run reports):
    // each is looked at and closed, the outer one after the inner.
    seen.emplace_back();
    SeenBox* const outer = std::exchange(looking, &seen.back());
    const HWND outerOwner = std::exchange(lookingOwner, owner);
    if (opening++ == 0)
        lookingTimer = SetTimer(nullptr, 0, 20, LookAtBox);
    show();
    looking = outer;
    lookingOwner = outerOwner;
    closing = nullptr;
    if (--opening == 0)
        KillTimer(nullptr, lookingTimer);
    if (closingTimer)
        KillTimer(nullptr, std::exchange(closingTimer, 0));
}

}  // namespace

std::string MessageFace() { return FaceOf(Metrics().lfMessageFont); }

void SeeingPresenter::ShowMessage(std::string_view text)
{
    Look(seen, owner_, [&] { boxes_.ShowMessage(text); });
}

void SeeingPresenter::ShowError(std::string_view message)
{
    Look(seen, owner_, [&] { boxes_.ShowError(message); });
}

}  // namespace kvorn::testing
