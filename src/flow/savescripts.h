// The scripts that save and load games: the save screen's opening from the main menu ("LoadGame") and
// from the kingdom's Save box, its buttons, and the map editor's "SaveMap".
#pragma once

void ScriptLoadGame();
void ScriptSaveMap();
void OpenSaveScreen();
// Reported done only when all three files of the slot were written; a failed save leaves the slot as
// it was.
void SaveGameToSlot();
// The slot's three files are read and checked first; only a whole slot replaces the running game, and
// only once every screen above the main menu has gone.
void LoadGameFromSlot();
void NextSaveSlot();
void PreviousSaveSlot();
