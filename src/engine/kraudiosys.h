// Music and effects. Silent until the audio stand-in arrives.
#pragma once

#include <cstdint>
#include <string>

class AudioSys {
public:
    bool Init() { return true; }
    void Update() {}
    bool Release() { return true; }
    // The 3-D listener's position; false without an audio system.
    bool GetListenerPosition(float&, float&, float&) const { return false; }

    std::string effectsGroupName = "MainGroup";
    int32_t trackIndex = -1;
};
