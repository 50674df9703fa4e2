// What a click on a HUD box of the game screens does, by the box's action id.
#pragma once

#include "scene/boxobject.h"

class GameData;

// Runs the action of the id for the clicked box of the world's HUD. While the realm is paused only the
// Pause box acts; 0 and ids the game does not know do nothing.
void DispatchGameBoxAction(GameData& world, BoxActionId id, BoxObject* box);
