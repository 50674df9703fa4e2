#!/usr/bin/env python3
"""Starts the game and a window manager (openbox) at the same moment on a fresh Xvfb display, many such
runs at a time, and checks that each shows the game, reaches the main menu (a click on the picture skips
the intro, and reaches the game only where its window shows) and quits with status 0 on SIGTERM. A start
that races the manager's own goes wrong rarely, so only many runs show it.

  tools/wmrace/wmrace.py [game binary] [runs=N] [parallel=N] [backtrace]

(default: build/thornvale, 160 runs, 16 at a time; backtrace asks gdb for the threads of a game that has
not reached the menu, before it is ended.)

A developer's check, not a test: how often the race comes depends on the machine's load."""

import concurrent.futures
import os
import queue
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
from driver import _die_with_parent, game_environment  # noqa: E402

STEP_TIMEOUT = 60.0


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten",
                             "tcp"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        return xvfb, ":" + f.readline().strip()


class Lines:
    """A game's standard output, read on a thread of its own."""

    def __init__(self, stream):
        self.queue = queue.Queue()
        self.ended = False
        threading.Thread(target=self._read, args=(stream,), daemon=True).start()

    def _read(self, stream):
        for line in stream:
            self.queue.put(line)
        self.queue.put(None)

    def wait_for(self, text, seconds):
        deadline = time.time() + seconds
        while not self.ended and time.time() < deadline:
            try:
                line = self.queue.get(timeout=0.1)
            except queue.Empty:
                continue
            if line is None:
                self.ended = True
            elif text in line:
                return True
        return False


def one_run(binary, backtrace):
    """'ok', or what went wrong."""
    xvfb, display = start_xvfb()
    home = tempfile.mkdtemp(prefix="thornvale-wmrace-")
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", SDL_VIDEODRIVER="x11", HOME=home,
               XDG_DOCUMENTS_DIR=os.path.join(home, "Documents"), THORNVALE_NO_MESSAGE_BOX="1")
    game = subprocess.Popen([binary], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=game_environment(env),
                            text=True, bufsize=1, preexec_fn=_die_with_parent)
    manager = subprocess.Popen(["openbox"], env=dict(os.environ, DISPLAY=display), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
    lines = Lines(game.stdout)
    try:
        problem = None
        if not lines.wait_for("Initializing IntroState", STEP_TIMEOUT):
            problem = "no intro"
        else:
            time.sleep(0.8)
            deadline = time.time() + STEP_TIMEOUT
            reached = False
            while not reached and not lines.ended and time.time() < deadline:
                subprocess.run(["xdotool", "mousemove", "512", "384", "click", "1"],
                               env=dict(os.environ, DISPLAY=display), capture_output=True, check=False)
                reached = lines.wait_for("Initializing MainMenuState", 2.0)
            if not reached:
                problem = "no menu"
        trace = ""
        if problem and backtrace and game.poll() is None:
            trace = subprocess.run(["gdb", "-p", str(game.pid), "-batch", "-ex", "thread apply all bt"],
                                   capture_output=True, text=True, check=False).stdout
        if game.poll() is None:
            game.send_signal(signal.SIGTERM)
        try:
            code = game.wait(timeout=30.0)
        except subprocess.TimeoutExpired:
            game.kill()
            code = game.wait()
        if code != 0:
            problem = (problem + ", " if problem else "") + "exit status %d" % code
        return problem + ("\n" + trace if trace else "") if problem else "ok"
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()
        manager.terminate()
        manager.wait()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)


def main(args):
    binary = os.path.join(REPO, "build", "thornvale")
    runs, parallel, backtrace = 160, 16, False
    for arg in args:
        if arg.startswith("runs="):
            runs = int(arg.split("=", 1)[1])
        elif arg.startswith("parallel="):
            parallel = int(arg.split("=", 1)[1])
        elif arg == "backtrace":
            backtrace = True
        else:
            binary = os.path.abspath(arg)
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=parallel) as pool:
        for n, result in enumerate(pool.map(lambda _: one_run(binary, backtrace), range(runs)), 1):
            if result != "ok":
                failed += 1
                print("run %d: %s" % (n, result), flush=True)
    print("%d runs, %d at a time: %d reached the menu and quit with 0, %d did not"
          % (runs, parallel, runs - failed, failed), flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
