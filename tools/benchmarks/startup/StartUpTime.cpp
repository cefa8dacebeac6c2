// How long the game takes to come up, measured from outside as a player sees it: the time from
// starting the process to the first map event of its window, and to the first frame in which the
// window shows a picture (the title) instead of a blank.
//
//   bench_startup PROGRAM [RUNS]       (needs an X display: xvfb-run -a bench_startup ...)
//
// Each run starts PROGRAM with its own copy of the environment, waits for both moments (20 s
// at most), then ends it with SIGTERM. Prints every run and the median and spread of each.

#include "app/base/StandardOptions.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using DisplayConnection = std::unique_ptr<Display, decltype(&XCloseDisplay)>;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

/// True when the window's pixels are not all one colour: something has been painted.
bool showsPicture(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    // A band across the middle of the window is enough to tell a blank from the title picture
    // and costs the X server far less than the whole window on every poll.
    const int width = attributes.width;
    const int y = attributes.height / 2;
    XImage* image = XGetImage(display, window, 0, y, static_cast<unsigned>(width), 8, AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long first = XGetPixel(image, 0, 0);
    bool varied = false;
    for (int row = 0; row < 8 && !varied; ++row)
        for (int x = 0; x < width && !varied; ++x)
            varied = XGetPixel(image, x, row) != first;
    XDestroyImage(image);
    return varied;
}

struct Run {
    std::optional<double> mapped, painted;
};

Run measureOnce(const DisplayConnection& display, const char* program)
{
    Run run;
    const Window root = DefaultRootWindow(display.get());
    XSelectInput(display.get(), root, SubstructureNotifyMask);
    XSync(display.get(), False);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "bench_startup: %s cannot be started\n", program);
        std::exit(2);
    }

    std::vector<Window> mappedWindows;
    while (!run.painted && millisecondsSince(start) < 20000) {
        while (XPending(display.get())) {
            XEvent event;
            XNextEvent(display.get(), &event);
            if (event.type == MapNotify && event.xmap.event == root) {
                if (!run.mapped)
                    run.mapped = millisecondsSince(start);
                mappedWindows.push_back(event.xmap.window);
            }
        }
        for (Window window : mappedWindows)
            if (showsPicture(display.get(), window)) {
                run.painted = millisecondsSince(start);
                break;
            }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    XSelectInput(display.get(), root, NoEventMask);
    return run;
}

void report(const char* what, std::vector<double> times)
{
    if (times.empty()) {
        std::printf("%-22s never seen\n", what);
        return;
    }
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2 ? times[times.size() / 2]
                                           : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf("%-22s median %6.1f ms   min %6.1f   max %6.1f   (%zu runs)\n", what, median, times.front(),
                times.back(), times.size());
}

constexpr std::string_view Usage =
    "Usage: bench_startup PROGRAM [RUNS]\n"
    "Starts PROGRAM RUNS times (default 10) on the X display and prints, for every run and as the\n"
    "median and spread of all, the milliseconds until its first window is mapped and until that\n"
    "window shows a picture. Needs a display: xvfb-run -a bench_startup build/bin/poronpa 10\n";

} // namespace

int main(int argc, char** argv)
{
    if (poronpa::answerHelpOrVersion(argc, argv, "bench_startup", Usage))
        return 0;
    const std::optional<int> runs = argc == 3 ? poronpa::numberArgument<int>(argv[2]) : 10;
    if (argc < 2 || argc > 3 || !runs || *runs < 1)
        return poronpa::refuseArguments(Usage);
    // One connection for all runs: a virtual X server resets when its last client leaves, and a
    // run started during the reset would find no display.
    DisplayConnection display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) {
        std::fprintf(stderr, "bench_startup: no X display\n");
        return 2;
    }
    std::vector<double> mapped, painted;
    for (int i = 0; i < *runs; ++i) {
        const Run run = measureOnce(display, argv[1]);
        std::printf("run %2d: mapped %s ms, title painted %s ms\n", i + 1,
                    run.mapped ? std::to_string(*run.mapped).c_str() : "-",
                    run.painted ? std::to_string(*run.painted).c_str() : "-");
        if (run.mapped)
            mapped.push_back(*run.mapped);
        if (run.painted)
            painted.push_back(*run.painted);
    }
    report("window mapped:", mapped);
    report("title painted:", painted);
    return 0;
}
