"""Where things are in the real game on a 1024 x 768 screen, and the moves a player makes with them:
the main menu, a new game's kingdom seen from the top, its HUD, the save screen and the unit editor."""

import os
import shutil
import subprocess
import tempfile
import time

from driver import Failure, Game, click, click_and_wait, expect, tap

SCREEN = "1024x768"  # 4:3, no side bars: 1.28 pixels per virtual unit, 64 per HUD unit
WIDTH, HEIGHT = 1024, 768
MENU_TIMEOUT = 60.0
AWAY = ("900", "200")
ROAD = (10, 8)  # a road tile of the tutorial map, west of the Capital
# A farm costs 100 of the 500 in money that a new game begins with.


def virtual(x, y):
    """The pixel of a point of a 800 x 600 GUI layout."""
    return (round(x * WIDTH / 800), round(y * HEIGHT / 600))


def hud(x, z):
    """The pixel of a point of the HUD plane (the GUI camera looks down on a 16 x 12 world)."""
    return (round(512 + x * 64), round(384 - z * 64))


def tile(row, col):
    """A tile's centre seen by the top-view camera of a new game (eye over column 10, row 10)."""
    return (round(512 + (col - 10) * 64), round(384 + (row - 10) * 64))


def box(pos, half_w, half_h):
    return (pos[0] - half_w, pos[1] - half_h, 2 * half_w, 2 * half_h)


def around(pos, half):
    return box(pos, half, half)


MENU_NEW_GAME = virtual(190, 216)
# The main menu's "Load Game" button (virtual 70, 252, 240 x 52).
MENU_LOAD_GAME = virtual(70 + 120, 252 + 26)
PAUSE_MAIN_MENU = virtual(400, 345)
BUILD_MENU = hud(-7.0, -5.0)
# The Build list shows eight of its rows between its arrows; a click on ">>" moves them one along.
FARM = hud(-2.5, -5.0)
TECHLAB = hud(2.5, -5.0)  # the Build list's seventh row
BUILD_NEXT = hud(4.5, -5.0)
PATH_AFTER_NEXT = hud(3.5, -5.0)  # the ninth row, "Path", once the list has moved one along
MENU_CHAIN = (358, 640)
SAVE_BOX = hud(-2.4 + 5 * 1.25, -4.0)  # the Menu chain's sixth box
SAVE_GAME = hud(-1.2, -3.8)
LOAD_GAME = hud(-3.5, -3.8)
HOUSE = hud(-3.5, -5.0)  # the Build list's first row
# The map right of the message frame and above the HUD.
MAP_VIEW = (380, 70, 540, 470)
# The save screen's slot summary: its number, time, date and the ten stocks.
SLOT_SUMMARY = (110, 100, 800, 435)
PSYCHIC = (612, 36, 48, 24)  # the number of the seventh resource counter
# "Next Enemy in : ..." and "Level : 0" at the top right of the kingdom.
COUNTDOWN = (hud(3.4, 5.0)[0], hud(3.4, 5.0)[1], 300, 40)

# The unit editor.
UNIT_TAB = hud(7.0, -4.5)
KINGDOM_TAB = hud(7.0, -4.0)
OFFER = hud(-0.75, -2.0)  # the first row of the "Merchant" list
TECH = hud(-0.75, -3.0)  # the first row of the "Tech" list
BUY = hud(0.2, 1.75)
STATS_PAGE = hud(0.2, 3.25)
PLUS_STRENGTH = hud(5.77, 4.0)
CONFIRM = hud(3.5, -0.5)
RESET = hud(3.5, -1.0)
ENVELOPE = hud(5.0, -1.5)
STRENGTH_NOW = box(hud(4.0, 4.0), 28, 12)
STRENGTH_NEW = box(hud(5.0, 4.0), 28, 12)
PREVIEW = box(hud(-3.0, 2.0), 64, 64)
TECH_ROW = box(TECH, 22, 22)


def shot(game, name, prefix="newgame-"):
    """A screenshot, kept in the temporary folder as <prefix><name>.png for a look."""
    game.settle(0.8)
    path = game.screenshot(name)
    shutil.copy(path, os.path.join(tempfile.gettempdir(), prefix + name + ".png"))
    return path


def changed_share(a, b, area=(0, 0, WIDTH, HEIGHT)):
    """The share of pixels of an area (x, y, w, h) that differ noticeably between two screenshots."""
    x, y, w, h = area
    crop = "[%dx%d+%d+%d]" % (w, h, x, y)
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "6%", a + crop, b + crop, "null:"],
                            capture_output=True, text=True)
    return float(result.stderr.split()[0]) / (w * h)


