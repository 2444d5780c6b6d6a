#include "real_input.h"

// Qt first: Xlib's macros (Status, Bool) would break its headers.
#include <QTest>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

RealInput::RealInput() : display_(XOpenDisplay(nullptr))
{
    int event, error, major, minor;
    if (display_ && !XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

RealInput::~RealInput()
{
    if (display_)
        XCloseDisplay(display_);
}

void RealInput::MoveTo(QPoint global)
{
    XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
    Settle();
}

void RealInput::Click(QPoint global, unsigned button)
{
    MoveTo(global);
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    Settle();
}

void RealInput::Wheel(QPoint global, int notches)
{
    MoveTo(global);
    const unsigned button = notches < 0 ? 5 : 4;
    for (int i = 0; i < (notches < 0 ? -notches : notches); ++i) {
        XTestFakeButtonEvent(display_, button, True, CurrentTime);
        XTestFakeButtonEvent(display_, button, False, CurrentTime);
        Settle();
    }
}

void RealInput::Key(const char* keysym, bool shift)
{
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym));
    const KeyCode shiftCode = XKeysymToKeycode(display_, XK_Shift_L);
    if (shift)
        XTestFakeKeyEvent(display_, shiftCode, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    if (shift)
        XTestFakeKeyEvent(display_, shiftCode, False, CurrentTime);
    Settle();
}

void RealInput::Settle()
{
    XSync(display_, False);
    // The events reach Qt's connection a little after the server has them.
    QTest::qWait(60);
}
