// Music and effects: owns the audio system, keeps every loaded sound under its path with a use
// count, plays music on the music channel (also from a play list) and effects in their groups.
#pragma once

#include "platform/audio.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class FrameTimer;

struct SoundRecord {
    plat::Sound sound;
    int32_t useCount = 0;
};

// True for a success; otherwise writes the "FMOD error!" line and returns false.
bool CheckFmodResult(int result);

class AudioSys {
  public:
    AudioSys() = default;
    ~AudioSys();
    AudioSys(const AudioSys&) = delete;
    AudioSys& operator=(const AudioSys&) = delete;

    // The engine's timer (seeds the play list) and where the music channel lives; both borrowed.
    void Attach(FrameTimer* timer, std::function<plat::Channel*()> musicChannel);

    bool Init();
    bool InitSystem();
    void Update();
    bool Release();

    bool LoadSound(const std::string& file, uint32_t mode);
    // Starts the sound paused on the music channel; the caller unpauses it.
    bool PlayOnChannel(const std::string& file, bool endPlaylist, plat::Channel* channel);
    bool StartPlaylist(const std::vector<std::string>& list);
    bool PlayClick();
    bool PlayEffect(const std::string& file);
    bool PlayInGroup(const std::string& file, plat::ChannelGroup* group);

    // The 3-D listener's position; false without an audio system.
    bool GetListenerPosition(float& x, float& y, float& z) const;
    // The use count of a loaded sound, 0 when it is not loaded.
    int32_t UseCount(const std::string& file) const;

    std::unique_ptr<plat::AudioSystem> system;
    std::unordered_map<std::string, SoundRecord> sounds;
    std::string effectsGroupName = "MainGroup";
    plat::ChannelGroup musicGroup;
    plat::ChannelGroup effectsGroup;
    std::vector<std::string> playlist;
    int32_t trackIndex = -1;
    bool loopCountSet = false;

  private:
    const SoundRecord* Find(const std::string& file) const;
    bool StartEffect(const std::string& file, plat::Channel& channel);
    plat::Channel* MusicChannel() const;

    FrameTimer* m_timer = nullptr;
    std::function<plat::Channel*()> m_musicChannel;
};
