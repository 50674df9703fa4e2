"""The realm's flow of units on the kingdom harness: the first merchant arrives about a second in; with a
House built for the population some units cost to keep, its offer is bought as a technology with the mouse through the unit editor's panels (laid over the screen
by the Unit tab), a group of it is recruited and shows in the Army list; five waves are queued with the
next one's countdown on the kingdom screen and in the war data page; right clicks bring the first wave
closer (as in the unit editor) until it is announced and, when its countdown runs out, the battle
screen opens."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, click, click_and_wait, expect, hold, run, stop_harness  # noqa: E402
from test_kingdom import hud, list_row, shot, start, top_view_tile  # noqa: E402
from test_kingdom_panels import region  # noqa: E402


def test_kingdom_realm(binary):
    game = start(binary)
    try:
        # Waves fill the queue within a few frames; the first merchant comes about a second in.
        deadline = time.time() + 20.0
        while not (game.count("waves 5") and game.count("Offers 1")):
            if time.time() > deadline:
                raise Failure("no merchant's offer and full queue of waves")
            game._drain(0.2)
        time.sleep(0.5)
        kingdom = shot(game, "realm-countdown")
        countdown = (3.4, 4.95, 7.9, 4.55)  # "Next Enemy in : ..." at the top right
        expect(len(set(region(game, kingdom, *countdown))) > 1, "no countdown shows on the kingdom screen")

        # A House, for the population that some offers cost to keep.
        hold(game, "c", 0.3)  # the top view: tiles fall on known pixels
        click_and_wait(game, hud(-7.0, -5.0), list_row(-3.5))  # the Build list opens
        click(game, hud(-3.5, -5.0))  # its first row: House
        game.wait_for("Tool mode 4", timeout=10.0)
        click(game, top_view_tile(8, 8))  # the road's east end
        game.wait_for("Placed House at Tile - Building | (Row: 8, Col: 8)", timeout=10.0)

        click(game, hud(7.0, -4.5))  # the Unit tab
        game.wait_for("Unit editor panels shown", timeout=10.0)
        # An offer lives 12 to 60 s; if this one is gone, the next merchant comes within 36 s.
        rosters = [line for line in game.lines if "Offers " in line]
        if "Offers 0" in rosters[-1]:
            game.wait_for("Offers 1", timeout=45.0)
        click(game, hud(-0.75, -2.0))  # the offer, first in the Merchant list
        game.wait_for("selected New Merchant Unit", timeout=10.0)
        offer = shot(game, "realm-offer")
        click(game, hud(0.2, 1.75))  # "Buy From Merchant"
        game.wait_for("technologies 1", timeout=10.0)

        click(game, hud(-0.75, -3.0))  # the technology, first in the Tech list
        game.wait_for("selected New Base Unit", timeout=10.0)
        click(game, hud(0.2, 2.25))  # "Train Unit"
        click(game, hud(4.75, 1.75))  # "Confirm Recruitment"
        game.wait_for("groups 2", timeout=10.0)  # the harness's own unit and the new group
        click(game, hud(-7.0, -4.5))  # the Army list opens
        time.sleep(1.5)
        army = shot(game, "realm-army")
        slot = (-4.1, -4.6, -3.4, -5.4)  # the list's first row, right of its "<<" arrow
        expect(region(game, offer, *slot) != region(game, army, *slot), "the new group shows no Army box")

        click(game, hud(-6.63, 4.0))  # "Show War Data"
        game.wait_for("Panel mode 2", timeout=10.0)
        time.sleep(0.5)
        shot(game, "realm-war-data")

        # Each right click takes 30 s off the first wave: announced at 20 s, fought at 0.
        alerted = None
        for _ in range(12):
            click(game, hud(1.0, -0.5), button=3)
            game._drain(0.1)
            if alerted is None and any("Game message: ALERT!! Enemy " in line for line in game.lines):
                alerted = shot(game, "realm-alert")
            if game.count("WarringState"):
                break
        # A click that jumps past zero announces the wave and starts its war on the same frame.
        deadline = time.time() + 10.0
        while not (game.count("Game message: IS APPROACHING IN 20 SECONDS!!") and
                   game.count("Initializing WarringState")):
            if time.time() > deadline:
                raise Failure("the first wave was not announced and fought")
            game._drain(0.2)
        expect(game.count("Game message: ALERT!! Enemy ") == 1, "the first wave was announced more than once")
        time.sleep(1.0)
        shot(game, "realm-war")
    finally:
        stop_harness(game)


if __name__ == "__main__":
    run([test_kingdom_realm])
