"""Runs the real game under Xvfb and drives it with xdotool, the way a player would."""

import ctypes
import ctypes.util
import os
import queue
import re
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time


class Failure(Exception):
    pass


# What AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer write first when they find a fault.
SANITIZER_REPORT = re.compile(r"ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error:")


def sanitizer_report(text):
    """The first line of a sanitizer's report in a game's standard error, or None."""
    for line in text.splitlines():
        if SANITIZER_REPORT.search(line):
            return line
    return None


def game_environment(env):
    """env with what the sanitizer build asks for of the game alone: THORNVALE_E2E_PRELOAD becomes its
    LD_PRELOAD (the test's own tools must not load it)."""
    preload = os.environ.get("THORNVALE_E2E_PRELOAD")
    if preload:
        env["LD_PRELOAD"] = preload
    return env


def _die_with_parent():
    """Runs in the child before exec: when the test driver is killed (a CTest timeout), the game and
    its display go with it instead of running on."""
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(1, 9)  # PR_SET_PDEATHSIG, SIGKILL


class Game:
    """The game binary running on its own Xvfb display, with its standard output read line by line."""

    def __init__(self, binary, screen="1024x768", env=None, args=(), manager=None):
        """manager, when given, is called with the display before the game starts and returns what is to
        be ended (terminate, then wait) with the display: a window manager that has taken the screen."""
        self.binary = binary
        self.tmp = tempfile.mkdtemp(prefix="thornvale-e2e-")
        self.lines = []
        self._queue = queue.Queue()
        self._open_streams = 2
        self._checked = False
        self._cursor = 0
        self.xvfb = None
        self.proc = None
        self.manager = None
        self.display = self._start_xvfb(screen)
        if manager:
            try:
                self.manager = manager(self.display)
            except Exception:
                self.xvfb.terminate()
                self.xvfb.wait()
                shutil.rmtree(self.tmp, ignore_errors=True)
                raise
        self.width, self.height = (int(v) for v in screen.split("x"))
        run_env = dict(os.environ)
        run_env.update({
            "DISPLAY": self.display,
            "SDL_AUDIODRIVER": "dummy",
            "SDL_VIDEODRIVER": "x11",
            "XDG_DOCUMENTS_DIR": os.path.join(self.tmp, "Documents"),
            "HOME": self.tmp,
            "THORNVALE_NO_MESSAGE_BOX": "1",
        })
        if env:
            run_env.update(env)
        game_environment(run_env)
        self.proc = subprocess.Popen([binary, *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     env=run_env, text=True, bufsize=1,
                                     preexec_fn=_die_with_parent)
        threading.Thread(target=self._read, args=(self.proc.stdout, ""), daemon=True).start()
        threading.Thread(target=self._read, args=(self.proc.stderr, "stderr: "), daemon=True).start()

    def _start_xvfb(self, screen):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", screen + "x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=_die_with_parent)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        return ":" + number

    def _read(self, stream, prefix):
        for line in stream:
            self._queue.put(prefix + line.rstrip("\n"))
        self._queue.put(None)

    def _drain(self, timeout):
        try:
            item = self._queue.get(timeout=timeout)
        except queue.Empty:
            return False
        if item is None:
            self._open_streams -= 1
        else:
            self.lines.append(item)
            print("  game: " + item, flush=True)
        return True

    def wait_for(self, text, timeout=20.0):
        """Waits for a log line containing text, after the last line already waited for."""
        deadline = time.time() + timeout
        while True:
            for i in range(self._cursor, len(self.lines)):
                if text in self.lines[i]:
                    self._cursor = i + 1
                    return self.lines[i]
            remaining = deadline - time.time()
            if remaining <= 0:
                raise Failure("timed out waiting for %r" % text)
            self._drain(min(remaining, 0.2))

    def settle(self, seconds=0.5):
        """Lets the game run and collects its output."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            self._drain(max(0.0, min(0.1, deadline - time.time())))

    def count(self, text):
        return sum(1 for line in self.lines if text in line)

    def xdotool(self, *args):
        env = dict(os.environ, DISPLAY=self.display)
        return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True, check=False)

    def window_id(self, timeout=10.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            result = self.xdotool("search", "--name", "^Thornvale Oriskar$")
            ids = result.stdout.split()
            if ids:
                return ids[0]
            time.sleep(0.1)
        raise Failure("no window titled 'Thornvale Oriskar'")

    def close_window(self, window):
        """Asks the window to close, as its close button does (WM_DELETE_WINDOW)."""
        send_delete_window(self.display, int(window))

    def key(self, *keys):
        self.xdotool("key", "--delay", "60", *keys)

    def screenshot(self, name):
        path = os.path.join(self.tmp, name + ".png")
        env = dict(os.environ, DISPLAY=self.display)
        subprocess.run(["import", "-window", "root", path], env=env, check=True)
        return path

    def pixel(self, path, x, y):
        """The (r, g, b) of one pixel of a screenshot."""
        out = subprocess.run(["convert", path, "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "txt:-"],
                             capture_output=True, text=True, check=True).stdout
        for line in out.splitlines():
            if line.startswith("0,0:"):
                values = line.split("(")[1].split(")")[0].split(",")
                return tuple(int(float(v)) for v in values[:3])
        raise Failure("no pixel in " + out)

    def wait_exit(self, timeout=15.0):
        try:
            code = self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not exit")
        self._read_to_end()
        return code

    def _read_to_end(self, timeout=30.0):
        """Collects what the game wrote until both its streams end; a sanitizer's report at exit comes
        after the game's last line."""
        deadline = time.time() + timeout
        while self._open_streams > 0 and time.time() < deadline:
            self._drain(0.2)

    def close(self):
        """Ends the game and its display. A game still running is asked to quit the way the system asks
        it (SIGTERM reaches the game as a quit), so that it leaves through its own shutdown and a leak check
        at exit runs; one that does not go, or goes only by giving up its teardown, fails the test, as does a
        sanitizer's report."""
        stuck = False
        if self.proc:
            if self.proc.poll() is None:
                self.proc.send_signal(signal.SIGTERM)
                try:
                    # A quit that ran out of time ended without its teardown, and a leak check with it.
                    stuck = self.proc.wait(timeout=30.0) == 128 + signal.SIGTERM
                except subprocess.TimeoutExpired:
                    stuck = True
                    self.proc.kill()
                    self.proc.wait()
            self._read_to_end()
        if self.manager:
            self.manager.terminate()
            self.manager.wait()
            self.manager = None
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
            self.xvfb = None
        shutil.rmtree(self.tmp, ignore_errors=True)
        report = None if self._checked else sanitizer_report("\n".join(self.lines))
        self._checked = True
        if report:
            raise Failure("sanitizer report from the game: " + report.removeprefix("stderr: "))
        if stuck:
            raise Failure("the game did not quit when asked to")


