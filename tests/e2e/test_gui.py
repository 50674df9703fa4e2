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
from driver import CLICK_HOLD, Failure, Game, click, expect, press, release, run, tap  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSETS = os.path.join(REPO, "Assets")
GUI_DATA = os.path.join(REPO, "tests", "data", "gui")

SCREEN = "1280x720"
WIDTH, HEIGHT = 1280, 720
MARGIN = (WIDTH - 4 * (HEIGHT // 3)) // 2  # 160: a 960 x 720 picture between two bars

GREY = (60, 60, 60)
BLACK = (0, 0, 0)
FADED = (13, 17, 32)  # the fader's last frame


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


class Shot:
    """A screenshot read once into memory: a busy machine starts few processes quickly."""

    def __init__(self, game, name):
        path = game.screenshot(name)
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], capture_output=True,
                              check=True).stdout
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = data[pos + 1:]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def brightest(self, x, y, width, height):
        return max(max(self.data[(row * self.width + x) * 3:(row * self.width + x + width) * 3])
                   for row in range(y, y + height))


def near(colour, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def ember(colour):
    return colour[0] > colour[1] + 40


def wait_until(condition, message, timeout=20.0):
    """Polls a condition on the running game (a busy machine may draw slowly)."""
    deadline = time.time() + timeout
    while not condition():
        if time.time() > deadline:
            raise Failure(message)
        time.sleep(0.2)


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
        game.wait_for("Initializing GuiHarnessState", timeout=60.0)
        game.window_id(timeout=30.0)
        # The first frames are up once the layout's debug button shows.
        wait_until(lambda: ember(Shot(game, "first").pixel(*centre(DEBUG_BUTTON))),
                   "the layout was never drawn")
    except Exception:
        stop(game)
        raise
    return game


def stop(game):
    game.close()
    game.harness.close()


def quit_with_escape(game):
    tap(game, "Escape")
    expect(game.wait_exit(timeout=30.0) == 0, "exit status is not 0")


def overlay_shown(game, name):
    """The debug overlay's texts are drawn at the top of the picture, above every item of the layout."""
    return Shot(game, name).brightest(MARGIN, 0, WIDTH - 2 * MARGIN, pixel_of(0, 70)[1]) > 200


# The checks share one running game where they can: starting it is the slow part on a busy machine.

def check_layout(game):
    types = [line.split("AddingGUI, Type: ")[1] for line in game.lines if "AddingGUI, Type: " in line]
    expect(types == ["image", "button", "button", "button", "button", "slider"], "layout lines %r" % types)
    shot = Shot(game, "layout")
    expect(shot.pixel(*pixel_of(50, 50)) == GREY, "the picture is not the grey background")
    expect(shot.pixel(60, 360) == BLACK, "no side bar")
    # The buttons show the frames their own animations name: ember for the overlay's, moss to quit.
    debug = shot.pixel(*centre(DEBUG_BUTTON))
    quit_ = shot.pixel(*centre(QUIT_BUTTON))
    expect(ember(debug), "the debug button is not ember: %r" % (debug,))
    expect(quit_[1] > quit_[0] and quit_[1] > quit_[2], "the quit button is not moss: %r" % (quit_,))
    # Nothing on the screen names a missing picture.
    bad = [line for line in game.lines if "couldn't load" in line or "Couldn't" in line]
    expect(bad == [], "content failures: %r" % bad)


def check_hover(game):
    x, y, w, h = DEBUG_BUTTON
    # Just left of the button's own edge, inside the 5 units it grows by.
    probe = [(px, pixel_of(x, y + h / 2)[1]) for px in range(pixel_of(x - 4, 0)[0], pixel_of(x, 0)[0])]

    def grown():
        shot = Shot(game, "hover")
        return any(shot.pixel(px, py) != GREY for px, py in probe)

    game.xdotool("mousemove", *map(str, pixel_of(400, 560)))
    time.sleep(CLICK_HOLD)
    expect(not grown(), "the button is wider than laid out")
    game.xdotool("mousemove", *map(str, centre(DEBUG_BUTTON)))
    wait_until(grown, "the hovered button did not grow")
    game.xdotool("mousemove", *map(str, pixel_of(400, 560)))
    wait_until(lambda: not grown(), "the button did not shrink back when the cursor left")


def check_fade_keys(game):
    points = [pixel_of(50, 50), pixel_of(750, 550), centre(DEBUG_BUTTON), pixel_of(400, 150)]
    tap(game, "bracketleft")
    game.wait_for("Fade state 1")
    game.wait_for("Fade state 2")
    game.settle(0.5)
    shot = Shot(game, "black")
    for point in points:
        expect(near(shot.pixel(*point), FADED), "pixel %r is %r after the fade" % (point, shot.pixel(*point)))
    expect(shot.pixel(60, 360) == BLACK, "the side bar changed")

    tap(game, "bracketright")
    game.wait_for("Fade state 3")
    game.wait_for("Fade state 0")
    game.settle(0.5)
    shot = Shot(game, "unfaded")
    expect(shot.pixel(*pixel_of(50, 50)) == GREY, "the picture did not come back")
    debug = shot.pixel(*centre(DEBUG_BUTTON))
    expect(ember(debug), "the button did not come back: %r" % (debug,))


def check_clicks(game):
    expect(not overlay_shown(game, "before"), "the overlay is on before any click")
    click(game, centre(DEBUG_BUTTON))
    wait_until(lambda: overlay_shown(game, "after-click"), "a click on the button did not turn the overlay on")

    # Pressed on the button and released off it, then pressed off it and released on it: neither runs
    # the script. The click after them must turn the overlay off, so neither toggled it.
    press(game, centre(DEBUG_BUTTON))
    release(game, pixel_of(400, 560))
    press(game, pixel_of(400, 560))
    release(game, centre(DEBUG_BUTTON))
    expect(overlay_shown(game, "after-misses"), "a press or release off the button ran its script")
    click(game, centre(DEBUG_BUTTON))
    wait_until(lambda: not overlay_shown(game, "second-click"), "the overlay was toggled off the button")

    # A button whose script does not exist only says so.
    click(game, centre(BROKEN_BUTTON))
    game.wait_for("Cannot find script by name")
    expect(game.proc.poll() is None, "the game stopped after a missing script")


def test_buttons_hover_click_and_run_their_scripts_and_the_fade_keys_fade(binary):
    game = start(binary)
    try:
        check_layout(game)
        check_hover(game)
        check_fade_keys(game)
        check_clicks(game)
        # The quit button's script ends the game the way the game ends.
        click(game, centre(QUIT_BUTTON))
        game.wait_for("Unloading GuiHarnessState", timeout=30.0)
        expect(game.wait_exit(timeout=30.0) == 0, "exit status is not 0")
    finally:
        stop(game)


def test_clicks_land_on_a_back_buffer_shown_between_bars(binary):
    game = start(binary)
    try:
        # 1024 x 768 has no side bars of its own and cannot be shown on this 1280 x 720 screen: the window
        # stays as it is and the back buffer fills its height, 4:3, between black bars.
        click(game, centre(RESOLUTION_BUTTON))
        left = (WIDTH - HEIGHT * 4 // 3) // 2
        wait_until(lambda: Shot(game, "shown").pixel(left + 20, 360) == GREY,
                   "the picture does not fill the window's height")
        expect(Shot(game, "bars").pixel(left - 20, 360) == BLACK, "no bar beside the picture")

        def on_screen(vx, vy):
            return (round(left + vx * (WIDTH - 2 * left) / 800), round(vy * HEIGHT / 600))

        # Near the right end of the debug button; read as back-buffer pixels straight from the window,
        # this point would lie well to the right of it.
        x, y, w, h = DEBUG_BUTTON
        click(game, on_screen(x + w - 8, y + h / 2))
        wait_until(lambda: Shot(game, "shown-click").brightest(0, 0, WIDTH, on_screen(0, 70)[1]) > 200,
                   "the click missed the button")
        quit_with_escape(game)
    finally:
        stop(game)


if __name__ == "__main__":
    run([test_buttons_hover_click_and_run_their_scripts_and_the_fade_keys_fade,
         test_clicks_land_on_a_back_buffer_shown_between_bars])
