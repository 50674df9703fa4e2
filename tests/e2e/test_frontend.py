"""The front end as a player meets it: the intro, Space to the loading screen and the main menu, the
credits, how-to-play and options screens opened with the mouse and left with Esc, the options' resolution
buttons changing the back buffer, the quit confirmation, and the story's first pages. The screen is
1440 x 900, so the 4:3 picture sits between two black bars."""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, click, expect, pixels, run, tap  # noqa: E402

SCREEN = "1440x900"
WIDTH, HEIGHT = 1440, 900
MARGIN = (WIDTH - 4 * (HEIGHT // 3)) // 2  # 120
BLACK = (0, 0, 0)
# The loading screen decodes every sound before the menu comes.
MENU_TIMEOUT = 45.0
# Set to a folder to keep the screenshots for a look.
KEEP_SHOTS = os.environ.get("THORNVALE_KEEP_SHOTS")

# Buttons of the layouts, in virtual units: x, y, w, h.
MENU_NEW_GAME = (70, 190, 240, 52)
MENU_OPTIONS = (70, 314, 240, 52)
MENU_HOW_TO_PLAY = (70, 376, 240, 52)
MENU_CREDITS = (70, 438, 240, 52)
OPTIONS_800 = (190, 158, 200, 46)
OPTIONS_1024 = (410, 158, 200, 46)
OPTIONS_1440 = (300, 212, 200, 46)


def on_screen(vx, vy, width=WIDTH, height=HEIGHT, margin=MARGIN):
    """The screen pixel of a virtual position, the picture filling the window between its bars."""
    return (margin + round(vx * (width - 2 * margin) / 800), round(vy * height / 600))


def centre(item, **picture):
    x, y, w, h = item
    return on_screen(x + w / 2, y + h / 2, **picture)


def shot_until(game, name, condition, message, timeout=20.0):
    """A screenshot once it shows what is expected (a busy machine may draw slowly)."""
    deadline = time.time() + timeout
    while True:
        path = shot(game, name)
        if condition(path):
            return path
        if time.time() > deadline:
            raise Failure(message)


def shot(game, name):
    game.settle(0.6)
    path = game.screenshot(name)
    if KEEP_SHOTS:
        os.makedirs(KEEP_SHOTS, exist_ok=True)
        shutil.copy(path, os.path.join(KEEP_SHOTS, name + ".png"))
    return path


def changed_share(a, b):
    """The share of pixels that differ noticeably between two screenshots."""
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "6%", a, b, "null:"], capture_output=True,
                            text=True)
    return float(result.stderr.split()[0]) / (WIDTH * HEIGHT)


def brightest(path, x, y, width, height):
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", "-format",
                          "%[fx:maxima*255]", "info:"], capture_output=True, text=True, check=True)
    return round(float(out.stdout.strip()))


def to_main_menu(game):
    game.wait_for("Initializing IntroState")
    game.window_id()
    game.settle(0.8)
    tap(game, "space")
    game.wait_for("Cleanup IntroState")
    game.wait_for("Initializing LoadingState")
    game.wait_for("Initializing MainMenuState", timeout=MENU_TIMEOUT)
    game.settle(0.5)


def no_failures(game):
    bad = [line for line in game.lines
           if line == "Crap." or "Fail to load GUI" in line
           or (("FrontEnd" in line or "/gui" in line) and "ouldn't" in line)]
    expect(bad == [], "the front end reports missing content: %r" % bad)


def check_resolutions(game):
    """On the options screen: the resolution buttons change the back buffer, whose 4:3 picture keeps its
    shape between the bars; a pointer kept still over a button leaves that one lit after the change."""
    game.xdotool("mousemove", "10", "890")
    wide = shot(game, "options-1440")
    # The display has a 1440 x 900 mode, so its button is there: the plate is lighter than the panel.
    expect(brightest(wide, *on_screen(300, 212), 40, 20) > 60, "no 1440 x 900 button")
    expect(game.pixel(wide, 60, 450) == BLACK, "no side bar at 1440 x 900")

    # 1024 x 768 is 4:3: shown as large as the screen's height allows, between the same bars.
    click(game, centre(OPTIONS_1024))
    game.xdotool("mousemove", "10", "890")
    small = shot_until(game, "options-1024", lambda path: changed_share(wide, path) > 0.001,
                       "the picture did not change at 1024 x 768")
    expect(game.pixel(small, 60, 450) == BLACK, "the left bar went at 1024 x 768")
    expect(game.pixel(small, 1380, 450) == BLACK, "the right bar went at 1024 x 768")
    expect(game.pixel(small, MARGIN + 10, 450) != BLACK, "the picture does not reach the bar")

    # Back to 1440 x 900, the pointer kept on its button: the button beside it stays unlit.
    click(game, centre(OPTIONS_1440))
    left, top = on_screen(OPTIONS_800[0], OPTIONS_800[1])
    plate = (left, top, round(OPTIONS_800[2] * 1.5), round(OPTIONS_800[3] * 1.5))
    unlit = pixels(wide, plate)

    def as_unlit(path):
        now = pixels(path, plate)
        return sum(1 for a, b in zip(now, unlit) if max(abs(x - y) for x, y in zip(a, b)) > 16) < len(unlit) // 50

    shot_until(game, "options-1440-still", as_unlit, "a button the pointer is not over is lit", timeout=8.0)
    game.xdotool("mousemove", "10", "890")
    shot_until(game, "options-1440-again", lambda path: changed_share(wide, path) < 0.01,
                       "1440 x 900 does not look as it did")