def start_openbox(display, timeout=30.0):
    """openbox on the display, once it has taken the screen: it runs its startup command only then, just
    before it reads its events. A map request that comes while it is still starting can lie unread."""
    folder = tempfile.mkdtemp(prefix="thornvale-openbox-")
    started = os.path.join(folder, "started")
    manager = subprocess.Popen(["openbox", "--startup", "touch " + shlex.quote(started)],
                               env=dict(os.environ, DISPLAY=display), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
    try:
        deadline = time.time() + timeout
        while not os.path.exists(started):
            if manager.poll() is not None or time.time() > deadline:
                manager.kill()
                manager.wait()
                raise Failure("openbox did not start")
            time.sleep(0.05)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return manager


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


def send_delete_window(display_name, window):
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = x11.XOpenDisplay(display_name.encode())
    if not dpy:
        raise Failure("cannot open display " + display_name)
    event = _ClientMessage()
    event.type = 33  # ClientMessage
    event.window = window
    event.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
    event.format = 32
    event.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
    event.data[1] = 0  # CurrentTime
    x11.XSendEvent(dpy, window, 0, 0, ctypes.byref(event))
    x11.XFlush(dpy)
    x11.XCloseDisplay(dpy)


# How long a key or a mouse button is held down, and left alone after it is let go: longer than a frame
# of a slow machine (a sanitizer build drawing in software), so that a frame sees the press and another
# the release.
KEY_HOLD = 0.3
CLICK_HOLD = 0.3


def expect(condition, message):
    if not condition:
        raise Failure(message)


def hold(game, key, seconds, after=KEY_HOLD):
    """The key held down for some seconds, then a pause for the game to take its release."""
    game.xdotool("keydown", key)
    time.sleep(seconds)
    game.xdotool("keyup", key)
    time.sleep(after)


def tap(game, key):
    """A key pressed and released, as a player's finger does."""
    hold(game, key, KEY_HOLD)


def press(game, pos, button=1):
    """The pointer moved to pos (x, y) and, once the game has seen it there, the button pressed."""
    game.xdotool("mousemove", str(pos[0]), str(pos[1]))
    time.sleep(CLICK_HOLD)
    game.xdotool("mousedown", str(button))
    time.sleep(CLICK_HOLD)


def release(game, pos=None, button=1):
    """The button let go, where the pointer is or after moving it to pos."""
    if pos is not None:
        game.xdotool("mousemove", str(pos[0]), str(pos[1]))
        time.sleep(CLICK_HOLD)
    game.xdotool("mouseup", str(button))
    time.sleep(CLICK_HOLD)


def click(game, pos, button=1):
    """A press and a release at pos (x, y), as a player's click is."""
    press(game, pos, button)
    release(game, button=button)


def pixels(path, area):
    """The (r, g, b) of every pixel of an area (x, y, w, h) of a screenshot, row by row."""
    x, y, w, h = area
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]


