"""The game draws full screen at the display's mode: the grey picture, black side bars on a wide screen,
and the debug overlay's text when it is turned on. The game's own screens cover the picture with theirs:
the grey picture is the GUI harness, built beside the game, with no layout, and the overlay is turned on
there from the harness's test layout."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, click, expect, run, tap  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GUI_DATA = os.path.join(REPO, "tests", "data", "gui")

GREY = (60, 60, 60)
BLACK = (0, 0, 0)


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


def harness_beside(binary):
    harness = os.path.join(os.path.dirname(os.path.abspath(binary)), "gui_harness")
    if not os.path.exists(harness):
        raise Failure("no gui_harness beside " + binary)
    return harness


def start(screen, env=None):
    # A layout that is not there leaves the screen with nothing on it.
    game = Game(harness_beside(sys.argv[1]), screen=screen, env=env, args=["/nonexistent/layout.xml"])
    game.wait_for("Initializing GuiHarnessState")
    game.window_id()
    # Let full screen settle and a few frames be shown.
    game.settle(1.0)
    return game


def quit_cleanly(game):
    tap(game, "Escape")
    expect(game.wait_exit() == 0, "exit status is not 0")


def test_picture_is_grey_at_the_display_mode(binary):
    game = Game(harness_beside(binary), screen="1024x768", args=["/nonexistent/layout.xml"])
    try:
        expect("Width: 1024 Height: 768" in game.wait_for("Width: "), "the stored mode is not the screen's")
        expect(game.wait_for("Aspect Ratio of screen is: ").endswith("1.33333"), "wrong aspect ratio")
        game.wait_for("Initializing GuiHarnessState")
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
        # Black is also what shows before the first frame: wait for the picture itself.
        shot = shot_when(game, "bars", 720, 450, GREY)
        for y in (0, 450, 899):
            for x in (0, 60, 119, 1320, 1380, 1439):
                expect(game.pixel(shot, x, y) == BLACK, "bar pixel %d,%d is %r" % (x, y, game.pixel(shot, x, y)))
            for x in (120, 720, 1319):
                expect(game.pixel(shot, x, y) == GREY, "picture pixel %d,%d is %r" % (x, y, game.pixel(shot, x, y)))
        quit_cleanly(game)
    finally:
        game.close()


def test_debug_overlay_text_appears_when_on(binary):
    # The game's own screens cover the whole picture; the harness's test layout leaves the top free. Its
    # debug button runs the script that turns the overlay on.
    from test_gui import Harness
    harness = Harness(binary)
    game = Game(harness.binary, screen="1024x768", args=[os.path.join(GUI_DATA, "layout.xml")])
    try:
        game.wait_for("Initializing GuiHarnessState")
        game.window_id()
        shot = shot_when(game, "before", 1023, 767, GREY)
        expect(brightest(shot, 640, 12, 384, 40) == 60, "text drawn with the overlay off")
        # The debug button (virtual 100, 250, 200 x 50).
        click(game, (round(200 * 1.28), round(275 * 1.28)))
        game.settle(1.0)
        shot = game.screenshot("overlay")
        # "Frame Time" and "Frame Rate" from virtual x 500 (pixel 640), y 10 and 25 (pixels 12 and 32).
        expect(brightest(shot, 640, 12, 384, 40) > 200, "no frame time or rate text")
        # The screen's name from virtual x 10, y 50 (pixels 12, 64).
        expect(brightest(shot, 12, 64, 200, 20) > 200, "no screen name")
        # Nothing below the texts where the layout has no item.
        expect(brightest(shot, 0, 100, 1024, 50) == 60, "stray drawing below the overlay")
        expect(brightest(shot, 0, 400, 1024, 120) == 60, "stray drawing below the overlay")
        quit_cleanly(game)
    finally:
        game.close()
        harness.close()

if __name__ == "__main__":
    run([test_picture_is_grey_at_the_display_mode, test_wide_screen_has_black_bars,
         test_debug_overlay_text_appears_when_on])
