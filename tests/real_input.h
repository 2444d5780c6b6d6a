#pragma once
// Input as a user gives it: through the X server's XTest extension, so
// that the server, the key map and Qt's own delivery (focus before a
// wheel, the text a key carries) all take part.

#include <QPoint>
#include <functional>
#include <string>
#include <utility>

struct _XDisplay;

class RealInput {
public:
    RealInput();
    ~RealInput();
    RealInput(const RealInput&) = delete;
    RealInput& operator=(const RealInput&) = delete;
    bool Ready() const { return display_ != nullptr; }

    // The Qt window whose events tell when Qt has read everything sent.
    void Watch(unsigned long window) { watched_ = window; }

    void MoveTo(QPoint global);
    void Click(QPoint global, unsigned button = 1, bool shift = false);
    // The left button pressed at `global` and released at `releasedAt`.
    void PressAndLeave(QPoint global, QPoint releasedAt, const std::function<void()>& whileHeld);
    // Turns the wheel by whole notches: negative towards the user.
    void Wheel(QPoint global, int notches);
    // A key by its keysym name ("Tab", "Delete", "7"), with Shift or Control if asked.
    void Key(const char* keysym, bool shift = false, bool control = false);
    // Types one character (not Tab or Enter: Key) as a keyboard makes it: its
    // key, with Shift where the map has it there, Control for the editing
    // shortcuts' characters; a character the map lacks is given a spare key first.
    void Type(char32_t character);
    // Another program's window activated, and `window` again, as a window
    // manager does it.
    void ActivateOther();
    void Activate(unsigned long window);
    // Waits until Qt has read and handled everything sent so far: a mark
    // sent to the watched window after the input comes back to Qt behind it.
    // Returns false if it did not within the bound.
    bool Settle();
    // What a window manager is told of `window`: its type's atom name and
    // the window it belongs to (0 for none).
    std::pair<std::string, unsigned long> ManagerHints(unsigned long window);

private:
    unsigned char KeyFor(unsigned long keysym, bool& shift);
    void Hold(bool shift, bool control, bool down);  // the modifiers asked for, pressed or released

    _XDisplay* display_;
    unsigned long watched_ = 0;
    unsigned long other_ = 0;
    unsigned long markAtom_ = 0;
    long marks_ = 0;
};
