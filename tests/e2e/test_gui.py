"""A screen built from a GUI layout file, operated with real input: a click on a button runs its script
(the debug overlay appears; the game quits), a misspelt script is only reported, a hovered button grows,
and "[" and "]" fade the screen to black and back. The screen is the GUI harness, built beside the game;
the picture has side bars, so every position goes through the margin."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, run  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSETS = os.path.join(REPO, "Assets")
GUI_DATA = os.path.join(REPO, "tests", "data", "gui")

SCREEN = "1280x720"
WIDTH, HEIGHT = 1280, 720
MARGIN = (WIDTH - 4 * (HEIGHT // 3)) // 2  # 160: a 960 x 720 picture between two bars

GREY = (60, 60, 60)
BLACK = (0, 0, 0)
FADED = (13, 17, 32)  # the fader's last frame


def expect(condition, message):
    if not condition:
        raise Failure(message)


def pixel_of(vx, vy):
    """The back-buffer pixel of a virtual-screen position (800 x 600 onto the picture between the bars)."""
    return (MARGIN + round(vx * (WIDTH - 2 * MARGIN) / 800), round(vy * HEIGHT / 600))


# Items of tests/data/gui/layout.xml: x, y, w, h.
DEBUG_BUTTON = (100, 250, 200, 50)
QUIT_BUTTON = (500, 250, 200, 50)
BROKEN_BUTTON = (300, 420, 200, 50)
RESOLUTION_BUTTON = (20, 540, 100, 40)


def centre(item):
    x, y, w, h = item
    return pixel_of(x + w / 2, y + h / 2)


def brightest(path, x, y, width, height):
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
                          "-format", "%[fx:maxima*255]", "info:"], capture_output=True, text=True, check=True)
    return round(float(out.stdout.strip()))


def near(colour, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class Harness:
    """The harness copied to <tmp>/build beside the game's Assets and the test layouts (as GuiData), so
    that "../Assets" and "../GuiData" are found whatever folder it was built in."""

    def __init__(self, game_binary):
        harness = os.path.join(os.path.dirname(os.path.abspath(game_binary)), "gui_harness")
        if not os.path.exists(harness):
            raise Failure("no gui_harness beside " + game_binary)
        self.root = tempfile.mkdtemp(prefix="thornvale-gui-")
        os.makedirs(os.path.join(self.root, "build"))
        self.binary = os.path.join(self.root, "build", "gui_harness")
        shutil.copy2(harness, self.binary)
        os.symlink(ASSETS, os.path.join(self.root, "Assets"))
        os.symlink(GUI_DATA, os.path.join(self.root, "GuiData"))

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


def start(binary):
    harness = Harness(binary)
    game = Game(harness.binary, screen=SCREEN, args=[os.path.join(GUI_DATA, "layout.xml")])
    game.harness = harness
    try:
        game.wait_for("Initializing GuiHarnessState")
        game.window_id()
        game.settle(1.0)
    except Exception:
        stop(game)
        raise
    return game


def stop(game):
    game.close()
    game.harness.close()


def press(game, x, y):
    game.xdotool("mousemove", str(x), str(y))
    time.sleep(0.15)
    game.xdotool("mousedown", "1")
    time.sleep(0.15)


def release(game, x=None, y=None):
    if x is not None:
        game.xdotool("mousemove", str(x), str(y))
        time.sleep(0.15)
    game.xdotool("mouseup", "1")
    time.sleep(0.15)


def click(game, x, y):
    """A press and a release some frames apart, as a player's click is."""
    press(game, x, y)
    release(game)


def overlay_shown(game, name):
    """The debug overlay's texts are drawn at the top of the picture, above every item of the layout."""
    shot = game.screenshot(name)
    return brightest(shot, MARGIN, 0, WIDTH - 2 * MARGIN, pixel_of(0, 70)[1]) > 200


def test_layout_loads_one_item_per_known_type(binary):
    game = start(binary)
    try:
        types = [line.split("AddingGUI, Type: ")[1] for line in game.lines if "AddingGUI, Type: " in line]
        expect(types == ["image", "button", "button", "button", "button", "slider"], "layout lines %r" % types)
        shot = game.screenshot("layout")
        expect(game.pixel(shot, *pixel_of(50, 50)) == GREY, "the picture is not the grey background")
        expect(game.pixel(shot, 60, 360) == BLACK, "no side bar")
        # The buttons show the frames their own animations name: ember for the overlay's, moss to quit.
        debug = game.pixel(shot, *centre(DEBUG_BUTTON))
        quit_ = game.pixel(shot, *centre(QUIT_BUTTON))
        expect(debug[0] > debug[1] + 40, "the debug button is not ember: %r" % (debug,))
        expect(quit_[1] > quit_[0] and quit_[1] > quit_[2], "the quit button is not moss: %r" % (quit_,))
        # Nothing on the screen names a missing picture.
        bad = [line for line in game.lines if "couldn't load" in line or "Couldn't" in line]
        expect(bad == [], "content failures: %r" % bad)
        game.key("Escape")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        stop(game)


