// The scripts of the front-end screens: opening them, leaving the pause menu and the splash skips. The
// registry names them in its table.
#pragma once

void ScriptGoToStory();
void ScriptOptions();
void ScriptPushCredits();
void ScriptPushHowToPlay();
// The game pauses only when the menu is really on its way: a refused push leaves the game running.
void ScriptPushPauseMenu();
void ScriptPushQuitConfirmation();
// Game time runs again, then the screen is popped.
void ScriptPauseMenuReturnToGame();
// Meant for buttons of the intro; anywhere else they report the misuse.
void ScriptSkipCorvessaSplash();
void ScriptSkipLumbrakeSplash();
