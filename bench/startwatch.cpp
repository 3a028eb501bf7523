// Starts a program and measures it from outside, the way a user sees it: the milliseconds from the
// start of the process until its top-level window with the given title is mapped and has been drawn
// for the first time, then, after an idle pause, the process's resident set size.
//
//   startwatch <title> <idle milliseconds> <program> [arguments...]
// prints "startup_ms <ms>" and "rss_kib <KiB>" and ends the program. Needs an X server with the DAMAGE
// extension (Xvfb has it) in DISPLAY and no window manager, so that top-level windows are root's
// children.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <poll.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

std::string windowTitle(Display *display, Window window)
{
    XTextProperty property{};
    std::string title;
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    if (XGetTextProperty(display, window, &property, netName) && property.value) {
        title.assign(reinterpret_cast<char *>(property.value), property.nitems);
        XFree(property.value);
    } else if (XGetWMName(display, window, &property) && property.value) {
        title.assign(reinterpret_cast<char *>(property.value), property.nitems);
        XFree(property.value);
    }
    return title;
}

long residentKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

int ignoreErrors(Display *, XErrorEvent *)
{
    // A window may be gone before we look at it; that is not our failure.
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <title> <idle ms> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const std::string wanted = argv[1];
    const int idleMs = std::atoi(argv[2]);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startwatch: cannot open the display\n");
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "startwatch: the X server has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double started = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        std::perror("startwatch: exec");
        _exit(127);
    }

    // Every new top-level window is watched for drawing from its creation on, so that no early paint
    // is missed; the first drawing of a mapped window with the wanted title ends the wait.
    std::set<Window> mapped;
    double shownAt = -1;
    const int fd = ConnectionNumber(display);
    while (shownAt < 0) {
        if (!XPending(display)) {
            pollfd watch{fd, POLLIN, 0};
            if (poll(&watch, 1, 200) == 0) {
                int status = 0;
                if (waitpid(child, &status, WNOHANG) == child) {
                    std::fprintf(stderr, "startwatch: the program ended before showing its window\n");
                    return 1;
                }
                if (nowMs() - started > 30000) {
                    std::fprintf(stderr, "startwatch: no window titled \"%s\" within 30 s\n", wanted.c_str());
                    kill(child, SIGKILL);
                    return 1;
                }
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify) {
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify) {
            if (windowTitle(display, event.xmap.window) == wanted)
                mapped.insert(event.xmap.window);
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto *damage = reinterpret_cast<XDamageNotifyEvent *>(&event);
            if (mapped.count(damage->drawable))
                shownAt = nowMs();
        }
    }

    usleep(idleMs * 1000);
    const long rss = residentKib(child);
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    std::printf("startup_ms %.2f\nrss_kib %ld\n", shownAt - started, rss);
    return 0;
}
