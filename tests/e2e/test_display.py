"""The game draws full screen at the display's mode: the grey picture, black side bars on a wide screen,
and the debug overlay's text when it is turned on."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, run  # noqa: E402

GREY = (60, 60, 60)
BLACK = (0, 0, 0)


def expect(condition, message):
    if not condition:
        raise Failure(message)


def brightest(path, x, y, width, height):
    """The brightest channel value (0-255) in a rectangle of a screenshot."""
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
                          "-format", "%[fx:maxima*255]", "info:"], capture_output=True, text=True, check=True)
    return round(float(out.stdout.strip()))


def shot_when(game, name, x, y, colour, timeout=15.0):
    """A screenshot once pixel x, y shows the colour: the window takes the mode as the game starts."""
    deadline = time.time() + timeout
    while True:
        shot = game.screenshot(name)
        if game.pixel(shot, x, y) == colour or time.time() > deadline:
            return shot
        game.settle(0.3)


def start(screen, env=None):
    game = Game(screen=screen, binary=sys.argv[1], env=env)
    game.wait_for("Initializing StartState")
    game.window_id()
    # Let full screen settle and a few frames be shown.
    game.settle(1.0)
    return game


def quit_cleanly(game):
    game.key("Escape")
    expect(game.wait_exit() == 0, "exit status is not 0")


def test_picture_is_grey_at_the_display_mode(binary):
    game = Game(binary, screen="1024x768")
    try:
        expect("Width: 1024 Height: 768" in game.wait_for("Width: "), "the stored mode is not the screen's")
        expect(game.wait_for("Aspect Ratio of screen is: ").endswith("1.33333"), "wrong aspect ratio")
        game.wait_for("Initializing StartState")
        game.window_id()
        game.settle(1.0)
        shot = shot_when(game, "grey", 1023, 767, GREY)
        for x, y in [(0, 0), (512, 384), (1023, 0), (0, 767), (1023, 767)]:
            expect(game.pixel(shot, x, y) == GREY, "pixel %d,%d is %r, not grey" % (x, y, game.pixel(shot, x, y)))
        # The overlay is off: nothing but grey where its text would be.
        expect(brightest(shot, 640, 12, 384, 60) == 60, "text drawn with the overlay off")
        quit_cleanly(game)
    finally:
        game.close()


def test_wide_screen_has_black_bars(binary):
    game = start("1440x900")
    try:
        expect(game.count("Width: 1440 Height: 900") == 1, "the stored mode is not the screen's")
        shot = shot_when(game, "bars", 1320, 899, BLACK)
        for y in (0, 450, 899):
            for x in (0, 60, 119, 1320, 1380, 1439):
                expect(game.pixel(shot, x, y) == BLACK, "bar pixel %d,%d is %r" % (x, y, game.pixel(shot, x, y)))
            for x in (120, 720, 1319):
                expect(game.pixel(shot, x, y) == GREY, "picture pixel %d,%d is %r" % (x, y, game.pixel(shot, x, y)))
        quit_cleanly(game)
    finally:
        game.close()


def test_debug_overlay_text_appears_when_on(binary):
    game = start("1024x768", env={"THORNVALE_DEBUG_OVERLAY": "1"})
    try:
        shot = shot_when(game, "overlay", 1023, 767, GREY)
        # "Frame Time" and "Frame Rate" from virtual x 500 (pixel 640), y 10 and 25 (pixels 12 and 32).
        expect(brightest(shot, 640, 12, 384, 40) > 200, "no frame time or rate text")
        # The screen's name from virtual x 10, y 50 (pixels 12, 64).
        expect(brightest(shot, 12, 64, 200, 20) > 200, "no screen name")
        # Nothing below the texts.
        expect(brightest(shot, 0, 200, 1024, 568) == 60, "stray drawing below the overlay")
        quit_cleanly(game)
    finally:
        game.close()


if __name__ == "__main__":
    run([test_picture_is_grey_at_the_display_mode, test_wide_screen_has_black_bars,
         test_debug_overlay_text_appears_when_on])
