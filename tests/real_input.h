#pragma once
// Input as a user gives it: through the X server's XTest extension, so
// that the server, Xlib's key map and Qt's own delivery (focus before a
// wheel, the text a key carries) all take part.

#include <QPoint>

struct _XDisplay;

class RealInput {
public:
    RealInput();
    ~RealInput();
    RealInput(const RealInput&) = delete;
    RealInput& operator=(const RealInput&) = delete;
    bool Ready() const { return display_ != nullptr; }

    void MoveTo(QPoint global);
    void Click(QPoint global, unsigned button = 1);
    // Turns the wheel by whole notches: negative towards the user.
    void Wheel(QPoint global, int notches);
    // A key by its keysym name ("Tab", "Delete", "7"), with Shift if asked.
    void Key(const char* keysym, bool shift = false);
    // Waits until the server has passed on everything sent and Qt has read it.
    void Settle();

private:
    _XDisplay* display_;
};
