#!/usr/bin/env python3
"""Times the real game on this machine, each on its own Xvfb display as tests/e2e/driver.py runs it:

  launch   from starting the process to the main menu's log line, the intro skipped with Escape as soon
           as it shows (median of five runs);
  idle     CPU used by the game left alone for a few seconds on the main menu and on the kingdom screen,
           the whole process and its main thread apart (the rasteriser has threads of its own);
  kingdom  main-thread time per frame on the kingdom screen (build/kingdom_benchmark);
  battle   main-thread time per frame of a drawn battle of 100 units (build/kingdom_benchmark battle),
           and the update alone over a minute of game time (build/battle_benchmark, headless).

  tools/bench/gamebench.py [build folder] [launch] [kingdom] [battle]   (default: build, all three;
                                                                        launch includes the menu idle,
                                                                        kingdom the kingdom idle)

A developer's measurement, not a test."""

import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
from driver import Game  # noqa: E402

MENU_LINE = "Initializing MainMenuState"
LAUNCHES = 5
IDLE_SECONDS = 3.0
TICK = os.sysconf("SC_CLK_TCK")


class Quiet(Game):
    """The driver's game without echoing every log line."""

    def _drain(self, timeout):
        try:
            item = self._queue.get(timeout=timeout)
        except Exception:
            return False
        if item is not None:
            self.lines.append(item)
        return True


def cpu_seconds(pid, thread=None):
    path = "/proc/%d/task/%d/stat" % (pid, thread) if thread else "/proc/%d/stat" % pid
    with open(path) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def idle_load(game):
    """Shares of one core the process and its main thread used over a few quiet seconds."""
    pid = game.proc.pid
    before = (cpu_seconds(pid), cpu_seconds(pid, pid), time.monotonic())
    game.settle(IDLE_SECONDS)
    after = (cpu_seconds(pid), cpu_seconds(pid, pid), time.monotonic())
    wall = after[2] - before[2]
    return (after[0] - before[0]) / wall, (after[1] - before[1]) / wall


def skip_intro(game, start):
    """Presses Escape as soon as the intro shows, again every half second until it is taken. Returns
    when the intro showed and when the press it took was sent, from start."""
    game.wait_for("Initializing IntroState", timeout=30.0)
    shown = time.monotonic() - start
    game.window_id()
    while True:
        pressed = time.monotonic() - start
        game.xdotool("keydown", "Escape")
        # Held as long as a person's press: the game reads keys once a frame, so a tap shorter than the
        # first slow frames goes unseen.
        time.sleep(0.08)
        game.xdotool("keyup", "Escape")
        try:
            game.wait_for("Cleanup IntroState", timeout=0.5)
            return shown, pressed
        except Exception:
            continue


def launch(binary):
    """Seconds from starting the process to the intro, to the press that skipped it and to the menu."""
    start = time.monotonic()
    game = Quiet(binary)
    try:
        shown, pressed = skip_intro(game, start)
        game.wait_for(MENU_LINE, timeout=60.0)
        return (shown, pressed, time.monotonic() - start), game
    except Exception:
        game.close()
        raise


def main():
    args = sys.argv[1:]
    parts = [a for a in args if a in ("launch", "kingdom", "battle")] or ["launch", "kingdom", "battle"]
    folders = [a for a in args if a not in parts]
    build = os.path.abspath(folders[0] if folders else os.path.join(REPO, "build"))
    if "launch" in parts:
        measure_launch(os.path.join(build, "thornvale"))
    if "kingdom" in parts:
        measure_kingdom(os.path.join(build, "kingdom_benchmark"))
    if "battle" in parts:
        measure_drawn_battle(os.path.join(build, "kingdom_benchmark"))
        battle = subprocess.run([os.path.join(build, "battle_benchmark")], capture_output=True, text=True,
                                check=True)
        print(battle.stdout.strip())
    return 0


def measure_launch(binary):
    runs = []
    for run in range(LAUNCHES):
        times, game = launch(binary)
        runs.append(times)
        if run == 0:
            game.settle(1.0)
            menu_process, menu_main = idle_load(game)
        game.close()
    shown, pressed, menu = (statistics.median(run[i] for run in runs) for i in range(3))
    print("launch to the main menu, intro skipped: median %.3f s, worst %.3f s over %d runs (medians: intro "
          "shown at %.3f s, the press that skipped it sent at %.3f s, menu %.3f s after that press)"
          % (menu, max(run[2] for run in runs), LAUNCHES, shown, pressed,
             statistics.median(run[2] - run[1] for run in runs)))
    print("idle on the main menu: process %.1f%%, main thread %.1f%% of one core over %.0f s"
          % (100 * menu_process, 100 * menu_main, IDLE_SECONDS))


def measure_kingdom(binary):
    game = Quiet(binary, args=("900",))
    try:
        game.window_id(timeout=60.0)
        game.settle(2.0)
        kingdom_process, kingdom_main = idle_load(game)
        print(game.wait_for("kingdom frame", timeout=60.0))
    finally:
        game.close()
    print("idle on the kingdom screen: process %.1f%%, main thread %.1f%% of one core over %.0f s"
          % (100 * kingdom_process, 100 * kingdom_main, IDLE_SECONDS))


def measure_drawn_battle(binary):
    game = Quiet(binary, args=("900", "battle"))
    try:
        game.window_id(timeout=60.0)
        print(game.wait_for("battle frame", timeout=60.0))
    finally:
        game.close()


if __name__ == "__main__":
    sys.exit(main())
