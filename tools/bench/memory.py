#!/usr/bin/env python3
"""Peak resident memory (VmHWM) of the real game against a bare OpenGL window on the same display
driver, each on its own Xvfb display as tests/e2e/driver.py runs it:

  bare     build/bare_window: a desktop-sized OpenGL 3.3 window, cleared and swapped;
  drawing  the same window drawing a 2 x 2 texture through a trivial shader each frame, which is what
           brings in the driver's shader compiler (on llvmpipe, LLVM) that any picture on screen needs;
  game     the game taken to the kingdom screen of a new game (tutorial skipped) and left there with its
           music playing for a while;
  long     the same with every music track made about three minutes long (sox), to show that a stream's
           length costs no memory.

  tools/bench/memory.py [build folder]

A developer's measurement, not a test. Needs sox (scripts/deps --generators) for the long run."""

import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
from driver import ASSETS  # noqa: E402
from gamebench import Quiet  # noqa: E402
from realgame import new_game, to_main_menu  # noqa: E402

PLAY_SECONDS = 20.0
LONG_SECONDS = 180.0


def status_kib(pid, field):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise RuntimeError("no %s for process %d" % (field, pid))


def peak(pid):
    """The peak, with what is resident at the end split into private memory and pages of files (the
    libraries' code, shared with every other program that maps them)."""
    return tuple(status_kib(pid, f) for f in ("VmHWM", "RssAnon", "RssFile"))


def bare(build, *how):
    game = Quiet(os.path.join(build, "bare_window"), args=(str(PLAY_SECONDS + 10), *how))
    try:
        print(game.wait_for("bare window", timeout=30.0))
        game.settle(PLAY_SECONDS)
        return peak(game.proc.pid)
    finally:
        game.close()


def played(binary):
    game = Quiet(binary)
    try:
        to_main_menu(game)
        new_game(game, "memory", prefix="memory-")
        game.settle(PLAY_SECONDS)
        if game.proc.poll() is not None:
            raise RuntimeError("the game ended")
        return peak(game.proc.pid)
    finally:
        game.close()


def long_music_copy(build, root):
    """The game copied into root/build with an Assets whose music tracks loop to about three minutes;
    everything else links to the repository's. Returns the copied binary."""
    os.makedirs(os.path.join(root, "build"))
    binary = os.path.join(root, "build", "thornvale")
    shutil.copy2(os.path.join(build, "thornvale"), binary)
    assets = os.path.join(root, "Assets")
    os.makedirs(os.path.join(assets, "Audio"))
    for name in os.listdir(ASSETS):
        if name != "Audio":
            os.symlink(os.path.join(ASSETS, name), os.path.join(assets, name))
    os.symlink(os.path.join(ASSETS, "Audio", "Effects"), os.path.join(assets, "Audio", "Effects"))
    music = os.path.join(ASSETS, "Audio", "Music")
    for folder, _, files in os.walk(music):
        target = os.path.join(assets, "Audio", "Music", os.path.relpath(folder, music))
        os.makedirs(target, exist_ok=True)
        for name in files:
            source = os.path.join(folder, name)
            if not name.endswith(".ogg"):
                os.symlink(source, os.path.join(target, name))
                continue
            seconds = float(subprocess.run(["soxi", "-D", source], capture_output=True, text=True,
                                           check=True).stdout)
            repeats = max(1, int(LONG_SECONDS / seconds))
            subprocess.run(["sox", source, os.path.join(target, name), "repeat", str(repeats)], check=True)
    return binary


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(REPO, "build"))
    cleared = bare(build)
    floor = bare(build, "draw")
    game = played(os.path.join(build, "thornvale"))
    print("peak resident memory: bare window clearing %.1f MB, drawing %.1f MB; game %.1f MB"
          % (cleared[0] / 1024, floor[0] / 1024, game[0] / 1024))
    print("the game's own share: %.1f MB against the drawing window, %.1f MB against the clearing one"
          % ((game[0] - floor[0]) / 1024, (game[0] - cleared[0]) / 1024))
    print("resident at the end, game against bare window: private %+.1f MB, pages of files %+.1f MB"
          % ((game[1] - floor[1]) / 1024, (game[2] - floor[2]) / 1024))
    if shutil.which("sox") is None:
        print("no sox: the run with three-minute music is left out")
        return 0
    root = tempfile.mkdtemp(prefix="thornvale-memory-")
    try:
        longer = played(long_music_copy(build, root))
    finally:
        shutil.rmtree(root, ignore_errors=True)
    print("with music tracks of about three minutes: game %.1f MB (%+.1f MB against the short tracks)"
          % (longer[0] / 1024, (longer[0] - game[0]) / 1024))
    return 0


if __name__ == "__main__":
    sys.exit(main())
