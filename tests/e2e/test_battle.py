"""A battle under real play, on the battle harness (a 12 x 12 kingdom with the Capital at row 8,
column 5, gates at row 2 and column 0 at the ends of the road's cross, two stationed units and one queued wave): "Warring"
takes the screen, invaders warp in at both gates after 3 s, the units move, missiles fly and soldiers
strike and fall. A weak wave ends in victory and the kingdom screen; a strong one takes the Capital,
prints "Game Over" and returns to the main menu's place; the pause menu leaves a battle midway.
Each run leaves no fault in the log."""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import click, expect, hold, run, same_file, start_harness, stop_harness, tap  # noqa: E402

SCREEN = "1024x768"


def start(binary, mode):
    return start_harness(binary, "battle_harness", screen=SCREEN, args=(mode,))


def shot(game, name):
    """A screenshot, kept in the temporary folder as battle-<name>.png."""
    path = game.screenshot(name)
    shutil.copy(path, os.path.join(tempfile.gettempdir(), "battle-" + name + ".png"))
    print("   screenshot " + path, flush=True)
    return path


def top_view(game):
    """C swaps to the top view; W pans it up until the whole cross of road shows."""
    tap(game, "c")
    hold(game, "w", 0.4)
    time.sleep(0.3)


def no_faults(game):
    bad = [line for line in game.lines if "runtime error" in line or "AddressSanitizer" in line
           or "Cannot find script by name" in line or "Change State request rejected" in line]
    expect(not bad, "faults in the log: " + repr(bad[:3]))


def test_victory(binary):
    game = start(binary, "victory")
    try:
        game.wait_for("Initializing BattleHarness", timeout=60.0)
        game.wait_for("Loading WarringState", timeout=30.0)
        game.wait_for("Initializing WarringState", timeout=10.0)
        game.wait_for("Total gates: 2", timeout=10.0)
        game.window_id(timeout=30.0)
        top_view(game)
        before = shot(game, "start")
        game.wait_for("Battle: Demon Spawn warped in at column 5 row 2", timeout=15.0)
        game.wait_for("Battle: Taipen Prowler warped in at column 0 row 8", timeout=5.0)
        time.sleep(0.3)
        warped = shot(game, "warped")
        expect(not same_file(before, warped), "the invaders' arrival changed nothing on screen")
        game.wait_for("Battle: an invader moved", timeout=15.0)
        game.wait_for("Battle: a missile flies", timeout=20.0)
        shot(game, "missile")
        game.wait_for("Battle: a defender struck", timeout=20.0)
        game.wait_for("Battle: an invader fell", timeout=30.0)
        shot(game, "fight")
        game.wait_for("Cleanup WarringState", timeout=60.0)
        game.wait_for("Unloading WarringState", timeout=10.0)
        time.sleep(1.0)
        shot(game, "kingdom")
        expect(game.count("Game Over") == 0, "a won battle printed Game Over")
        no_faults(game)
    finally:
        stop_harness(game)


def test_defeat(binary):
    game = start(binary, "defeat")
    try:
        game.wait_for("Initializing WarringState", timeout=60.0)
        game.window_id(timeout=30.0)
        top_view(game)
        game.wait_for("Battle: Demon Spawn warped in", timeout=15.0)
        game.wait_for("Battle: an invader moved", timeout=15.0)
        shot(game, "march")
        game.wait_for("Game Over", timeout=60.0)
        game.wait_for("Cleanup WarringState", timeout=10.0)
        game.wait_for("Back at the harness root", timeout=10.0)
        expect(game.count("Game Over") == 1, "Game Over was printed more than once")
        no_faults(game)
    finally:
        stop_harness(game)


def test_abort(binary):
    """Esc pauses the battle; the pause menu's way back to the main menu leaves it mid-fight."""
    game = start(binary, "victory")
    try:
        game.wait_for("Initializing WarringState", timeout=60.0)
        game.window_id(timeout=30.0)
        game.wait_for("Battle: a missile flies", timeout=20.0)
        tap(game, "Escape")
        game.wait_for("Initializing PauseMenuState", timeout=10.0)
        # The pause menu's third button (x 280, y 320, 240 x 50 of 800 x 600) on a 1024 x 768 screen.
        click(game, (round((280 + 120) * 1.28), round((320 + 25) * 1.28)))
        game.wait_for("Cleanup WarringState", timeout=15.0)
        game.wait_for("Back at the harness root", timeout=10.0)
        expect(game.count("Game Over") == 0, "leaving through the pause menu printed Game Over")
        no_faults(game)
    finally:
        stop_harness(game)


if __name__ == "__main__":
    run([test_victory, test_defeat, test_abort])
