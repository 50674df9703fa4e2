"""The default kingdom played with real input, in a documents folder of the test's own: Space past the
intro, the loading screen, "New Game" and the story; K skips the tutorial. A Farm and a TechLab on the
road and a tile paved; once the Lab has earned a tech point the Unit tab's editor buys the merchant's
offer and raises its Strength. The game is saved, the first wave hurried from the save screen and the
war fought to its end: a victory returns to the kingdom, where the game is saved again; a defeat ends on
the main menu with "Game Over". The game is quit from its menu and started again; "Load Game" brings the
saved kingdom back, its waves counting down, and a House is placed on it."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, run  # noqa: E402
from realgame import (BUILD_NEXT, CONFIRM, ENVELOPE, FARM, KINGDOM_TAB, MAP_VIEW,  # noqa: E402
                      PATH_AFTER_NEXT, PLUS_STRENGTH, PREVIEW, PSYCHIC, ROAD, STATS_PAGE,
                      STRENGTH_NEW, STRENGTH_NOW, TECH, TECHLAB, UNIT_TAB, Session, around, buy_an_offer,
                      changed_share, click, expect, grass, hurry_first_wave, intro_to_menu, new_game,
                      open_build_list, pause_to_main_menu, place, play_on, road, save,
                      stage, tap, tile, wait_for_change)

PREFIX = "kingdom-"
LAB = (10, 9)
PAVED = (12, 12)  # grass beside the road south of the Capital, on both maps
HOUSE_ROAD = (10, 10)
NORTH_ROAD = (7, 11)  # road on the full map, grass on the tutorial's
DEMONS = (12, 11)  # where a new game stations its first unit
GUARD = (9, 10)  # the road beside the Capital's north, on both maps
LEVEL = (796, 86, 24, 20)  # the number of "Level : 0" under the countdown
WAR_TIMEOUT = 150.0
# Some 400 pixels of the map: three times what the units' own animations change, a few soldiers' worth.
MOTION = 400.0 / (MAP_VIEW[2] * MAP_VIEW[3])


def fight(game, album, started):
    """The war from its first frame to its end: "victory" or "defeat"."""
    game.wait_for("Initializing WarringState", timeout=10.0)
    gates = int(game.wait_for("Total gates: ", timeout=10.0).split(":")[-1])
    game.settle(1.0)
    tap(game, "c")
    first = album.look(game, "war-start")
    expect(gates > 0, "no gate leads invaders in")
    # Invaders warp in at the gates and march on the Capital, the defenders meet them.
    deadline = time.time() + WAR_TIMEOUT
    moved = 0
    shots = 0
    while game.count("Cleanup WarringState") == 0:
        if time.time() > deadline:
            raise Failure("the war did not end")
        now = album.look(game, "war-%02d" % shots)
        shots += 1
        if game.count("Cleanup WarringState") == 0 and changed_share(first, now, MAP_VIEW) > MOTION:
            moved += 1
    expect(moved > 0, "nothing moved in the war")
    game.wait_for("Unloading WarringState", timeout=10.0)
    stage(started, "the war ended")
    return "defeat" if game.count("Game Over") else "victory"


def test_the_default_kingdom_played(binary):
    started = time.time()
    with Session(binary, PREFIX) as session:
        game, album, slot = session.game, session.album, session.slot
        stage(started, "intro and loading")
        menu = intro_to_menu(game, album)

        stage(started, "a new game")
        kingdom = album.keep(new_game(game, "kingdom", PREFIX, skip_tutorial=False), "kingdom")
        expect(changed_share(menu, kingdom) > 0.5, "the kingdom looks like the menu")
        expect(grass(game.pixel(kingdom, *tile(*PAVED))), "the tile to pave is not grass")
        tap(game, "k")
        game.settle(1.0)
        skipped_view = album.look(game, "tutorial-skipped")
        expect(road(game.pixel(skipped_view, *tile(*NORTH_ROAD))), "K did not bring the default kingdom")
        expect(game.count("Cannot find script by name") == 0, "K ran a script that is not there")
        # The skip's letter is read: a pending mail takes every click.
        click(game, ENVELOPE)
        game.settle(1.5)

        stage(started, "building and paving")
        open_build_list(game)
        place(game, FARM, ROAD, "Placed Farm at Tile - Building | (Row: %d, Col: %d)")
        place(game, TECHLAB, LAB, "Placed TechLab at Tile - Building | (Row: %d, Col: %d)")
        click(game, BUILD_NEXT)
        place(game, PATH_AFTER_NEXT, PAVED, "Laid path at Tile - Path | (Row: %d, Col: %d)")
        built = album.look(game, "built")
        for where in (ROAD, LAB):
            expect(changed_share(skipped_view, built, around(tile(*where), 24)) > 0.3,
                   "no building shows at %r" % (where,))
        expect(road(game.pixel(built, *tile(*PAVED))), "the paved tile shows no road")

        stage(started, "a merchant's unit bought")
        click(game, UNIT_TAB)
        game.wait_for("Initializing MainMenuState")
        empty = album.look(game, "editor")
        expect(changed_share(built, empty) > 0.3, "the editor looks like the kingdom")
        buy_an_offer(game, empty, album.look)

        stage(started, "a unit edited")
        click(game, TECH)
        click(game, STATS_PAGE)
        picked = album.look(game, "picked")
        expect(changed_share(empty, picked, PREVIEW) > 0.1, "the picked unit is not shown")
        # The Lab earns a tech point in about 13 s; it is spent as soon as the psychic counter shows it,
        # and the counter goes back to what it showed when the editor opened.
        earned = wait_for_change(game, album, "tech-point", empty, PSYCHIC, 40.0)
        click(game, PLUS_STRENGTH)
        raised = album.look(game, "raised")
        expect(changed_share(earned, raised, STRENGTH_NEW) > 0.02, "the new Strength did not change")
        expect(changed_share(earned, raised, STRENGTH_NOW) < 0.01, "the unit changed before confirming")
        click(game, CONFIRM)
        confirmed = album.look(game, "confirmed")
        expect(changed_share(raised, confirmed, STRENGTH_NOW) > 0.02, "the unit did not take the new Strength")
        expect(changed_share(empty, confirmed, PSYCHIC) < 0.01, "the tech point was not paid")
        click(game, KINGDOM_TAB)
        game.wait_for("Unloading MainMenuState")
        game.settle(1.0)
        tap(game, "c")
        back = album.look(game, "kingdom-back")
        expect(changed_share(built, back, MAP_VIEW) < 0.05, "the kingdom did not come back as it was left")
        # The first unit stands guard north of the Capital, where the nearer gate's road comes in.
        click(game, tile(*DEMONS))
        click(game, tile(*GUARD))
        moved = game.wait_for("Moved ", timeout=10.0)
        expect(moved.endswith(" to Tile - Path | (Row: %d, Col: %d)" % GUARD), "the unit went elsewhere: " + moved)
        before_war = album.look(game, "kingdom-before-war")

        stage(started, "a save before the war")
        saved_before_war = save(game, album, slot, "saved-before-war", True)
        # The first wave comes 180 to 258 s after a new game; nine clicks bring it due.
        hurry_first_wave(game, 9)
        expect(game.count("WarringState") == 0, "the war began before the kingdom came back")
        tap(game, "Escape")

        stage(started, "a war")
        outcome = fight(game, album, started)
        print("   the war: " + outcome, flush=True)
        if outcome == "victory":
            expect(game.count("Game Over") == 0, "a won war printed Game Over")
            game.settle(1.0)
            tap(game, "c")
            after_war = album.look(game, "kingdom-after-war")
            expect(changed_share(before_war, after_war, LEVEL) > 0.05, "the level did not go up")
            stage(started, "a save after the war")
            saved = save(game, album, slot, "saved-after-war", False)
            kept = after_war
            tap(game, "Escape")
            game.wait_for("Unloading MainMenuState")
            pause_to_main_menu(game, album)
        else:
            expect(game.count("Game Over") == 1, "Game Over was not printed once")
            saved, kept = saved_before_war, before_war
        game, loaded = session.quit_and_load(started, menu, "menu-after-war", saved)
        expect(changed_share(kept, loaded, MAP_VIEW) < 0.05, "the loaded kingdom is not the one saved")
        expect(changed_share(kingdom, loaded, MAP_VIEW) > 0.01, "the loaded kingdom is a new game's")

        stage(started, "play going on")
        play_on(game, album, loaded, HOUSE_ROAD)
        stage(started, "done")


if __name__ == "__main__":
    run([test_the_default_kingdom_played])
