"""The kingdom screen under real input, on the kingdom harness (a realm and a 12 x 12 map with the
Capital at row 8, column 5, a cross of path and a unit on it): the map is drawn, the camera keys move
the view, a click on a tile selects it, a click on the unit and then on the road marches it there, the Build menu's Farm box chooses the tool that a click on a path tile then
applies, the farm's yield raises the Nature counter of the HUD while the others stand, and after scrolling the list its Path and Destroy rows lay a path and raze the farm."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import (click, click_and_wait, expect, hold, run, same_file, start_kingdom_harness,  # noqa: E402
                    stop_harness)

SCREEN = "1024x768"  # 4:3: no side bars, 64 pixels per HUD unit


def hud(x, z):
    """The pixel of a point of the HUD plane (the GUI camera looks down on a 16 x 12 world)."""
    return (round(512 + x * 64), round(384 - z * 64))


def list_row(x):
    """The middle of the Build list's row at HUD x, where what the list slides there comes to rest."""
    px, py = hud(x, -5.0)
    return (px - 20, py - 20, 40, 40)


def top_view_tile(row, col):
    """The pixel of a tile's centre seen by the top-view camera (eye over x 5, z -10)."""
    return (round(512 + (col - 5) * 64), round(384 + (row - 10) * 64))


def start(binary):
    return start_kingdom_harness(binary, screen=SCREEN)


def shot(game, name):
    """A screenshot, named in the log and kept in the temporary folder as kingdom-<name>.png."""
    path = game.screenshot(name)
    shutil.copy(path, os.path.join(tempfile.gettempdir(), "kingdom-" + name + ".png"))
    print("   screenshot " + path, flush=True)
    return path


def counter(path, index):
    """The raw pixels of the index-th resource counter of the HUD's top row (Fire 0 .. Population 9)."""
    box = "96x20+%d+37" % (round(6 + index * 102.3))
    return subprocess.run(["convert", path, "-crop", box, "+repage", "-depth", "8", "rgb:-"],
                          capture_output=True, check=True).stdout


def glyph_pixels(rgb):
    """How many pixels of raw RGB bytes show the fill of the labels' glyphs (parchment)."""
    return sum(1 for i in range(0, len(rgb), 3) if rgb[i] > 200 and rgb[i + 1] > 190 and rgb[i + 2] > 165)


def test_kingdom(binary):
    game = start(binary)
    try:
        first = shot(game, "map")
        hold(game, "w", 1.0)
        moved = shot(game, "moved")
        expect(not same_file(first, moved), "W did not move the perspective view")

        hold(game, "c", 0.3)  # the top view: tiles fall on known pixels
        time.sleep(1.0)
        click(game, top_view_tile(7, 3))
        game.wait_for("Clicked Tile - Empty | (Row: 7, Col: 3)", timeout=10.0)

        # The unit on the road below the Capital is selected and marches to the road's east arm.
        click(game, top_view_tile(10, 5))
        game.wait_for("Clicked Tile - Path | (Row: 10, Col: 5)", timeout=10.0)
        click(game, top_view_tile(8, 7))
        game.wait_for("Moved Elvenkind to Tile - Path | (Row: 8, Col: 7)", timeout=10.0)
        time.sleep(0.5)
        marched = shot(game, "marched")

        click_and_wait(game, hud(-7.0, -5.0), list_row(-2.5))  # the Build list opens
        click(game, hud(-2.5, -5.0))  # its second row: Farm
        game.wait_for("Tool mode 3", timeout=10.0)
        click(game, top_view_tile(8, 3))
        game.wait_for("Placed Farm at Tile - Building | (Row: 8, Col: 3)", timeout=10.0)
        built = shot(game, "farm")

        # The farm feeds the Nature stock at 0.6 a second; the counter follows it.
        game.wait_for("Nature stock 3", timeout=20.0)
        time.sleep(0.5)
        fed = shot(game, "farm-yield")
        expect(counter(built, 3) != counter(fed, 3), "the Nature counter did not change with the farm")
        for other in (0, 6, 8):  # Fire, Psychic and Money stand still
            expect(counter(built, other) == counter(fed, other), "counter %d changed" % other)

        # Path and Destroy are the list's last rows: two scrolls forward bring them into the window.
        click_and_wait(game, hud(4.5, -5.0), list_row(2.5))
        click_and_wait(game, hud(4.5, -5.0), list_row(2.5))
        # The "y" of "Destroy" runs past its row onto the ">>" arrow, held enlarged under the mouse.
        scrolled = shot(game, "scrolled")
        y = subprocess.run(["convert", scrolled, "-crop", "8x20+764+694", "-depth", "8", "rgb:-"],
                           capture_output=True, check=True).stdout
        expect(glyph_pixels(y) > 10, "the arrow hides the end of \"Destroy\"")
        click(game, hud(2.5, -5.0))
        game.wait_for("Tool mode 11", timeout=10.0)
        click(game, top_view_tile(7, 3))
        game.wait_for("Laid path at Tile - Path | (Row: 7, Col: 3)", timeout=10.0)
        click(game, hud(3.5, -5.0))
        game.wait_for("Tool mode 10", timeout=10.0)
        click(game, top_view_tile(8, 3))
        game.wait_for("Demolished the building at Tile - Path | (Row: 8, Col: 3)", timeout=10.0)
        razed = shot(game, "demolished")
        expect(not same_file(built, razed), "the demolished farm still shows")

        before = game.screenshot("before-pan")
        hold(game, "d", 1.0)
        after = game.screenshot("after-pan")
        expect(not same_file(before, after), "D did not pan the top view")
    finally:
        stop_harness(game)


