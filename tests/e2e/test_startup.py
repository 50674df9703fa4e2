"""The game starts in its window, takes keys from the keyboard, and quits cleanly."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, run  # noqa: E402


def expect(condition, message):
    if not condition:
        raise Failure(message)


def test_starts_and_quits_on_escape(binary):
    game = Game(binary)
    try:
        game.wait_for("Pushed state")
        game.window_id()
        game.wait_for("Initializing StartState")
        game.settle(0.5)
        game.key("Escape")
        game.wait_for("Cleanup StartState")
        game.wait_for("Unloading StartState")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        game.close()


def test_unregistered_keys_are_logged(binary):
    game = Game(binary)
    try:
        game.wait_for("Initializing StartState")
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
        game.key("alt+Return")
        game.wait_for("Alt-enter")
        game.key("Escape")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        game.close()


def test_closing_the_window_quits(binary):
    game = Game(binary)
    try:
        game.wait_for("Initializing StartState")
        window = game.window_id()
        game.settle(0.3)
        game.close_window(window)
        game.wait_for("Unloading StartState")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        game.close()


if __name__ == "__main__":
    run([test_starts_and_quits_on_escape, test_unregistered_keys_are_logged, test_closing_the_window_quits])
