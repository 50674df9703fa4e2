// The scripts that start a game and act on the realm's rosters.
#pragma once

// A new game on the tutorial map.
void ScriptStartGame();
// Takes the selected unit out of the purchased roster when it is a newly purchased one.
void DisbandPurchasedUnit();

// What a finished game leaves behind that a new or loaded one must not inherit: the HUD pause and the
// invasion queue with its level, strength and budget.
void ClearCarriedOverPlay();
