"""Sound at start-up and on the loading screen: the menu music, the click and the game's sounds load
cleanly, a missing sound is reported, and a machine without a sound device runs on silently after one
line."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from driver import Game, expect, run, tap  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSETS = os.path.join(REPO, "Assets")
CLICK = "../Assets/Audio/Effects/menu/click.wav"
AUDIO_ERRORS = ("FMOD error!", "Couldn't find sound to play.", "cannot load sounds", "No sound device")


class Staged:
    """The binary copied to <tmp>/build beside an Assets folder of our choosing, so that the game's
    "../Assets" is known whatever folder it was built in."""

    def __init__(self, binary, without=()):
        self.root = tempfile.mkdtemp(prefix="thornvale-audio-")
        os.makedirs(os.path.join(self.root, "build"))
        self.binary = os.path.join(self.root, "build", "thornvale")
        shutil.copy2(binary, self.binary)
        if not without:
            os.symlink(ASSETS, os.path.join(self.root, "Assets"))
            return
        assets = os.path.join(self.root, "Assets")
        os.makedirs(assets)
        for name in os.listdir(ASSETS):
            if name != "Audio":
                os.symlink(os.path.join(ASSETS, name), os.path.join(assets, name))
        skip = {os.path.normpath(os.path.join(ASSETS, "..", "build", p)) for p in without}
        shutil.copytree(os.path.join(ASSETS, "Audio"), os.path.join(assets, "Audio"),
                        ignore=lambda folder, names: [n for n in names
                                                      if os.path.normpath(os.path.join(folder, n)) in skip])

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


def run_to_start_and_quit(game):
    """Esc skips the intro; the loading screen loads the game's sounds; the menu's Esc and Space quit."""
    game.wait_for("Initializing IntroState")
    game.window_id()
    game.settle(1.0)
    tap(game, "Escape")
    game.wait_for("Initializing MainMenuState", timeout=45.0)
    game.settle(0.3)
    tap(game, "Escape")
    game.wait_for("Initializing QuitGameConfirmationState")
    tap(game, "space")
    expect(game.wait_exit() == 0, "exit status is not 0")


def audio_lines(game):
    return [line for line in game.lines if any(text in line for text in AUDIO_ERRORS)]


def test_menu_music_and_click_load_without_an_error(binary):
    staged = Staged(binary)
    game = Game(staged.binary)
    try:
        run_to_start_and_quit(game)
        expect(audio_lines(game) == [], "audio lines at start-up: %r" % audio_lines(game))
    finally:
        game.close()
        staged.close()


def test_a_missing_click_is_reported_and_the_game_runs_on(binary):
    staged = Staged(binary, without=[CLICK])
    game = Game(staged.binary)
    try:
        game.wait_for("FMOD error! (2) the sound file cannot be opened")
        game.wait_for(CLICK)
        run_to_start_and_quit(game)
        expect(game.count("FMOD error!") == 1, "only the click should fail to load")
    finally:
        game.close()
        staged.close()


def test_without_a_sound_device_one_line_and_the_game_runs_on(binary):
    staged = Staged(binary)
    game = Game(staged.binary, env={"SDL_AUDIODRIVER": "nonexistent"})
    try:
        run_to_start_and_quit(game)
        lines = audio_lines(game)
        expect(len(lines) == 1 and "No sound device" in lines[0], "expected one line, got %r" % lines)
    finally:
        game.close()
        staged.close()


if __name__ == "__main__":
    run([test_menu_music_and_click_load_without_an_error, test_a_missing_click_is_reported_and_the_game_runs_on,
         test_without_a_sound_device_one_line_and_the_game_runs_on])
