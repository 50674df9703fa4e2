#include "platform/sdl/sdlquit.h"

#include <X11/Xlib.h>
// The GLX protocol's error numbers; its header needs the protocol's sized types first.
#include <X11/Xmd.h>
#include <GL/glxproto.h>
#include <X11/Xproto.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace plat {

namespace {

// The signal handlers may run on any of the game's threads; only a lock-free atomic is safe to share
// with them.
std::atomic<int> g_quitSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);
bool g_quitTaken = false;

// Xlib calls its error handler on the thread that reads the reply, which is the game's.
Display* g_watchedDisplay = nullptr;
unsigned long g_watchedWindow = 0;
bool g_windowDestroyed = false;
bool g_destroyedTaken = false;
// A request about some other window that is not there: SDL follows the events of a window gone with
// requests about its parent or children, whose names it no longer has right.
int g_strayWindowRequest = 0;
XErrorHandler g_previousErrorHandler = nullptr;
// The GLX extension's first error code, or 0 when the server has no GLX.
int g_glxFirstError = 0;
// SDL was told the window was mapped when it was not: without a window manager it then gives the window
// the input focus, which the server refuses for a window not shown.
bool g_mapAnswered = false;

// Xlib's own handler calls exit, whose static destructors tear SDL down over the dead connection and
// wait on it for ever.
int OnDisplayLost(Display*) {
    std::fputs("The display was lost: the connection to the X server is gone\n", stdout);
    std::fflush(stdout);
    _exit(kExitDisplayLost);
}

// Xlib's own handler ends the process with status 1 on any error; SDL's, below it, does the same.
int OnXError(Display* display, XErrorEvent* error) {
    const bool gone = IsWindowGoneError(error->error_code, g_glxFirstError);
    if (g_watchedWindow != 0 && error->resourceid == g_watchedWindow && (gone || g_windowDestroyed)) {
        g_windowDestroyed = true;
        return 0;
    }
    if (g_mapAnswered && error->request_code == X_SetInputFocus && error->error_code == BadMatch) {
        return 0;
    }
    if (g_watchedWindow != 0 && error->error_code == BadWindow) {
        g_strayWindowRequest = error->request_code;
        return 0;
    }
    return g_previousErrorHandler != nullptr ? g_previousErrorHandler(display, error) : 0;
}

Bool IsMapOfWatchedWindow(Display*, XEvent* event, XPointer) {
    return event->type == MapNotify && event->xmap.window == g_watchedWindow ? True : False;
}

void OnQuitTooSlow(int) {
    static const char line[] = "The quit did not finish in time: ending at once\n";
    const ssize_t written = write(STDOUT_FILENO, line, sizeof line - 1);
    (void)written;
    _exit(128 + g_quitSignal.load());
}

void OnQuitSignal(int signal) {
    // Two signals on two threads at once: only the first arms the alarm.
    int none = 0;
    if (g_quitSignal.compare_exchange_strong(none, signal)) {
        alarm(kQuitGraceSeconds);
    }
}

} // namespace

void EndProcessWhenDisplayLost() {
    XSetIOErrorHandler(OnDisplayLost);
}

bool IsWindowGoneError(int errorCode, int glxFirstError) {
    if (errorCode == BadWindow || errorCode == BadDrawable) {
        return true;
    }
    return glxFirstError > 0 &&
           (errorCode == glxFirstError + GLXBadDrawable || errorCode == glxFirstError + GLXBadWindow);
}

void WatchWindowDestruction(Display* display, unsigned long window) {
    g_watchedDisplay = display;
    g_watchedWindow = window;
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    g_glxFirstError = XQueryExtension(display, "GLX", &opcode, &firstEvent, &firstError) ? firstError : 0;
    XErrorHandler previous = XSetErrorHandler(OnXError);
    if (previous != OnXError) {
        g_previousErrorHandler = previous;
    }
}

void SettleWindowErrors() {
    if (g_watchedDisplay != nullptr) {
        XSync(g_watchedDisplay, False);
        g_watchedDisplay = nullptr;
    }
}

void AnswerWaitsOnDestroyedWindow() {
    if (!g_windowDestroyed || g_watchedDisplay == nullptr) {
        return;
    }
    // SDL hides a window by waiting for its unmapping, which a window already gone never reports.
    XEvent unmapped = {};
    unmapped.xunmap = {UnmapNotify, 0, False, g_watchedDisplay, g_watchedWindow, g_watchedWindow, False};
    XPutBackEvent(g_watchedDisplay, &unmapped);
}

void AnswerWaitForMap() {
    if (g_watchedDisplay == nullptr || g_windowDestroyed) {
        return;
    }
    using Clock = std::chrono::steady_clock;
    constexpr auto kAskAgain = std::chrono::milliseconds(500);
    constexpr auto kLongest = std::chrono::seconds(3);
    Display* display = g_watchedDisplay;
    XWindowAttributes attributes;
    const bool there = XGetWindowAttributes(display, g_watchedWindow, &attributes) != 0;
    if (there && attributes.map_state != IsUnmapped) {
        return; // SDL waits for nothing
    }
    const auto giveUp = Clock::now() + kLongest;
    auto nextAsk = Clock::now();
    XEvent event;
    while (there && !g_windowDestroyed) {
        if (XCheckIfEvent(display, &event, IsMapOfWatchedWindow, nullptr) == True) {
            return; // taken, as SDL's wait would have; SDL now finds the window mapped
        }
        const auto now = Clock::now();
        if (now >= giveUp) {
            break;
        }
        // A manager still starting can leave a request it has read unlooked-at until another comes.
        if (now >= nextAsk) {
            XMapRaised(display, g_watchedWindow);
            XFlush(display);
            nextAsk = now + kAskAgain;
        }
        const auto until = std::min(nextAsk, giveUp) - now;
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(until).count();
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(std::clamp<int64_t>(ms, 1, 50)));
    }
    // SDL asks once more and takes this for its answer; a real map that comes later goes to its event loop.
    XEvent mapped = {};
    mapped.xmap = {MapNotify, 0, False, display, g_watchedWindow, g_watchedWindow, False};
    XPutBackEvent(display, &mapped);
    g_mapAnswered = true;
}

bool TakeWindowDestroyed() {
    // Whether the window is still there is asked outside the handler, which may send no request.
    if (g_strayWindowRequest != 0 && g_watchedDisplay != nullptr) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(g_watchedDisplay, g_watchedWindow, &attributes) != 0) {
            std::printf("An X request %d named a window that is not there\n", g_strayWindowRequest);
        }
        g_strayWindowRequest = 0;
    }
    if (!g_windowDestroyed || g_destroyedTaken) {
        return false;
    }
    g_destroyedTaken = true;
    return true;
}

void CatchQuitSignals() {
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = OnQuitTooSlow;
    sigaction(SIGALRM, &action, nullptr);
    action.sa_handler = OnQuitSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool TakeQuitSignal() {
    if (g_quitSignal.load() == 0 || g_quitTaken) {
        return false;
    }
    g_quitTaken = true;
    // The game is answering: its own teardown gets the whole grace period.
    alarm(kQuitGraceSeconds);
    return true;
}

} // namespace plat
