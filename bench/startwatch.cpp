// Starts a program and measures it from outside, the way a user sees it: the milliseconds from the
// start of the process until its top-level window with the given title is mapped and has been drawn
// for the first time, then, after an idle pause, the process's resident set size. Then, for each
// click asked for, it clicks the left button there and measures the milliseconds from the press until
// the window's last change, and the resident set size once the window has settled.
//
//   startwatch [-c X,Y]... <title> <idle milliseconds> <program> [arguments...]
// prints "startup_ms <ms>" and "rss_kib <KiB>", then "click_ms <ms>" and "click_rss_kib <KiB>" for
// each click in turn (X,Y in the window's coordinates), and ends the program. Needs an X server with
// the DAMAGE and XTEST extensions (Xvfb has them) in DISPLAY and no window manager, so that top-level
// windows are root's children.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
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
#include <utility>
#include <vector>

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

// A window's change is over once nothing has been drawn in it for this long.
constexpr double QuietMs = 300;

// Handles events until the watched damage has seen nothing for QuietMs; answers the time of its last
// change, or -1 where there was none.
double lastChange(Display *display, int damageEvent, Damage watched)
{
    double last = -1;
    double activity = nowMs();
    const int fd = ConnectionNumber(display);
    while (nowMs() - activity < QuietMs) {
        if (!XPending(display)) {
            pollfd watch{fd, POLLIN, 0};
            poll(&watch, 1, int(QuietMs - (nowMs() - activity)) + 1);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == damageEvent + XDamageNotify
            && reinterpret_cast<XDamageNotifyEvent *>(&event)->damage == watched) {
            // Reported once until subtracted: subtracting asks for the next change.
            XDamageSubtract(display, watched, None, None);
            last = activity = nowMs();
        }
    }
    return last;
}

int ignoreErrors(Display *, XErrorEvent *)
{
    // A window may be gone before we look at it; that is not our failure.
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    std::vector<std::pair<int, int>> clicks;
    int first = 1;
    while (first + 1 < argc && std::strcmp(argv[first], "-c") == 0) {
        int x = 0, y = 0;
        if (std::sscanf(argv[first + 1], "%d,%d", &x, &y) != 2) {
            std::fprintf(stderr, "startwatch: -c wants X,Y, not %s\n", argv[first + 1]);
            return 2;
        }
        clicks.emplace_back(x, y);
        first += 2;
    }
    if (argc - first < 3) {
        std::fprintf(stderr, "usage: %s [-c X,Y]... <title> <idle ms> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const std::string wanted = argv[first];
    const int idleMs = std::atoi(argv[first + 1]);
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
    int xtestEvent = 0, xtestError = 0, xtestMajor = 0, xtestMinor = 0;
    if (!clicks.empty() && !XTestQueryExtension(display, &xtestEvent, &xtestError, &xtestMajor, &xtestMinor)) {
        std::fprintf(stderr, "startwatch: the X server has no XTEST extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double started = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[first + 2], argv + first + 2);
        std::perror("startwatch: exec");
        _exit(127);
    }

    // Every new top-level window is watched for drawing from its creation on, so that no early paint
    // is missed; the first drawing of a mapped window with the wanted title ends the wait.
    std::set<Window> mapped;
    double shownAt = -1;
    Window shown = None;
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
            if (mapped.count(damage->drawable)) {
                shownAt = nowMs();
                shown = damage->drawable;
            }
        }
    }

    usleep(idleMs * 1000);
    std::printf("startup_ms %.2f\nrss_kib %ld\n", shownAt - started, residentKib(child));
    std::fflush(stdout);

    const Damage watched = XDamageCreate(display, shown, XDamageReportNonEmpty);
    for (const auto &[x, y] : clicks) {
        int screenX = 0, screenY = 0;
        Window under = None;
        XTranslateCoordinates(display, shown, root, x, y, &screenX, &screenY, &under);
        // The pointer arrives first, and what it changes on its way (hover looks) settles.
        XTestFakeMotionEvent(display, -1, screenX, screenY, CurrentTime);
        XSync(display, False);
        lastChange(display, damageEvent, watched);
        const double pressed = nowMs();
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        const double changed = lastChange(display, damageEvent, watched);
        std::printf("click_ms %.2f\nclick_rss_kib %ld\n", changed < 0 ? 0.0 : changed - pressed, residentKib(child));
        std::fflush(stdout);
    }

    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    return 0;
}
