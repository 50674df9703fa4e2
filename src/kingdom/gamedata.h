// The game world: tile map, cameras, units, boxes and the realm.
#pragma once

class GameData {};
