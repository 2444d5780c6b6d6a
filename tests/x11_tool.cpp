// A small X11 helper for the end-to-end tests:
//   x11_tool wait CLASS MS  print the id of CLASS's mapped window
//   x11_tool close ID       ask the window to close (WM_DELETE_WINDOW)

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool HasClass(Display* display, Window window, const char* wanted)
{
    XClassHint hint;
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool match = std::strcmp(hint.res_name, wanted) == 0 || std::strcmp(hint.res_class, wanted) == 0;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return match;
}

// Searches the window tree below `window` for a viewable one of `wanted`.
Window FindMapped(Display* display, Window window, const char* wanted)
{
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable &&
        HasClass(display, window, wanted))
        return window;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = FindMapped(display, children[i], wanted);
        if (children)
            XFree(children);
    }
    return found;
}

// Looks every 20 ms, for at least `timeoutMs`.
int Wait(Display* display, const char* wanted, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (Window w = FindMapped(display, DefaultRootWindow(display), wanted)) {
            std::printf("0x%lx\n", w);
            return 0;
        }
        usleep(20000);
    }
    std::fprintf(stderr, "x11_tool: no mapped window of class %s\n", wanted);
    return 1;
}

int Close(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11_tool: cannot open the display\n");
        return 2;
    }
    const std::string command = argc > 1 ? argv[1] : "";
    int result = 2;
    if (command == "wait" && argc == 4)
        result = Wait(display, argv[2], std::atoi(argv[3]));
    else if (command == "close" && argc == 3)
        result = Close(display, std::strtoul(argv[2], nullptr, 0));
    else
        std::fprintf(stderr, "usage: x11_tool wait CLASS MS | close ID\n");
    XCloseDisplay(display);
    return result;
}
