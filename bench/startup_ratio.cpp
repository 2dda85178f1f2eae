// Start-up as the player sees it. Starts the floor program (a bare Qt window with
// one label) and Quorvik alternately, many times, and times each from the
// process start to the X server mapping its first top-level window, as seen by a
// listener on the root window. The peak resident size of each is read at that
// moment, while it still runs. Quorvik's first window is its start-up question:
// after a pause the measure answers it No by the keyboard (XTEST: Escape in
// Qt's box, N in Windows' box), and times the main window's mapping from that
// key press. No, so that the main window comes next: Yes searches for the
// settings folder and tells what it found in a box before the main window.
//   startup_ratio [--wine <wine>] [--answer-floor <program>] <floor> <quorvik> [runs]
// With --wine both are Windows programs, each started through that Wine. With
// --answer-floor a bare program that asks the same question and then builds
// the same window as Quorvik's runs alternately too, and Quorvik's answer is
// timed against its own. A window manager may be running.
// Needs an X server in DISPLAY with no other program opening windows.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// How long a player looks at the question before answering; the program's own
// work after the answer is timed from the key press, not from here.
constexpr auto kThinkTime = std::chrono::milliseconds(200);
constexpr auto kTimeout = std::chrono::seconds(20);

// Peak resident size in KiB from /proc/<pid>/status, -1 if unreadable.
long peakResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// A window that died between its event and our question about it is no error.
int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

struct Mapped {
    Window window = 0;
    Clock::time_point at;
    long peakKiB = -1;
};

// The Wine that starts Windows programs; none for native ones.
const char* wine = nullptr;

class RootWatch {
public:
    bool open() {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) return false;
        XSetErrorHandler(ignoreXErrors);
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) return false;
        // Top-level windows are created as the root's children; a window
        // manager then moves each into a frame of its own, where the root no
        // longer hears of its mapping. Each new window is watched itself.
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        netWmPid_ = XInternAtom(display_, "_NET_WM_PID", False);
        noKey_ = XKeysymToKeycode(display_, wine != nullptr ? XK_n : XK_Escape);
        XSync(display_, True);
        return true;
    }
    ~RootWatch() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }

    // Events left from an earlier run.
    void discard() {
        XSync(display_, True);
        seen_ = 0;
    }

    // The next top-level window of `pid`, other than `except`, to be mapped;
    // nothing if the process ends or the time runs out first.
    std::optional<Mapped> waitForMap(pid_t pid, Window except) {
        const auto deadline = Clock::now() + kTimeout;
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        for (;;) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                Window window = 0;
                if (event.type == CreateNotify && !event.xcreatewindow.override_redirect &&
                    event.xcreatewindow.parent == DefaultRootWindow(display_)) {
                    XSelectInput(display_, event.xcreatewindow.window, StructureNotifyMask);
                    // Mapped before it was watched: it is on screen now.
                    XWindowAttributes attributes{};
                    if (XGetWindowAttributes(display_, event.xcreatewindow.window, &attributes) &&
                        attributes.map_state != IsUnmapped) {
                        window = event.xcreatewindow.window;
                    }
                } else if (event.type == MapNotify && !event.xmap.override_redirect) {
                    window = event.xmap.window;
                }
                if (window == 0 || window == except || seen_ == window) continue;
                Mapped mapped{window, Clock::now(), peakResidentKiB(pid)};
                if (ownerOf(window) == pid) {
                    seen_ = window;  // its map reaches us both through the root and itself
                    return mapped;
                }
            }
            if (Clock::now() > deadline || waitpid(pid, nullptr, WNOHANG) != 0) return std::nullopt;
            poll(&connection, 1, 10);
        }
    }

    // Gives the window the keyboard focus and answers it No.
    Clock::time_point pressNo(Window window) {
        XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
        XTestFakeKeyEvent(display_, noKey_, True, CurrentTime);
        XTestFakeKeyEvent(display_, noKey_, False, CurrentTime);
        XFlush(display_);
        return Clock::now();
    }

private:
    pid_t ownerOf(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        pid_t owner = -1;
        if (XGetWindowProperty(display_, window, netWmPid_, 0, 1, False, XA_CARDINAL, &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr && count == 1 && format == 32) {
            owner = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
        }
        if (data != nullptr) XFree(data);
        return owner;
    }

    Display* display_ = nullptr;
    Window seen_ = 0;  // the window last reported
    Atom netWmPid_ = None;
    KeyCode noKey_ = 0;
};

pid_t start(const char* binary) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* native[] = {const_cast<char*>(binary), nullptr};
    char* throughWine[] = {const_cast<char*>(wine), const_cast<char*>(binary), nullptr};
    char** argv = wine != nullptr ? throughWine : native;
    pid_t child = 0;
    const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? child : -1;
}

void end(pid_t child) {
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
}

struct Run {
    double firstWindowMs = -1;
    double peakMiB = -1;
    double answerToMainMs = -1;  // Quorvik only
    double mainPeakMiB = -1;
};

double mib(long kib) { return kib / 1024.0; }

Run runFloor(RootWatch& watch, const char* binary) {
    Run run;
    watch.discard();
    const auto started = Clock::now();
    const pid_t child = start(binary);
    if (child < 0) return run;
    if (const auto mapped = watch.waitForMap(child, 0)) {
        run.firstWindowMs = Milliseconds(mapped->at - started).count();
        run.peakMiB = mib(mapped->peakKiB);
    }
    end(child);
    return run;
}

