#include "real_input.h"

// Qt first: Xlib's macros (Status, Bool) would break its headers.
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The last mark Qt has handled, seen in its own stream of X events. Each
// carries its number: a count of notices would run ahead of the marks on
// any notice more than one a mark.
class MarkFilter : public QAbstractNativeEventFilter {
public:
    xcb_atom_t atom = 0;
    long seen = 0;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        auto* mark = reinterpret_cast<xcb_client_message_event_t*>(event);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE || mark->type != atom)
            return false;
        seen = std::max<long>(seen, long(mark->data.data32[0]));
        return true;  // the test's own, nothing for Qt
    }
};

MarkFilter& Marks()
{
    static MarkFilter* filter = [] {
        auto* f = new MarkFilter;
        QCoreApplication::instance()->installNativeEventFilter(f);
        return f;
    }();
    return *filter;
}

}  // namespace

RealInput::RealInput() : display_(XOpenDisplay(nullptr))
{
    int event, error, major, minor;
    if (display_ && !XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
    if (display_) {
        markAtom_ = XInternAtom(display_, "_KVORN_TEST_MARK", False);
        Marks().atom = xcb_atom_t(markAtom_);
    }
}

RealInput::~RealInput()
{
    if (display_)
        XCloseDisplay(display_);
}

void RealInput::MoveTo(QPoint global)
{
    // Qt's places are logical; the server's are the screen's own pixels.
    const QPoint native = (QPointF(global) * QGuiApplication::primaryScreen()->devicePixelRatio()).toPoint();
    XTestFakeMotionEvent(display_, -1, native.x(), native.y(), CurrentTime);
    Settle();
}

void RealInput::Hold(bool shift, bool control, bool down)
{
    if (control)
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XK_Control_L), down, CurrentTime);
    if (shift)
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XK_Shift_L), down, CurrentTime);
}

void RealInput::Click(QPoint global, unsigned button, bool shift)
{
    MoveTo(global);
    Hold(shift, false, true);
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    Hold(shift, false, false);
    Settle();
}

void RealInput::PressAndLeave(QPoint global, QPoint releasedAt, const std::function<void()>& whileHeld)
{
    MoveTo(global);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    if (Settle())
        whileHeld();
    MoveTo(releasedAt);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    Settle();
}

void RealInput::Wheel(QPoint global, int notches)
{
    MoveTo(global);
    const unsigned button = notches < 0 ? 5 : 4;
    for (int i = 0; i < std::abs(notches); ++i) {
        XTestFakeButtonEvent(display_, button, True, CurrentTime);
        XTestFakeButtonEvent(display_, button, False, CurrentTime);
        Settle();
    }
}

unsigned char RealInput::KeyFor(unsigned long keysym, bool& shift)
{
    int first, last, perCode;
    XDisplayKeycodes(display_, &first, &last);
    // Read from the server each time: a key given below is found here next time.
    KeySym* map = XGetKeyboardMapping(display_, KeyCode(first), last - first + 1, &perCode);
    unsigned char found = 0, spare = 0;
    for (int code = first; code <= last && !found; ++code) {
        const KeySym* syms = map + (code - first) * perCode;
        if (syms[0] == keysym || (perCode > 1 && syms[1] == keysym)) {
            found = (unsigned char)code;
            shift = syms[0] != keysym;
        }
        if (!spare && code > first + 8 && std::all_of(syms, syms + perCode, [](KeySym k) { return k == NoSymbol; }))
            spare = (unsigned char)code;
    }
    XFree(map);
    if (found)
        return found;
    // The key map has no such key: give it one, as a keyboard layout would.
    KeySym syms[2] = {keysym, keysym};
    XChangeKeyboardMapping(display_, spare, 2, syms, 1);
    XSync(display_, False);
    return spare;
}

void RealInput::Key(const char* keysym, bool shift, bool control)
{
    bool shifted = false;
    const KeyCode code = KeyFor(XStringToKeysym(keysym), shifted);
    Hold(shift || shifted, control, true);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    Hold(shift || shifted, control, false);
    Settle();
}

void RealInput::Type(char32_t c)
{
    if (c == 8 || c == 27)
        return Key(c == 8 ? "BackSpace" : "Escape");
    // Ctrl+A to Ctrl+Z are their letter's key; every character has a name as a Unicode keysym.
    const bool control = c >= 1 && c <= 26;
    char name[16];
    std::snprintf(name, sizeof name, "U%04X", unsigned(control ? U'a' + c - 1 : c));
    Key(name, false, control);
}

void RealInput::ActivateOther()
{
    if (!other_) {
        const Window root = DefaultRootWindow(display_);
        other_ = XCreateSimpleWindow(display_, root, 0, 0, 60, 60, 0, 0, 0xffffff);
        XSelectInput(display_, other_, StructureNotifyMask);
        XMapWindow(display_, other_);
        XEvent mapped;
        do
            XWindowEvent(display_, other_, StructureNotifyMask, &mapped);
        while (mapped.type != MapNotify);
    }
    Activate(other_);
}

void RealInput::Activate(unsigned long window)
{
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    Settle();
}

bool RealInput::Settle()
{
    MarkFilter& marks = Marks();
    const long mark = ++marks_;
    // The server queues fake input and hands it on between requests: the
    // round trip first puts it ahead of the mark.
    XSync(display_, False);
    XEvent sent = {};
    sent.xclient.type = ClientMessage;
    sent.xclient.window = watched_;
    sent.xclient.message_type = markAtom_;
    sent.xclient.format = 32;
    sent.xclient.data.l[0] = mark;
    XSendEvent(display_, watched_, False, NoEventMask, &sent);  // to the window's own client: Qt
    XSync(display_, False);
    const QDeadlineTimer bound(10000);
    while (marks.seen < mark && !bound.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    // What Qt read is queued as window-system events and posted events:
    // hand those on too.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    return marks.seen >= mark;
}

std::pair<std::string, unsigned long> RealInput::ManagerHints(unsigned long window)
{
    Window owner = 0;
    if (!XGetTransientForHint(display_, window, &owner))
        owner = 0;
    Atom got = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    std::string type;
    if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_WINDOW_TYPE", False), 0, 1, False,
                           XA_ATOM, &got, &format, &count, &left, &data) == Success && data && count == 1) {
        char* name = XGetAtomName(display_, *reinterpret_cast<Atom*>(data));
        type = name ? name : "";
        XFree(name);
    }
    XFree(data);
    return {type, owner};
}
