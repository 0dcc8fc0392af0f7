// Times how long the program takes from being started to showing its first
// window painted on the X display: starts it, waits for the map of its
// top-level window, then for the window to be painted, and ends it. Run on an otherwise empty
// display (e.g. Xvfb).
//
// Usage: startup_probe PROGRAM [RUNS]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

unsigned long pixelAt(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

Window waitForMap(Display* display) {
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) return event.xmap.window;
    }
}

// Waits until the middle of the window's top band (its banner, never black)
// is painted; a newly mapped window shows black until the program paints.
void waitForPaint(Display* display, Window window) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    const int x = attributes.width / 2;
    const int y = std::min(10, attributes.height - 1);
    constexpr unsigned long kUnpainted = 0;
    while (pixelAt(display, window, x, y) == kUnpainted) usleep(500);
}

double timeOneStart(Display* display, const char* program) {
    const auto started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    const Window window = waitForMap(display);
    waitForPaint(display, window);
    const auto shown = Clock::now();
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XSync(display, True);  // drop the events of this run
    return std::chrono::duration<double, std::milli>(shown - started).count();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) times.push_back(timeOneStart(display, argv[1]));
    std::sort(times.begin(), times.end());
    std::printf("runs %d  min %.0f ms  median %.0f ms  max %.0f ms\n", runs, times.front(),
                times[times.size() / 2], times.back());
    XCloseDisplay(display);
    return 0;
}
