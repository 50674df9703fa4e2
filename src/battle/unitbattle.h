// What the battle's unit steps share: the world and realm they fight in, and the small rules about
// units' reach and place.
#pragma once

#include "battle/krunit.h"

class GameData;
class PlayerEditor;

inline constexpr float kGateWarpInterval = 3.0f;

// The world and realm of the running engine, or null.
GameData* BattleWorld();
PlayerEditor* BattleRealm();

// Within the first unit's Range (and a little) of the other, in three dimensions.
bool IsTargetInRange(const KRUnit& unit, const KRUnit& other);
// The nearest target (the first of equals) changes places with the front one.
void SortTargetsByDistance(KRUnit& unit);
// The unit is drawn where its grid place is; its sounds follow.
void UpdateUnitSoundPosition(KRUnit& unit);
// Forgets every opposing unit and soldier the unit and its soldiers aimed at.
void ClearBattleTargets(KRUnit& unit);
// An attack speed of 0 or below counts as the default, so attacks neither stop nor flood.
float EffectiveAttackSpeed(const KRUnit& unit);
