"""The game ends by itself when its display goes away, and SIGTERM ends it even while its display is
frozen: neither leaves a process that only SIGKILL removes. Each game runs on a display of its own."""

import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, run  # noqa: E402
from realgame import expect, to_main_menu  # noqa: E402

# What "within a few seconds" allows, the sanitizer build's slower exit included.
EXIT_TIMEOUT = 8.0


def at_main_menu(binary):
    game = Game(binary)
    try:
        to_main_menu(game)
        game.settle(0.5)
    except Exception:
        game.close()
        raise
    return game


def exit_status_within(game, seconds):
    """The game's exit status, or a failure when it is still running after seconds."""
    try:
        code = game.proc.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        raise Failure("the game still runs %.0f s later" % seconds)
    game.wait_exit()
    return code


def end_display(game):
    game.xvfb.kill()
    game.xvfb.wait()
    game.xvfb = None


def test_a_lost_display_ends_the_game(binary):
    game = at_main_menu(binary)
    try:
        end_display(game)
        code = exit_status_within(game, EXIT_TIMEOUT)
        expect(code > 0, "exit status %d, not a failure of the game's own" % code)
        expect(game.count("The display was lost") == 1, "no single log line says the display was lost")
    finally:
        game.close()


def test_sigterm_ends_a_game_whose_display_is_frozen(binary):
    game = at_main_menu(binary)
    try:
        # A stopped server answers nothing: the game waits in its frame and never reads a message.
        game.xvfb.send_signal(signal.SIGSTOP)
        game.settle(1.0)
        started = time.time()
        game.proc.send_signal(signal.SIGTERM)
        code = exit_status_within(game, EXIT_TIMEOUT)
        expect(code != 0, "exit status 0 from a quit that could not finish")
        print("   ended %.1f s after SIGTERM" % (time.time() - started), flush=True)
    finally:
        if game.xvfb:
            end_display(game)
        game.close()


if __name__ == "__main__":
    run([test_a_lost_display_ends_the_game, test_sigterm_ends_a_game_whose_display_is_frozen])
