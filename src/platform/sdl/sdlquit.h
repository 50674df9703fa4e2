// Ending the process when the normal quit cannot run or does not finish: the display connection is lost
// (nothing may talk to the dead server again, so there is no teardown), or a quit the system asked for
// hangs in a frame or a teardown that waits on the display.
#pragma once

struct _XDisplay; // Xlib's Display

namespace plat {

// After the game's own start-up failures (2 and 3).
constexpr int kExitDisplayLost = 4;
// A quit signal not yet taken by a frame within this, or whose teardown then takes longer than this, is
// obeyed at once, exit status 128 + signal.
constexpr unsigned kQuitGraceSeconds = 4;

// Once SDL's X11 video is up: a lost connection to the X server logs one line and ends the process.
void EndProcessWhenDisplayLost();

// Once the window exists: an X error about that window having gone (another client destroyed it) is
// noted instead of ending the process, and TakeWindowDestroyed reports it once to the message pump.
void WatchWindowDestruction(_XDisplay* display, unsigned long window);
bool TakeWindowDestroyed();
// Whether an X error code says a window is not there: the core BadWindow and BadDrawable, and GLX's
// GLXBadDrawable and GLXBadWindow (numbered from the extension's first error; 0 when there is no GLX),
// which a driver may send first for a swap on a destroyed window.
bool IsWindowGoneError(int errorCode, int glxFirstError);
// Before SDL hides the window: a window destroyed from outside is reported unmapped, as SDL waits for.
void AnswerWaitsOnDestroyedWindow();
// Before SDL shows the hidden window: SDL asks for the map and waits for it without end, and a window
// manager starting at the same moment may not carry the request out. The map is asked for here, again
// while it does not come, for at most a few seconds; then SDL's wait is answered and the game goes on.
void AnswerWaitForMap();
// Once the window is gone: its errors still on their way arrive now, before SDL gives Xlib back its own
// handler as it closes.
void SettleWindowErrors();

// SIGTERM and SIGINT ask for a quit, which TakeQuitSignal reports once to the message pump.
void CatchQuitSignals();
bool TakeQuitSignal();

} // namespace plat
