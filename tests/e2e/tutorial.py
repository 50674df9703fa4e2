"""The guided tutorial in the real game, played from its first letter to its last as the letters ask:
each letter is read with a click on its envelope; the Menu opens; Farm and House are built from the
Build list; the list scrolls to Destroy; a building that is not the Keep is torn down and comes back with
a rebuke, then the Keep goes; the Path tool paves the marked road from the southern gate, a tile out of
turn is taken back with a rebuke; the crack runs along the road to the Capital; a starting unit is
stationed where the marker points; the War tab starts the battle, which is won; in the unit editor an
offer is picked and bought, a statistic raised until its "+" locks and confirmed, a unit trained; the
Army box ends the tutorial and the whole HUD is handed back."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
import driver  # noqa: E402
from driver import Failure, hold, pixels, tap, wait_for_picture  # noqa: E402
from realgame import (HEIGHT, MENU_NEW_GAME, MENU_TIMEOUT, UNIT_TAB, WIDTH, confirmed_click, expect,  # noqa: E402
                      grass, hud, road)

READ_TIME = 0.5  # a read letter starts to slide away

ENVELOPE = (830, 480)
AWAY = (1000, 110)  # over no box and no letter


MENU_BOX = hud(-2.4, -4.0)
BUILD_BOX = hud(-7.0, -5.0)
ARMY_BOX = hud(-7.0, -4.5)
WAR_TAB = hud(7.0, -5.0)


def build_row(slot):
    """A row of the open Build list: slot 0 is its "<<" arrow, 9 its ">>" arrow."""
    return hud(-4.5 + slot, -5.0)


def click(game, pos):
    """A click, the pointer then taken away so that no box stays hovered."""
    driver.click(game, pos)
    game.xdotool("mousemove", str(AWAY[0]), str(AWAY[1]))


def letter_on_show(path):
    """The envelope of an unread letter fills its place: a read one shrinks away."""
    return sum(1 for r, g, b in pixels(path, (900, 440, 90, 20)) if r > 200 and g > 180 and r - b > 30) > 900


def read_letter(game):
    """Clicks the letter on show until it goes, then lets it slide away: a mail on its way still takes
    the clicks meant for the map and the boxes."""
    before = wait_for_picture(game, letter_on_show, "no letter came", name="unread")
    for _ in range(3):
        click(game, ENVELOPE)
        try:
            wait_for_picture(game, lambda path: letter_changed(before, path), "", timeout=3.0)
            game.settle(READ_TIME)
            return
        except Failure:
            pass
    raise Failure("the letter could not be read")


def click_box(game, pos, line="Clicked box"):
    """A click that the game's log confirms, repeated while a mail on its way still took it."""
    confirmed_click(game, pos, line, press=click, read_letters=False)


def shot(game, name):
    """A screenshot, kept in the temporary folder as tutorial-<name>.png for a look."""
    game.settle(0.4)
    path = game.screenshot(name)
    shutil.copy(path, os.path.join(tempfile.gettempdir(), "tutorial-" + name + ".png"))
    return path


def letter_changed(before, after):
    """The letter's text on show differs between two screenshots."""
    box = (170, 185, 580, 150)
    return pixels(before, box) != pixels(after, box)


def longest_run(flags, gap=4):
    """Start and length of the longest run of set flags, bridging gaps of a few."""
    best = (0, 0)
    start = None
    last = None
    for i, flag in enumerate(flags):
        if not flag:
            continue
        if start is None or i - last > gap:
            start = i
        last = i
        if last - start + 1 > best[1]:
            best = (start, last - start + 1)
    return best