def tile_share(path, a, b):
    """The share of pixels that differ between the middles of two tiles (row, col) of one screenshot."""
    crops = []
    for row, col in (a, b):
        x, y = tile(row, col)
        crops.append("%s[32x32+%d+%d]" % (path, x - 16, y - 16))
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "6%", *crops, "null:"],
                            capture_output=True, text=True)
    return float(result.stderr.split()[0]) / (32 * 32)


def grass(rgb):
    r, g, b = rgb
    return g > r + 20 and g > b + 20


def road(rgb):
    r, g, b = rgb
    return r > b + 40 and not grass(rgb)


def to_main_menu(game):
    """Space past the intro; the loading screen then hands over to the main menu."""
    game.wait_for("Initializing IntroState")
    game.window_id()
    game.settle(0.8)
    tap(game, "space")
    game.wait_for("Initializing MainMenuState", timeout=MENU_TIMEOUT)


def new_game(game, name, prefix="newgame-", skip_tutorial=True):
    """From the main menu through the story onto the kingdom, seen from the top; unless asked otherwise
    the tutorial is then skipped with K (the default kingdom has the same road) and its letter read."""
    click(game, MENU_NEW_GAME)
    game.wait_for("Initializing StoryState")
    game.settle(1.0)
    tap(game, "Escape")
    game.wait_for("Unloading StoryState")
    game.settle(1.5)
    tap(game, "c")
    game.xdotool("mousemove", *AWAY)
    path = shot(game, name, prefix)
    # The tutorial map: grass, the road west of the Capital, and the road still bare.
    expect(grass(game.pixel(path, *tile(7, 9))), "no grass where the tutorial map has it")
    expect(road(game.pixel(path, *tile(9, 7))), "no road where the tutorial map has it")
    if skip_tutorial:
        tap(game, "k")
        click(game, ENVELOPE)
        game.settle(1.5)
    return path


def open_build_list(game, row=FARM, press=click):
    """The Build list opened, its rows come to rest; the row given is looked at."""
    click_and_wait(game, BUILD_MENU, around(row, 20), press=press)


def open_menu_chain(game):
    """The Menu chain unfolded, its last box, Save, come to rest."""
    click_and_wait(game, MENU_CHAIN, around(SAVE_BOX, 20))


def open_save_screen(game, open_chain=True):
    """The Menu chain's Save box; the screen shows the first slot once it has read the folder. The chain
    stays open for the rest of the game once opened."""
    if open_chain:
        open_menu_chain(game)
    click(game, SAVE_BOX)
    game.wait_for("Initializing SaveLoadState", timeout=10.0)
    game.wait_for("Box Stuff Changing ", timeout=10.0)


def hurry_first_wave(game, clicks):
    """Right clicks on the save screen, each bringing the first wave 30 s closer."""
    for _ in range(clicks):
        click(game, hud(0.0, 2.0), button=3)


def buy_an_offer(game, empty, look):
    """The merchant comes about a second into the game; his offer is bought once it is there and shows
    in the Tech list, which was empty on the screenshot given."""
    deadline = time.time() + 60.0
    while time.time() < deadline:
        click(game, OFFER)
        click(game, BUY)
        bought = look(game, "bought")
        if changed_share(empty, bought, TECH_ROW) > 0.2:
            return bought
        time.sleep(2.0)
    raise Failure("no merchant offer became a technology")


SLOT_FILES = ("armydata.xml", "mapdata.xml", "buildingdata.xml")


class Album:
    """Screenshots kept for a whole test, which restarts the game: each game's own folder goes with it."""

    def __init__(self, prefix):
        self.prefix = prefix
        self.folder = tempfile.mkdtemp(prefix="thornvale-" + prefix)

    def keep(self, path, name):
        kept = os.path.join(self.folder, name + ".png")
        shutil.copy(path, kept)
        return kept

    def look(self, game, name):
        game.xdotool("mousemove", *AWAY)
        return self.keep(shot(game, name, self.prefix), name)

    def close(self):
        shutil.rmtree(self.folder, ignore_errors=True)


def stage(started, name):
    print("-- %5.1f s: %s" % (time.time() - started, name), flush=True)


