// Times a program's start: starts PROGRAM, prints the milliseconds to its
// first mapped top-level window larger than a pixel and its resident memory
// then, and ends it.
//   first_map MS PROGRAM [ARGS]

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

double Now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long ResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

bool LargerThanAPixel(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.width * attributes.height > 1;
}

int Launch(Display* display, double timeoutMs, char** argv)
{
    // Map events of new top-level windows (and of reparented ones, where a
    // window manager runs) arrive as the root's substructure notices.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    const double end = start + timeoutMs;
    const int fd = ConnectionNumber(display);
    double mapped = -1;
    while (mapped < 0 && Now() < end) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            // A window of one pixel shows nothing (Windows programs under
            // Wine map one for their taskbar entry): it is not yet a window.
            if (event.type == MapNotify && mapped < 0 && LargerThanAPixel(display, event.xmap.window))
                mapped = Now() - start;
        }
        if (mapped >= 0)
            break;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval wait{0, 5000};
        select(fd + 1, &fds, nullptr, nullptr, &wait);
    }
    usleep(200000);  // let it settle before reading its memory
    const long rss = ResidentKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (mapped < 0) {
        std::fprintf(stderr, "first_map: %s mapped no window\n", argv[0]);
        return 1;
    }
    std::printf("%.2f %ld\n", mapped, rss);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: first_map MS PROGRAM [ARGS]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_map: cannot open the display\n");
        return 2;
    }
    const int result = Launch(display, std::atof(argv[1]), argv + 2);
    XCloseDisplay(display);
    return result;
}