class TopView:
    """The top-view camera after panning: the centre pixel of a tile. The pan is measured on the
    tutorial map's road west of the Capital, (10, 7) to (10, 10), the only road of column 8."""

    def __init__(self, path, guess_row, guess_col):
        self.row0, self.col0 = guess_row, guess_col
        x = self.centre(10, 8)[0]
        # Between the counters and the HUD's frames, which are golden too.
        start, length = longest_run([road(rgb) for rgb in pixels(path, (x, 70, 1, 460))])
        expect(50 < length < 80, "the road west of the Capital is not where the pan took it")
        self.row0 = 10 - (70 + start + length / 2 - HEIGHT / 2) / 64
        y = self.centre(10, 8)[1]
        start, length = longest_run([road(rgb) for rgb in pixels(path, (0, y, WIDTH, 1))])
        expect(length > 4 * 50, "no road of four tiles on row 10")
        self.col0 = 7 - (start + 32 - WIDTH / 2) / 64

    def centre(self, row, col):
        return (round(WIDTH / 2 + (col - self.col0) * 64), round(HEIGHT / 2 + (row - self.row0) * 64))


def start_new_game(game):
    game.wait_for("Initializing IntroState")
    game.window_id()
    game.settle(0.8)
    tap(game, "space")
    game.wait_for("Initializing MainMenuState", timeout=MENU_TIMEOUT)
    begin_new_game(game)


def begin_new_game(game):
    """From the main menu past the story onto the kingdom, its first letter on the way."""
    click(game, MENU_NEW_GAME)
    game.wait_for("Initializing StoryState")
    game.settle(1.0)
    tap(game, "Escape")
    game.wait_for("Unloading StoryState")
    game.settle(2.0)