def wait_for_change(game, album, name, before, area, timeout, share=0.02):
    """Screenshots until the area differs from the one given."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        now = album.look(game, name)
        if changed_share(before, now, area) > share:
            return now
        game.settle(1.0)
    raise Failure("%s: nothing changed in %r" % (name, area))


def confirmed_click(game, pos, line="Clicked box", timeout=2.0, press=click, read_letters=True):
    """A click that the log confirms with line, made again while a letter took it. The realm warns of a
    falling stock once a minute of its clock, in a letter that takes every click while it shows: with
    read_letters, a letter that took the click is read first."""
    for _ in range(3):
        count = game.count(line)
        press(game, pos)
        deadline = time.time() + timeout
        while time.time() < deadline and game.count(line) == count:
            game.settle(0.2)
        if game.count(line) > count:
            return
        if read_letters:
            click(game, ENVELOPE)
            game.settle(1.5)
    raise Failure("no %r after clicking %s" % (line, pos))


def place(game, tool, where, log):
    confirmed_click(game, tool)
    confirmed_click(game, tile(*where), log % where, timeout=5.0)


def quit_from_main_menu(game):
    tap(game, "Escape")
    game.wait_for("Initializing QuitGameConfirmationState")
    tap(game, "space")
    expect(game.wait_exit() == 0, "exit status is not 0")


def pause_to_main_menu(game, album):
    tap(game, "Escape")
    game.wait_for("Initializing PauseMenuState")
    album.look(game, "pause-menu")
    click(game, PAUSE_MAIN_MENU)
    game.wait_for("Unloading PauseMenuState")


def save(game, album, slot, name, open_chain):
    """Saved from the save screen into the slot folder given, all three files written."""
    open_save_screen(game, open_chain)
    click(game, SAVE_GAME)
    game.wait_for("Game saved to " + slot + "/", timeout=10.0)
    saved = album.look(game, name)
    for file in SLOT_FILES:
        expect(os.path.isfile(os.path.join(slot, file)), file + " was not written")
    return saved


def load_first_slot(game, album, slot):
    """From the main menu, the first slot loaded; the slot's summary screenshot is returned."""
    click(game, MENU_LOAD_GAME)
    game.wait_for("Initializing SaveLoadState", timeout=10.0)
    game.wait_for("Box Stuff Changing ", timeout=5.0)
    listed = album.look(game, "load-screen")
    click(game, LOAD_GAME)
    game.wait_for("Game loaded from " + slot + "/", timeout=10.0)
    game.settle(1.0)
    return listed


def faults(game):
    return [line for line in game.lines
            if "runtime error" in line or "rejected" in line or "Cannot find script by name" in line]


def intro_to_menu(game, album):
    """The intro, Space, and the loading screen handing over to the main menu, whose screenshot is returned."""
    game.wait_for("Initializing IntroState")
    game.window_id()
    game.settle(0.8)
    intro = album.look(game, "intro")
    tap(game, "space")
    game.wait_for("Initializing LoadingState", timeout=10.0)
    game.wait_for("Unloading LoadingState", timeout=60.0)
    game.wait_for("Initializing MainMenuState", timeout=10.0)
    menu = album.look(game, "menu")
    expect(changed_share(intro, menu) > 0.3, "the main menu looks like the intro")
    return menu


class Session:
    """A real game on a documents folder of its own, with the album of its screenshots; leaving the
    `with` closes the game running then and removes the folder."""

    def __init__(self, binary, prefix):
        self.binary = binary
        self.album = Album(prefix)
        self.documents = tempfile.mkdtemp(prefix="thornvale-documents-")
        self.slot = os.path.join(self.documents, "Thornvale Oriskar", "SaveData", "Data0")
        self.game = Game(binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": self.documents})

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.game.close()
        shutil.rmtree(self.documents, ignore_errors=True)
        self.album.close()

    def quit_and_load(self, started, menu, back_name, saved):
        """From the main menu, seen again as it was: the game quit, started again and its slot loaded, as
        below."""
        back = self.album.look(self.game, back_name)
        expect(changed_share(menu, back) < 0.02, "the main menu did not come back")
        stage(started, "a quit")
        quit_from_main_menu(self.game)
        expect(not faults(self.game), "faults in the log")
        self.game.close()
        stage(started, "a restart and a load")
        return self.restart_and_load(saved)

    def restart_and_load(self, saved):
        """The game started again on the same documents folder and its first slot loaded, after the
        slot's summary was checked against the save screen's screenshot; the game and its top view are
        returned."""
        self.game = Game(self.binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": self.documents})
        to_main_menu(self.game)
        listed = load_first_slot(self.game, self.album, self.slot)
        expect(changed_share(saved, listed, SLOT_SUMMARY) < 0.02, "the slot does not show what was saved")
        tap(self.game, "c")
        return self.game, self.album.look(self.game, "loaded")


def play_on(game, album, loaded, house_road):
    """A loaded game has no tutorial: its waves count down, and a House is placed on the road given."""
    ticked = wait_for_change(game, album, "countdown", loaded, COUNTDOWN, 5.0, 0.002)
    open_build_list(game, HOUSE, press=confirmed_click)
    place(game, HOUSE, house_road, "Placed House at Tile - Building | (Row: %d, Col: %d)")
    housed = album.look(game, "house")
    expect(changed_share(ticked, housed, around(tile(*house_road), 24)) > 0.3, "the house does not show")
    expect(changed_share(ticked, housed, MAP_VIEW) < 0.2, "more than the house changed")
    game.close_window(game.window_id())
    expect(game.wait_exit() == 0, "exit status is not 0")
    expect(not faults(game), "faults in the log")
