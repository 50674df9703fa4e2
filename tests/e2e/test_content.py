"""The engine finds all of its start-up content: no sprite, texture or geometry failure line in the log."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, run  # noqa: E402

# Lines that only a missing or broken picture, texture configuration or quad can produce.
FAILURE_LINES = [
    "Sprite InitWithXML couldn't load ",
    "Sprite InitWithXMLConfigObject couldn't load ",
    "Fail to load texture config",
    "Bad texture config ",
    "Couldn't load texture ",
    "Couldn't load geometry ",
    "Couldn't find texture",
    "Couldn't find geometry",
    "Failed to set texture.",
    "Setting default texture. ",
    "Failed to draw geometry.",
    "Failed to get world transform to rotate",
    "Couldn't unload texture ",
    "Error Reading Attribute",
]


def test_start_up_content_loads_cleanly(binary):
    game = Game(binary)
    try:
        game.wait_for("Pushed state")
        game.window_id()
        game.settle(1.5)
        found = [line for line in game.lines if any(text in line for text in FAILURE_LINES)]
        if found:
            raise Failure("content failure lines: %r" % found[:5])
        # Esc on the first screen goes on to the loading screen; closing the window quits.
        game.close_window(game.window_id())
        if game.wait_exit() != 0:
            raise Failure("exit status is not 0")
    finally:
        game.close()


if __name__ == "__main__":
    run([test_start_up_content_loads_cleanly])