def play_tutorial(game):
    """The tutorial from its first letter on a new game's kingdom to its end; the top view the player
    panned to is returned for the tiles of the tutorial map."""
    first = shot(game, "01-welcome")
    for _ in range(3):  # the welcome, the basics, the skip box
        read_letter(game)
    capital = shot(game, "02-your-throne")
    expect(letter_changed(first, capital), "reading the letters did not bring the next ones")
    read_letter(game)

    # From above, the view moved south-east so that the southern gate shows.
    tap(game, "c")
    hold(game, "s", 0.8)
    hold(game, "d", 0.4)
    menu_letter = shot(game, "03-menu-letter")
    view = TopView(menu_letter, 14.0, 12.0)
    read_letter(game)
    click_box(game, MENU_BOX)
    game.settle(1.5)
    build_letter = shot(game, "04-menu-open")
    expect(letter_changed(menu_letter, build_letter), "opening the Menu did not end its step")

    read_letter(game)
    click_box(game, BUILD_BOX)
    read_letter(game)
    shot(game, "05-build-list")
    click_box(game, build_row(2))  # Farm
    click_box(game, view.centre(10, 8), "Placed Farm at Tile - Building | (Row: 10, Col: 8)")
    click_box(game, build_row(1))  # House
    click_box(game, view.centre(10, 7), "Placed House at Tile - Building | (Row: 10, Col: 7)")
    shot(game, "06-farm-and-house")

    for _ in range(3):  # the stocks, the scroll arrow, the Destroy order
        read_letter(game)
    click_box(game, build_row(9))
    game.settle(1.0)
    click_box(game, build_row(9))
    game.settle(1.5)
    shot(game, "07-keep-to-destroy")
    read_letter(game)
    click_box(game, build_row(8))  # Destroy, in the last slot now
    smith = view.centre(11, 13)
    click_box(game, smith, "Demolished the building at Tile - Path | (Row: 11, Col: 13)")
    rebuke = shot(game, "08-smith-comes-back")
    expect(not road(game.pixel(rebuke, *smith)), "the Smith did not come back")
    read_letter(game)
    click_box(game, view.centre(13, 13), "Demolished the building at Tile - Path | (Row: 13, Col: 13)")

    read_letter(game)
    click_box(game, build_row(7))  # Path
    read_letter(game)
    click_box(game, view.centre(16, 13), "Laid path at Tile - Path | (Row: 16, Col: 13)")
    click_box(game, view.centre(15, 13), "Laid path at Tile - Path | (Row: 15, Col: 13)")  # out of turn
    taken_back = shot(game, "09-out-of-turn")
    expect(grass(game.pixel(taken_back, *view.centre(15, 13))), "the tile out of turn stayed paved")
    read_letter(game)
    for cell in [(16, 12), (16, 11), (15, 11), (14, 11)]:
        click_box(game, view.centre(*cell), "Laid path at Tile - Path | (Row: %d, Col: %d)" % cell)
    cracked = shot(game, "10-crack")
    for cell in [(16, 12), (14, 11), (11, 11)]:
        rgb = game.pixel(cracked, *view.centre(*cell))
        expect(not road(rgb) and not grass(rgb), "no crack at %s" % (cell,))
    read_letter(game)

    # One of the two starting units is stationed where the marker points.
    read_letter(game)
    click_box(game, ARMY_BOX)
    game.settle(1.0)
    click_box(game, hud(-3.5, -5.0))  # the first unit of the Army list
    click_box(game, view.centre(14, 11), "Moved Primal Guardian to Tile - Crack | (Row: 14, Col: 11)")
    to_war = shot(game, "11-deployed")
    expect(letter_changed(cracked, to_war), "the unit on its post did not end the step")

    # The battle is fought to victory and the kingdom comes back.
    read_letter(game)
    click_box(game, WAR_TAB)
    game.wait_for("Initializing WarringState")
    read_letter(game)
    shot(game, "12-battle")
    game.wait_for("Unloading WarringState", timeout=90)
    won = shot(game, "13-won")
    read_letter(game)
    read_letter(game)

    # The unit editor: an offer bought, a statistic raised, a unit trained.
    click_box(game, UNIT_TAB)
    game.settle(2.0)
    merchant = shot(game, "14-unit-editor")
    expect(letter_changed(won, merchant), "the Unit tab did not end its step")
    read_letter(game)
    click(game, hud(-0.75, -2.0))  # the merchant's offer
    game.settle(1.0)
    offer = shot(game, "15-offer-picked")
    expect(letter_changed(merchant, offer), "picking the offer did not end its step")
    read_letter(game)
    click(game, hud(0.2, 1.75))  # Buy From Merchant
    game.settle(1.0)
    read_letter(game)
    click(game, hud(-0.75, -3.0))  # the technology bought
    game.settle(0.5)
    click(game, hud(0.2, 3.25))  # Show Unit Stats
    game.settle(1.0)
    stats = shot(game, "16-stats")
    expect(letter_changed(offer, stats), "buying and showing the technology did not end their steps")
    read_letter(game)
    plus = hud(5.77, 4.0)  # the first "+"
    before = pixels(stats, (plus[0] - 8, plus[1] - 8, 16, 16))
    for _ in range(3):
        click(game, plus)
        game.settle(0.3)
    locked = shot(game, "17-plus-locked")
    expect(pixels(locked, (plus[0] - 8, plus[1] - 8, 16, 16)) != before, "the third + did not lock it")
    click(game, hud(3.5, -0.5))  # Confirm Stat Change
    game.settle(1.0)
    read_letter(game)
    click(game, hud(0.2, 2.25))  # Train Unit
    game.settle(1.0)
    read_letter(game)
    click(game, hud(5.25, 2.75))  # Increase Units
    game.settle(0.5)
    click(game, hud(4.75, 1.75))  # Confirm Recruitment
    game.settle(1.5)
    recruited = shot(game, "18-recruited")
    read_letter(game)
    click(game, ARMY_BOX)
    game.settle(1.5)
    read_letter(game)

    # The last letter read, the whole HUD is the player's again and the Skip Tutorial box is gone.
    end = shot(game, "19-end")
    skip_box = hud(-4.0, -3.25)
    for box, what in [((skip_box[0] - 20, skip_box[1] - 8, 40, 16), "the Skip Tutorial box stayed"),
                      ((BUILD_BOX[0] + 20, BUILD_BOX[1] - 8, 16, 16), "the Build box stayed grey")]:
        expect(pixels(recruited, box) != pixels(end, box), what)
    expect(game.count("Game Over") == 0, "the battle was lost")

    expect(game.count("Cannot find script by name") == 0, "a script that is not there was run")
    return view
