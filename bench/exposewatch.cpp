// Starts a program on an X display and stamps, from outside it, when its
// first top-level window is mapped and when that window has been drawn in
// full; then reads the program's peak resident and its anonymous memory and
// ends it.
//
//   exposewatch PROGRAM [ARGS...]
//
// Prints one line: map_ms drawn_ms first_damage_ms vmhwm_kb maxrss_kb anon_kb
// (times from just before the fork; anon_kb is the resident anonymous memory
// at drawn: the program's own allocations, without the files it maps).
// "Drawn" is the moment the window's whole area has been painted by the
// program, as the X server's DAMAGE extension reports it: the window has no
// background of its own (Qt sets none), so only the program's own drawing
// counts.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Which pixels of a window the program has painted so far.
struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<bool> painted;
    long remaining = 0;

    void Reset(int w, int h) {
        width = w;
        height = h;
        painted.assign(static_cast<std::size_t>(w) * h, false);
        remaining = static_cast<long>(w) * h;
    }

    void Paint(int x, int y, int w, int h) {
        for (int row = std::max(y, 0); row < std::min(y + h, height); ++row)
            for (int col = std::max(x, 0); col < std::min(x + w, width); ++col) {
                const std::size_t cell = static_cast<std::size_t>(row) * width + col;
                if (!painted[cell]) {
                    painted[cell] = true;
                    --remaining;
                }
            }
    }
};

// A "Field: value kB" line of a /proc/PID file.
long ProcField(pid_t pid, const char* file, const char* field) {
    std::ifstream lines("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(lines, line))
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::strtol(line.c_str() + length + 1, nullptr, 10);
    return -1;
}

int ignoreErrors(Display*, XErrorEvent*) {
    // A window may be gone before the damage request for it arrives.
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "exposewatch: cannot open the display\n");
        return 1;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "exposewatch: the display has no DAMAGE extension\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[1], argv + 1);
        std::perror("exposewatch: exec");
        _exit(127);
    }
    if (child < 0) {
        std::perror("exposewatch: fork");
        return 1;
    }

    std::map<Window, Damage> damages;
    Window target = None;
    Coverage coverage;
    double mapMs = -1;
    double firstDamageMs = -1;
    double drawnMs = -1;
    const int fd = ConnectionNumber(display);
    while (drawnMs < 0) {
        if (!XPending(display)) {
            pollfd waitFor{fd, POLLIN, 0};
            if (poll(&waitFor, 1, 100) == 0) {
                int status = 0;
                if (waitpid(child, &status, WNOHANG) == child) {
                    std::fprintf(stderr, "exposewatch: the program ended before drawing\n");
                    return 1;
                }
                if (MillisecondsSince(start) > 30000) {
                    std::fprintf(stderr, "exposewatch: nothing drawn within 30 s\n");
                    kill(child, SIGKILL);
                    waitpid(child, nullptr, 0);
                    return 1;
                }
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double now = MillisecondsSince(start);
        if (event.type == CreateNotify) {
            // Watch every new top-level window from its creation, before
            // it can be mapped and drawn.
            if (!event.xcreatewindow.override_redirect)
                damages[event.xcreatewindow.window] =
                    XDamageCreate(display, event.xcreatewindow.window, XDamageReportRawRectangles);
            XFlush(display);
        } else if (event.type == MapNotify && target == None &&
                   damages.contains(event.xmap.window)) {
            target = event.xmap.window;
            mapMs = now;
            XWindowAttributes attributes;
            XGetWindowAttributes(display, target, &attributes);
            coverage.Reset(attributes.width, attributes.height);
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (damage.drawable != target)
                continue;
            if (firstDamageMs < 0)
                firstDamageMs = now;
            coverage.Paint(damage.area.x, damage.area.y, damage.area.width, damage.area.height);
            if (coverage.remaining == 0)
                drawnMs = now;
        }
    }

    const long vmhwm = ProcField(child, "status", "VmHWM");
    const long anonymous = ProcField(child, "smaps_rollup", "Anonymous");
    kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    std::printf("%.2f %.2f %.2f %ld %ld %ld\n", mapMs, drawnMs, firstDamageMs, vmhwm,
                usage.ru_maxrss, anonymous);
    XCloseDisplay(display);
    return 0;
}
