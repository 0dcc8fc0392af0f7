// Times how long the program takes from being started to showing its first
// window painted on the X display: starts it, waits for the map of its
// top-level window, then for the window to be painted, and ends it. Run on an otherwise empty
// display (e.g. Xvfb). Also prints the processor time the program used by
// then, which other work on the machine changes less than the wall-clock time.
//
// Usage: startup_probe PROGRAM [RUNS]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/resource.h>
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

struct Start {
    double shown;  // milliseconds from the start to the painted window
    double cpu;    // milliseconds of processor time, the program's own and the kernel's for it
};

double milliseconds(const timeval& time) {
    return time.tv_sec * 1e3 + time.tv_usec / 1e3;
}

Start timeOneStart(Display* display, const char* program) {
    const auto started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    const Window window = waitForMap(display);
    waitForPaint(display, window);
    const auto shown = Clock::now();
    kill(child, SIGSTOP);  // what it uses after the paint is not counted
    rusage usage{};
    wait4(child, nullptr, WUNTRACED, &usage);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    XSync(display, True);  // drop the events of this run
    return {std::chrono::duration<double, std::milli>(shown - started).count(),
            milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime)};
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
    std::vector<double> cpu;
    for (int run = 0; run < runs; ++run) {
        const Start start = timeOneStart(display, argv[1]);
        times.push_back(start.shown);
        cpu.push_back(start.cpu);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("runs %d  min %.0f ms  median %.0f ms  max %.0f ms  cpu median %.1f ms\n", runs,
                times.front(), times[times.size() / 2], times.back(), cpu[cpu.size() / 2]);
    XCloseDisplay(display);
    return 0;
}
