// The game world: tile map, cameras, units, boxes and the realm.
#pragma once

#include "platform/audio.h"

#include <map>
#include <string>

class GameData {
public:
    plat::Channel m_musicChannel; // the channel the music plays on; null until music first plays
    // Texture configuration file names (no folder), each mapped to itself; the folder scans add to it
    // and nothing empties it.
    std::map<std::string, std::string> m_textureConfigs;
};