def wait_for_picture(game, test, what, timeout=10.0, name="poll"):
    """Screenshots until test(path) holds; the last one is returned, a Failure saying what when none
    does in time."""
    deadline = time.time() + timeout
    while True:
        path = game.screenshot(name)
        if test(path):
            return path
        if time.time() > deadline:
            raise Failure(what)
        game.settle(0.25)


def click_and_wait(game, pos, area, timeout=20.0, press=click):
    """A click on a box that slides others into place (a list, the Menu chain, a list's arrow), then
    screenshots until the area (x, y, w, h) shows something new that holds still from one to the next:
    what the next click is for has come to rest there. press makes the click (click by default)."""
    before = pixels(game.screenshot("before-click"), area)
    press(game, pos)
    last = [None]

    def arrived(path):
        now = pixels(path, area)
        done = now == last[0] and now != before
        last[0] = now
        return done

    return wait_for_picture(game, arrived, "nothing came to rest in %r after the click" % (area,), timeout)


ASSETS = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "Assets")


def start_harness(binary, name, **game_args):
    """A harness built beside the game, run from a copy one level below a folder whose Assets links to the
    repository's, so that the game's "../Assets" resolves wherever the build is. Stop it with
    stop_harness."""
    harness = os.path.join(os.path.dirname(os.path.abspath(binary)), name)
    if not os.path.exists(harness):
        raise Failure("no %s beside %s" % (name, binary))
    root = tempfile.mkdtemp(prefix="thornvale-%s-" % name)
    os.makedirs(os.path.join(root, "build"))
    copy = os.path.join(root, "build", name)
    shutil.copy2(harness, copy)
    os.symlink(ASSETS, os.path.join(root, "Assets"))
    game = Game(copy, **game_args)
    game.root = root
    return game


def start_kingdom_harness(binary, **game_args):
    """The kingdom harness, waited for until its window shows."""
    game = start_harness(binary, "kingdom_harness", **game_args)
    try:
        game.wait_for("Initializing KingdomHarness", timeout=60.0)
        game.window_id(timeout=30.0)
        time.sleep(1.0)
    except Exception:
        stop_harness(game)
        raise
    return game


def stop_harness(game):
    """Ends a game; a harness's copy goes with it."""
    game.close()
    root = getattr(game, "root", None)
    if root:
        shutil.rmtree(root, ignore_errors=True)


def same_file(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


def run(tests):
    """Runs each test function with the binary path; prints 'N passed, N failed'."""
    binary = sys.argv[1]
    passed = failed = 0
    for test in tests:
        print("== " + test.__name__, flush=True)
        try:
            test(binary)
            passed += 1
            print("   ok", flush=True)
        except Exception as error:  # a failed check or a broken run alike
            failed += 1
            print("   FAILED: %s" % error, flush=True)
            # A failure while ending the game hides the one that ended the test.
            if error.__context__ is not None:
                print("   after: %s" % error.__context__, flush=True)
    print("%d passed, %d failed" % (passed, failed), flush=True)
    sys.exit(1 if failed else 0)