Run runQuorvik(RootWatch& watch, const char* binary) {
    Run run;
    watch.discard();
    const auto started = Clock::now();
    const pid_t child = start(binary);
    if (child < 0) return run;
    if (const auto question = watch.waitForMap(child, 0)) {
        run.firstWindowMs = Milliseconds(question->at - started).count();
        run.peakMiB = mib(question->peakKiB);
        std::this_thread::sleep_for(kThinkTime);
        const auto answered = watch.pressNo(question->window);
        if (const auto main = watch.waitForMap(child, question->window)) {
            run.answerToMainMs = Milliseconds(main->at - answered).count();
            run.mainPeakMiB = mib(main->peakKiB);
        }
    }
    end(child);
    return run;
}

double median(const std::vector<Run>& runs, double Run::*field) {
    std::vector<double> values;
    for (const Run& run : runs) values.push_back(run.*field);
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool complete(const Run& run, bool quorvik) {
    return run.firstWindowMs >= 0 && run.peakMiB >= 0 &&
           (!quorvik || (run.answerToMainMs >= 0 && run.mainPeakMiB >= 0));
}

}  // namespace

int main(int argc, char* argv[]) {
    const char* self = argv[0];
    const char* answerFloor = nullptr;
    std::vector<char*> args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--wine" && i + 1 < argc) {
            wine = argv[++i];
        } else if (arg == "--answer-floor" && i + 1 < argc) {
            answerFloor = argv[++i];
        } else {
            args.push_back(argv[i]);
        }
    }
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: %s [--wine <wine>] [--answer-floor <program>] <floor binary> "
                     "<quorvik binary> [runs]\n",
                     self);
        return 2;
    }
    const char* floorBinary = args[0];
    const char* quorvikBinary = args[1];
    const int runs = args.size() > 2 ? std::max(1, std::atoi(args[2])) : 21;
    RootWatch watch;
    if (!watch.open()) {
        std::fprintf(stderr, "%s: no X server with the XTEST extension in DISPLAY\n", self);
        return 2;
    }
    // One start of each first, so all find their files in the page cache.
    runFloor(watch, floorBinary);
    runQuorvik(watch, quorvikBinary);
    if (answerFloor != nullptr) runQuorvik(watch, answerFloor);

    std::vector<Run> floor, quorvik, answered;
    for (int i = 0; i < runs; ++i) {
        floor.push_back(runFloor(watch, floorBinary));
        quorvik.push_back(runQuorvik(watch, quorvikBinary));
        bool whole = complete(floor.back(), false) && complete(quorvik.back(), true);
        if (answerFloor != nullptr) {
            answered.push_back(runQuorvik(watch, answerFloor));
            whole = whole && complete(answered.back(), true);
        }
        if (!whole) {
            std::fprintf(stderr, "%s: run %d: a window did not appear within %lld s\n", self, i + 1,
                         static_cast<long long>(kTimeout.count()));
            return 1;
        }
    }

    const double floorMs = median(floor, &Run::firstWindowMs);
    const double quorvikMs = median(quorvik, &Run::firstWindowMs);
    const double floorMiB = median(floor, &Run::peakMiB);
    const double quorvikMiB = median(quorvik, &Run::peakMiB);
    const double ratio = quorvikMs / floorMs;
    const double extraMiB = quorvikMiB - floorMiB;
    std::printf("start-up to the first window mapped, median of %d alternating runs each:\n", runs);
    std::printf("  %-31s%6.1f ms   peak resident %5.1f MiB\n",
                wine != nullptr ? "bare program, one message box:" : "bare window with one label:",
                floorMs, floorMiB);
    std::printf("  Quorvik, its start-up question: %4.1f ms   peak resident %5.1f MiB\n", quorvikMs,
                quorvikMiB);
    if (wine != nullptr) {
        // Under Wine the memory is Wine's own more than the program's: the time is the measure.
        std::printf("  ratio %.2f (goal 1.30 at most): %s\n", ratio,
                    ratio <= 1.3 ? "met" : "NOT met");
    } else {
        std::printf("  ratio %.2f (goal 1.30 at most), memory %+.1f MiB (goal +10.0 at most): %s\n",
                    ratio, extraMiB, ratio <= 1.3 && extraMiB <= 10.0 ? "met" : "NOT met");
    }
    const double answerMs = median(quorvik, &Run::answerToMainMs);
    if (answerFloor == nullptr) {
        std::printf("answer (No) to the main window mapped: %.1f ms   peak resident %5.1f MiB\n",
                    answerMs, median(quorvik, &Run::mainPeakMiB));
        return 0;
    }
    const double answerFloorMs = median(answered, &Run::answerToMainMs);
    const double answerRatio = answerMs / answerFloorMs;
    std::printf("answer (No) to the main window mapped, median of %d alternating runs each:\n",
                runs);
    std::printf("  bare program, the same window:  %6.1f ms   peak resident %5.1f MiB\n",
                answerFloorMs, median(answered, &Run::mainPeakMiB));
    std::printf("  Quorvik, its main window:       %6.1f ms   peak resident %5.1f MiB\n", answerMs,
                median(quorvik, &Run::mainPeakMiB));
    std::printf("  ratio %.2f (goal 1.30 at most): %s\n", answerRatio,
                answerRatio <= 1.3 ? "met" : "NOT met");
    return 0;
}
