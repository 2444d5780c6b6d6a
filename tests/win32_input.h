#pragma once
// A user at the Win32 window, under Wine: keys, characters and the mouse go
// in through SendInput, so the keyboard layout, TranslateMessage, the dialog
// manager and the controls' own handling all take part; what the user gets
// is read back from the windows and the screen.

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "form1_window.h"
#include "jpeg_decoder.h"
#include "dialog_presenter.h"

namespace kvorn::testing {

// Runs the window's messages until the queue has been quiet twice: injected
// input reaches it a little later. `window` gets the dialog manager's keys.
void Pump(HWND window);
void Key(WORD key, bool down);
// A key pressed and released, with a modifier held around it; Press then
// lets the window take it.
void Stroke(WORD key, WORD modifier = 0);
void Press(HWND window, WORD key, WORD modifier = 0);
// A character as a keyboard types it: by its key on the layout, control
// characters by Ctrl and their letter, anything else as a Unicode packet.
void TypeCharacter(HWND window, wchar_t c);
INPUT MouseAt(POINT screen, DWORD flags);
void ClickAt(HWND window, POINT screen, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);
// The wheel over `screen`: notches away from the user, negative towards.
void WheelAt(HWND window, POINT screen, int notches);
// Waits, pumping, for `done`; false when it did not come in `tries` rounds.
template <class Condition>
bool PumpUntil(HWND window, Condition done, int tries = 100)
{
    for (int i = 0; i < tries; ++i) {
        if (done())
            return true;
        Pump(window);
    }
    return done();
}

// What a part of a window shows, read back from the screen.
struct Shot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const  // none outside, as when nothing could be read
    {
        return x >= 0 && y >= 0 && x < width && y < height ? pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]
                                                           : CLR_INVALID;
    }
    bool operator==(const Shot&) const = default;
};
Shot Capture(HWND window, const RECT& area);
// The room `text` takes in `control`'s face: on one line, or wrapped at `width`.
RECT TextRoom(HWND control, const std::wstring& text, int width = 0);
// What `draw` draws on a picture of `width` x `height` like the screen.
Shot Drawn(int width, int height, const std::function<void(HDC)>& draw);

// An RCDATA JPEG of the program's resources, decoded; the background is
// IDR_BACKGROUND, its drawing for 200 % IDR_BACKGROUND + 20.
DecodedJpeg PictureResource(int id);
COLORREF PictureAt(const DecodedJpeg& picture, int x, int y);
// The resource's bytes, empty when there is none.
std::string_view ResourceBytes(int id, const wchar_t* type);

// A box as the user sees it while it is open.
struct SeenBox {
    std::string caption, text;
    bool icon = false, ownerEnabled = true, ownerTopmost = true, centred = false, buttonsCentred = true;
    bool closeButton = false, captionFits = false, resizable = false;
    std::vector<std::string> buttons;  // captions, the default one marked '*'
    std::set<std::string> faces;       // of its text and its buttons, as MessageFace names them
    bool textFits = true;              // in its control, wrapped at its width
    int aboveText = -1, underButton = -1, inkFrom = -1;
    int leftOfText = -1, rightOfText = -1;  // the room beside its text's control
    SIZE button = {};                     // its last button's
    SIZE unit = {};                       // its button face's base units: 4 dialog units across, 8 down
    int spare = -1;  // the room right of its text set on one line
    std::string closedBy;              // the key, and whether it did
};

// The system's face for a box's text: its name, height and whether bold.
std::string MessageFace();

// The real boxes, each looked at while it is open and closed with Escape,
// Alt+F4 or Enter, as a user would.
class SeeingPresenter : public MessagePresenter {
public:
    void SetOwner(HWND owner) { boxes_.SetOwner(owner), owner_ = owner; }
    void ShowMessage(std::string_view text) override;
    void ShowError(std::string_view message) override;
    std::deque<SeenBox> seen;  // a box opened while another opens keeps its place

private:
    DialogPresenter boxes_;
    HWND owner_ = nullptr;
};

// A visible window of this thread of the class `type` ("#32770": a box).
HWND VisibleWindowOf(const wchar_t* type);
// The form's control that has the keyboard focus (a combo box for its
// text part); Image1 when none of them has it.
Control Focused(const Form1Window& window);

}  // namespace kvorn::testing