def test_intro_menu_small_screens_and_resolutions(binary):
    game = Game(binary, screen=SCREEN)
    try:
        game.wait_for("Initializing IntroState")
        game.window_id()
        # A splash's gold emblem once it has faded in (a slow machine may already show the second one),
        # and the bars beside the picture.
        emblem = on_screen(300, 140) + (round(200 * 1.5), round(220 * 1.5))
        intro = shot_until(game, "intro", lambda path: brightest(path, *emblem) > 150, "no splash emblem")
        expect(game.pixel(intro, 60, 450) == BLACK, "no side bar on the intro")
        tap(game, "space")
        game.wait_for("Cleanup IntroState")
        game.wait_for("Unloading IntroState")
        game.wait_for("Initializing LoadingState")
        game.wait_for("Initializing MainMenuState", timeout=MENU_TIMEOUT)
        game.settle(0.5)
        game.xdotool("mousemove", "10", "890")
        menu = shot(game, "menu")
        expect(changed_share(intro, menu) > 0.5, "the menu looks like the intro")

        for button, name in ((MENU_CREDITS, "CreditsState"), (MENU_HOW_TO_PLAY, "HowToPlayState"),
                             (MENU_OPTIONS, "OptionsState")):
            click(game, centre(button))
            game.wait_for("Initializing " + name)
            game.xdotool("mousemove", "10", "890")
            screen = shot_until(game, name, lambda path: changed_share(menu, path) > 0.2,
                                "%s looks like the menu" % name)
            if name == "OptionsState":
                check_resolutions(game)
            tap(game, "Escape")
            game.wait_for("Cleanup " + name)
            game.wait_for("Unloading " + name)
            shot_until(game, "menu-after-" + name, lambda path: changed_share(menu, path) < 0.01,
                       "Esc on %s did not bring the menu back" % name)

        tap(game, "Escape")
        game.wait_for("Initializing QuitGameConfirmationState")
        shot_until(game, "quit", lambda path: changed_share(menu, path) > 0.1,
                   "the quit confirmation looks like the menu")
        tap(game, "space")
        game.wait_for("Unloading MainMenuState")
        expect(game.wait_exit() == 0, "exit status is not 0")
        no_failures(game)
        expect(game.count("Cannot find script by name") == 0, "a button ran a script that is not there")
    finally:
        game.close()


def bright_pixels(path, x, y, width, height):
    """How many pixels of a rectangle are near white in all three channels."""
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", "-fx",
                          "(r>0.8&&g>0.8&&b>0.8)?1:0", "-format", "%[fx:mean*w*h]", "info:"],
                         capture_output=True, text=True, check=True)
    return round(float(out.stdout.strip()))


def test_new_game_shows_the_story(binary):
    # With the debug overlay on, which must show above the menu's full-window backdrop.
    game = Game(binary, screen=SCREEN, env={"THORNVALE_DEBUG_OVERLAY": "1"})
    try:
        to_main_menu(game)
        menu = shot(game, "menu-before-story")
        # "Frame Time" and "Frame Rate" in white at virtual (500 - margin, 10) and (500 - margin, 25); the
        # starry sky there has no white of its own.
        left, top = on_screen(500 - MARGIN - 5, 5)
        right, bottom = on_screen(500 - MARGIN + 150, 40)
        expect(bright_pixels(menu, left, top, right - left, bottom - top) > 100,
               "the debug overlay does not show on the main menu")
        click(game, centre(MENU_NEW_GAME))
        game.wait_for("Loading StoryState")
        game.wait_for("Initializing StoryState")
        game.xdotool("mousemove", "10", "890")
        page = shot_until(game, "story-1", lambda path: changed_share(menu, path) > 0.2,
                          "the story looks like the menu")
        # Space turns the page: it fades out and the second one fades in.
        tap(game, "space")
        shot_until(game, "story-2", lambda path: changed_share(page, path) > 0.01, "the page did not turn")
        # Esc starts the new game at once: the story goes.
        tap(game, "Escape")
        game.wait_for("Unloading StoryState")
        game.close_window(game.window_id())
        expect(game.wait_exit() == 0, "exit status is not 0")
        no_failures(game)
    finally:
        game.close()


if __name__ == "__main__":
    run([test_intro_menu_small_screens_and_resolutions, test_new_game_shows_the_story])
