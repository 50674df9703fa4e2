"""The start-up texture folder scans of the real game: both folders are listed on their own log lines and
every texture configuration in them loads without a failure line."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, run  # noqa: E402

SCAN_LINES = [
    "../Assets\\*All Texture XML Files Added: ",
    "../Assets/Textures/FadeAnimation\\*All Texture XML Files Added: ",
]

# Lines that only a missing or broken configuration, picture or quad can produce.
FAILURE_LINES = [
    "Sprite InitWithXML couldn't load ",
    "Sprite InitWithXMLConfigObject couldn't load ",
    "Fail to load texture config",
    "Bad texture config ",
    "Couldn't read config ",
    "Couldn't load texture ",
    "Couldn't load geometry ",
    "Error Reading Attribute",
]


def test_start_up_scans_load_every_texture_configuration(binary):
    game = Game(binary)
    try:
        game.wait_for(SCAN_LINES[1])
        window = game.window_id()
        game.settle(1.0)
        for line in SCAN_LINES:
            # Pattern and log text on one line, each folder once.
            if sum(1 for seen in game.lines if seen == line) != 1:
                raise Failure("expected the line %r once; log starts %r" % (line, game.lines[:12]))
        scanned = game.lines.index(SCAN_LINES[1])
        found = [line for line in game.lines[:scanned + 1] if any(text in line for text in FAILURE_LINES)]
        if found:
            raise Failure("failure lines while scanning: %r" % found[:5])
        game.close_window(window)
        if game.wait_exit() != 0:
            raise Failure("exit status is not 0")
    finally:
        game.close()


if __name__ == "__main__":
    run([test_start_up_scans_load_every_texture_configuration])