def test_click_on_a_button_runs_its_script(binary):
    game = start(binary)
    try:
        expect(not overlay_shown(game, "before"), "the overlay is on before any click")
        click(game, *centre(DEBUG_BUTTON))
        game.settle(0.5)
        expect(overlay_shown(game, "after-click"), "a click on the button did not turn the overlay on")

        # Pressed on the button, released off it: the button lets go and runs nothing.
        press(game, *centre(DEBUG_BUTTON))
        release(game, *pixel_of(400, 560))
        game.settle(0.3)
        expect(overlay_shown(game, "released-off"), "a release off the button ran its script")

        # Pressed off the button, released on it: nothing either.
        press(game, *pixel_of(400, 560))
        release(game, *centre(DEBUG_BUTTON))
        game.settle(0.3)
        expect(overlay_shown(game, "pressed-off"), "a press off the button ran its script")

        # A click again turns it off.
        click(game, *centre(DEBUG_BUTTON))
        game.settle(0.5)
        expect(not overlay_shown(game, "second-click"), "a second click did not turn the overlay off")

        # A button whose script does not exist only says so.
        click(game, *centre(BROKEN_BUTTON))
        game.wait_for("Cannot find script by name")
        expect(game.proc.poll() is None, "the game stopped after a missing script")

        click(game, *centre(QUIT_BUTTON))
        game.wait_for("Unloading GuiHarnessState")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        stop(game)


def test_hovered_button_grows_about_its_centre(binary):
    game = start(binary)
    try:
        x, y, w, h = DEBUG_BUTTON
        # Just left of the button's own edge, inside the 5 units it grows by.
        probe = [(px, pixel_of(x, y + h / 2)[1]) for px in range(pixel_of(x - 4, 0)[0], pixel_of(x, 0)[0])]
        game.xdotool("mousemove", *map(str, pixel_of(400, 560)))
        game.settle(0.4)
        shot = game.screenshot("not-hovered")
        expect(all(game.pixel(shot, px, py) == GREY for px, py in probe), "the button is wider than laid out")
        game.xdotool("mousemove", *map(str, centre(DEBUG_BUTTON)))
        game.settle(0.4)
        shot = game.screenshot("hovered")
        expect(any(game.pixel(shot, px, py) != GREY for px, py in probe), "the hovered button did not grow")
        game.key("Escape")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        stop(game)


def test_clicks_land_on_a_back_buffer_stretched_over_the_window(binary):
    game = start(binary)
    try:
        # 1024 x 768 has no side bars and cannot be shown on this 1280 x 720 screen: the window stays as
        # it is and the back buffer is stretched over it.
        click(game, *centre(RESOLUTION_BUTTON))
        game.settle(1.0)
        shot = game.screenshot("stretched")
        expect(game.pixel(shot, 60, 360) == GREY, "the picture is not stretched over the whole window")

        def on_screen(vx, vy):
            return (round(vx * 1024 / 800 * WIDTH / 1024), round(vy * 768 / 600 * HEIGHT / 768))

        # Near the right end of the debug button; read as back-buffer pixels straight from the window,
        # this point would lie well to the right of it.
        x, y, w, h = DEBUG_BUTTON
        click(game, *on_screen(x + w - 8, y + h / 2))
        game.settle(0.5)
        shot = game.screenshot("stretched-click")
        expect(brightest(shot, 0, 0, WIDTH, on_screen(0, 70)[1]) > 200, "the click missed the stretched button")
        game.key("Escape")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        stop(game)


def test_bracket_keys_fade_to_black_and_back(binary):
    game = start(binary)
    try:
        points = [pixel_of(50, 50), pixel_of(750, 550), centre(DEBUG_BUTTON), pixel_of(400, 150)]
        game.key("bracketleft")
        game.wait_for("Fade state 1")
        game.wait_for("Fade state 2", timeout=5.0)
        game.settle(0.3)
        shot = game.screenshot("black")
        for point in points:
            expect(near(game.pixel(shot, *point), FADED), "pixel %r is %r after the fade" %
                   (point, game.pixel(shot, *point)))
        expect(game.pixel(shot, 60, 360) == BLACK, "the side bar changed")

        game.key("bracketright")
        game.wait_for("Fade state 3")
        game.wait_for("Fade state 0", timeout=5.0)
        game.settle(0.3)
        shot = game.screenshot("unfaded")
        expect(game.pixel(shot, *pixel_of(50, 50)) == GREY, "the picture did not come back")
        debug = game.pixel(shot, *centre(DEBUG_BUTTON))
        expect(debug[0] > debug[1] + 40, "the button did not come back: %r" % (debug,))
        game.key("Escape")
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        stop(game)


if __name__ == "__main__":
    run([test_layout_loads_one_item_per_known_type, test_click_on_a_button_runs_its_script,
         test_hovered_button_grows_about_its_centre, test_clicks_land_on_a_back_buffer_stretched_over_the_window,
         test_bracket_keys_fade_to_black_and_back])
