"""The game starts in its window on the intro, takes keys from the keyboard, and quits cleanly: Esc on the
intro goes on to the main menu, where Esc asks before quitting and Space quits."""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, expect, game_environment, run, sanitizer_report, tap  # noqa: E402

# The loading screen decodes every sound before the menu comes.
MENU_TIMEOUT = 45.0


def quit_from_main_menu(game):
    game.settle(0.3)
    # The intro may have ended by itself before the keys that would have skipped it.
    if game.count("Initializing MainMenuState") == 0:
        game.wait_for("Initializing MainMenuState", timeout=MENU_TIMEOUT)
    tap(game, "Escape")
    game.wait_for("Initializing QuitGameConfirmationState")
    tap(game, "space")
    game.wait_for("Unloading MainMenuState")
    expect(game.wait_exit() == 0, "exit status is not 0")


def test_escape_skips_the_intro_and_quits_from_the_menu(binary):
    game = Game(binary)
    try:
        game.wait_for("Pushed state")
        game.window_id()
        game.wait_for("Initializing IntroState")
        game.settle(0.5)
        tap(game, "Escape")
        game.wait_for("Cleanup IntroState")
        game.wait_for("Unloading IntroState")
        game.wait_for("Initializing LoadingState")
        quit_from_main_menu(game)
    finally:
        game.close()


def test_unregistered_keys_are_logged(binary):
    game = Game(binary)
    try:
        game.wait_for("Initializing IntroState")
        game.window_id()
        game.settle(0.5)
        # Ctrl is reported as VK_CONTROL, which has no key of its own; a keypad key neither.
        game.key("ctrl")
        game.wait_for("Unregistered keyboard input: 17")
        game.key("KP_Multiply")
        game.wait_for("Unregistered keyboard input: 106")
        game.settle(0.5)
        # Keys the game knows, and Shift, log nothing.
        before = game.count("Unregistered keyboard input")
        game.key("a", "bracketleft", "bracketright", "grave", "F5", "Tab", "shift")
        game.settle(0.5)
        expect(game.count("Unregistered keyboard input") == before, "a known key was logged as unregistered")
        # Its Enter also skips the intro, if the intro has not ended by itself yet.
        game.key("alt+Return")
        game.wait_for("Alt-enter")
        quit_from_main_menu(game)
    finally:
        game.close()


def test_closing_the_window_quits(binary):
    game = Game(binary)
    try:
        game.wait_for("Initializing IntroState")
        window = game.window_id()
        game.settle(0.3)
        game.close_window(window)
        game.wait_for("Cleanup IntroState")
        game.wait_for("Unloading IntroState")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        game.close()


def test_without_a_display_the_game_says_so_and_exits_2(binary):
    # No DISPLAY and no driver asked for: SDL would fall back to one that shows nothing.
    env = {key: value for key, value in os.environ.items()
           if key not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    started = time.time()
    with tempfile.TemporaryDirectory(prefix="thornvale-e2e-") as home:
        env.update({"SDL_AUDIODRIVER": "dummy", "HOME": home})
        try:
            done = subprocess.run([binary], env=game_environment(env), capture_output=True, text=True,
                                  timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("the game ran on without a display")
    expect(sanitizer_report(done.stderr) is None, "sanitizer report: %s" % sanitizer_report(done.stderr))
    expect(done.returncode == 2, "exit status %d, not 2" % done.returncode)
    expect(time.time() - started < 10, "too slow to give up")
    expect("Window wasn't created!" in done.stderr, "no message on standard error: %r" % done.stderr)
    expect("No display" in done.stdout, "no log line says why: %r" % done.stdout)


if __name__ == "__main__":
    run([test_escape_skips_the_intro_and_quits_from_the_menu, test_unregistered_keys_are_logged,
         test_closing_the_window_quits, test_without_a_display_the_game_says_so_and_exits_2])