def differing(a, b, x, y, width, height):
    """How many pixels of a rectangle differ noticeably between two screenshots."""
    crop = ["-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage"]
    result = subprocess.run(["convert", "(", a, *crop, ")", "(", b, *crop, ")", "-compose", "difference",
                             "-composite", "-threshold", "10%", "-format", "%[fx:mean*w*h]", "info:"],
                            capture_output=True, text=True, check=True)
    return round(float(result.stdout.strip()))


def test_hover_and_mail(binary):
    game = start(binary)
    try:
        hold(game, "c", 0.3)  # the top view holds still
        time.sleep(1.0)
        game.xdotool("mousemove", *map(str, hud(4.0, 2.0)))  # over the map, away from every box
        time.sleep(1.0)
        plain = shot(game, "unhovered")
        # The Build head (-7, -5), 1.25 x 0.5, is held at 1.5 x 0.6 while hovered: its right edge moves
        # from pixel 104 to 112.
        game.xdotool("mousemove", *map(str, hud(-7.0, -5.0)))
        time.sleep(1.0)
        hovered = shot(game, "hovered")
        grown = differing(plain, hovered, 105, 696, 4, 16)
        beyond = differing(plain, hovered, 116, 696, 4, 16)
        expect(grown > 30 and beyond < 4, "the hovered box did not grow (%d, %d)" % (grown, beyond))

        # Demolishing the Capital posts the three-line warning over the Game Message Box.
        click_and_wait(game, hud(-7.0, -5.0), list_row(3.5))  # the Build list opens
        click_and_wait(game, hud(4.5, -5.0), list_row(3.5))
        click_and_wait(game, hud(4.5, -5.0), list_row(3.5))
        click(game, hud(3.5, -5.0))
        game.wait_for("Tool mode 10", timeout=10.0)
        click(game, top_view_tile(8, 5))
        game.xdotool("mousemove", *map(str, hud(4.0, 2.0)))
        time.sleep(1.0)
        letter = shot(game, "letter")
        # Near the left edge of the 6 x 3 envelope at (5, -1.5), far from its middle.
        click(game, hud(2.3, -1.5))
        game.wait_for("Read a mail", timeout=10.0)
        game.xdotool("mousemove", *map(str, hud(4.0, 2.0)))
        time.sleep(1.0)
        read = shot(game, "read")
        # The letter's first line and the starts of the other two lie over the Game Message Box.
        first = differing(letter, read, 173, 186, 205, 21)
        others = differing(letter, read, 339, 210, 41, 40)
        expect(first > 150 and others > 40,
               "the letter is hidden behind the boxes (%d, %d)" % (first, others))
    finally:
        stop_harness(game)


if __name__ == "__main__":
    run([test_kingdom, test_hover_and_mail])
