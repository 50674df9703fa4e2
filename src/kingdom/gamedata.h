// The game world: tile map, cameras, units, boxes and the realm.
#pragma once

#include "platform/audio.h"

class GameData {
public:
    plat::Channel m_musicChannel; // the channel the music plays on; null until music first plays
};
