#!/usr/bin/env python3
"""Times the real game on this machine, each on its own Xvfb display as tests/e2e/driver.py runs it:

  launch   from starting the process to the main menu's log line, the intro skipped with Escape as soon
           as it shows (median of five runs);
  idle     CPU used by the game left alone for a few seconds on the main menu and on the kingdom screen,
           the whole process and its main thread apart (the rasteriser has threads of its own);
  kingdom  main-thread time per frame on the kingdom screen (build/kingdom_benchmark);
  battle   main-thread time per frame of a drawn battle of 100 units (build/kingdom_benchmark battle),
           and the update alone over a minute of game time (build/battle_benchmark, headless);
  load     CPU used over five seconds, all threads counted, by the game on the main menu, on the kingdom
           of a new game (tutorial skipped) and in the drawn battle of 100 units, each beside the floor
           measured just before it: build/bare_window drawing one full-window textured quad at the same
           size and pace. Other programs on the machine move both alike, so the ratio is the figure.

  tools/bench/gamebench.py [build folder] [launch] [kingdom] [battle] [load] [rounds=N]
                           (default: build, all four; launch includes the menu idle, kingdom the
                           kingdom idle; load measures each pair N times, 1 by default, and ends
                           with the median ratios, since a shared machine moves one pair by a tenth)

A developer's measurement, not a test."""

import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
from driver import Game  # noqa: E402
from realgame import AWAY, new_game, to_main_menu  # noqa: E402

MENU_LINE = "Initializing MainMenuState"
LAUNCHES = 5
IDLE_SECONDS = 3.0
LOAD_SECONDS = 5.0
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


def idle_load(game, seconds=IDLE_SECONDS):
    """Shares of one core the process and its main thread used over a few quiet seconds."""
    process, main_thread, _ = counted_load(game, seconds)
    return process, main_thread


def frames_shown(game):
    """Frames the game has shown so far, when it runs with the frame counter preloaded."""
    path = getattr(game, "frame_file", None)
    if not path or not os.path.exists(path):
        return 0
    with open(path, "rb") as f:
        return int.from_bytes(f.read(8).ljust(8, b"\0"), "little")


def counted_load(game, seconds):
    """idle_load's two shares and the frames shown a second over the same time."""
    pid = game.proc.pid
    before = (cpu_seconds(pid), cpu_seconds(pid, pid), time.monotonic(), frames_shown(game))
    game.settle(seconds)
    after = (cpu_seconds(pid), cpu_seconds(pid, pid), time.monotonic(), frames_shown(game))
    wall = after[2] - before[2]
    return (after[0] - before[0]) / wall, (after[1] - before[1]) / wall, (after[3] - before[3]) / wall


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


def launch(binary, make=None):
    """Seconds from starting the process to the intro, to the press that skipped it and to the menu."""
    start = time.monotonic()
    game = (make or Quiet)(binary)
    try:
        shown, pressed = skip_intro(game, start)
        game.wait_for(MENU_LINE, timeout=60.0)
        return (shown, pressed, time.monotonic() - start), game
    except Exception:
        game.close()
        raise


def main():
    args = sys.argv[1:]
    every = ("launch", "kingdom", "battle", "load")
    rounds = [int(a.split("=", 1)[1]) for a in args if a.startswith("rounds=")]
    args = [a for a in args if not a.startswith("rounds=")]
    parts = [a for a in args if a in every] or list(every)
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
    if "load" in parts:
        measure_load(build, max(rounds[-1] if rounds else 1, 1))
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


def counting(build, binary, args=()):
    """The program on its display with build/framecount.so preloaded, counting the frames it shows."""
    handle, path = tempfile.mkstemp(prefix="gamebench-frames-")
    os.close(handle)
    env = {"LD_PRELOAD": os.path.join(build, "framecount.so"), "FRAMECOUNT_FILE": path}
    game = Quiet(binary, env=env, args=args)
    game.frame_file = path
    return game


def closing(game):
    game.close()
    os.unlink(game.frame_file)


def bare_load(build):
    """The floor: a window of the game's size drawing one textured quad a frame at the game's pace."""
    game = counting(build, os.path.join(build, "bare_window"), (str(LOAD_SECONDS + 10), "draw"))
    try:
        game.wait_for("bare window", timeout=30.0)
        game.settle(2.0)
        return counted_load(game, LOAD_SECONDS), ""
    finally:
        closing(game)


def menu_load(build):
    _, game = launch(os.path.join(build, "thornvale"), lambda binary: counting(build, binary))
    try:
        game.settle(2.0)
        return counted_load(game, LOAD_SECONDS), ""
    finally:
        closing(game)


def new_kingdom_load(build):
    game = counting(build, os.path.join(build, "thornvale"))
    try:
        to_main_menu(game)
        new_game(game, "bench-kingdom", prefix="gamebench-")
        game.xdotool("mousemove", *AWAY)
        game.settle(2.0)
        return counted_load(game, LOAD_SECONDS), ""
    finally:
        closing(game)


def battle_load(build):
    game = counting(build, os.path.join(build, "kingdom_benchmark"), ("900", "battle"))
    try:
        game.window_id(timeout=60.0)
        game.settle(3.0)
        load = counted_load(game, LOAD_SECONDS)
        return load, game.wait_for("battle frame", timeout=120.0)
    finally:
        closing(game)


def measure_load(build, rounds=1):
    rows = []
    for _ in range(rounds):
        for name, measure in (("menu", menu_load), ("kingdom", new_kingdom_load), ("battle", battle_load)):
            floor, _ = bare_load(build)
            game, line = measure(build)
            rows.append((name, game, floor, line))
    print("CPU over %.0f s, the game's whole process (its main thread apart) against a bare window at the "
          "same size and pace measured just before it; %% of one core, frames shown a second, and CPU "
          "milliseconds a frame shown, which a busy machine's slower frames leave comparable:" % LOAD_SECONDS)
    for name, (process, main_thread, fps), (floor, _, floor_fps), _ in rows:
        per_frame = 1000 * process / fps if fps else float("nan")
        floor_per_frame = 1000 * floor / floor_fps if floor_fps else float("nan")
        print("  %-8s game %6.1f%% (main %4.1f%%) %4.1f fps %5.2f ms/frame | bare %5.1f%% %4.1f fps %5.2f "
              "ms/frame | game / bare: %4.1f, a frame %4.1f"
              % (name, 100 * process, 100 * main_thread, fps, per_frame, 100 * floor, floor_fps,
                 floor_per_frame, process / floor, per_frame / floor_per_frame))
    for _, _, _, line in rows:
        if line:
            print("  " + line)
    if rounds > 1:
        for name in ("menu", "kingdom", "battle"):
            ratios = [(g[0] / g[2]) / (f[0] / f[2]) for n, g, f, _ in rows if n == name and g[2] and f[2]]
            print("  %-8s median of %d rounds, game / bare a frame: %4.2f (%s)"
                  % (name, len(ratios), statistics.median(ratios), ", ".join("%.2f" % r for r in ratios)))


if __name__ == "__main__":
    sys.exit(main())
