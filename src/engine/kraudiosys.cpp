#include "engine/kraudiosys.h"

#include "engine/krlog.h"
#include "engine/krtimer.h"

#include <cstdlib>

namespace {

const char* const kClickSound = "../Assets/Audio/Effects/menu/click.wav";
constexpr int kChannels = 100;
constexpr float kGroupVolume = 0.3f;

} // namespace

bool CheckFmodResult(int result) {
    if (result == plat::kAudioOk) {
        return true;
    }
    LogLine(FormatString("FMOD error! (%d) %s", result, plat::AudioErrorString(result)));
    return false;
}

AudioSys::~AudioSys() {
    Release();
}

void AudioSys::Attach(FrameTimer* timer, std::function<plat::Channel*()> musicChannel) {
    m_timer = timer;
    m_musicChannel = std::move(musicChannel);
}

plat::Channel* AudioSys::MusicChannel() const {
    return m_musicChannel ? m_musicChannel() : nullptr;
}

bool AudioSys::Init() {
    if (system) {
        return true;
    }
    if (!CheckFmodResult(plat::CreateAudioSystem(&system))) {
        return false;
    }
    if (!InitSystem()) {
        return false;
    }
    if (!CheckFmodResult(system->CreateChannelGroup(effectsGroupName.c_str(), &effectsGroup))) {
        return false;
    }
    if (!CheckFmodResult(system->CreateChannelGroup(nullptr, &musicGroup))) {
        return false;
    }
    return true;
}

bool AudioSys::InitSystem() {
    if (!system) {
        return false;
    }
    if (!CheckFmodResult(system->Init(kChannels, plat::kAudioInitNormal))) {
        return false;
    }
    system->Set3DSettings(1.0f, 3.0f, 1.0f);
    trackIndex = -1;
    loopCountSet = false;
    return true;
}

const SoundRecord* AudioSys::Find(const std::string& file) const {
    auto it = sounds.find(file);
    return it != sounds.end() ? &it->second : nullptr;
}

int32_t AudioSys::UseCount(const std::string& file) const {
    const SoundRecord* record = Find(file);
    return record != nullptr ? record->useCount : 0;
}

bool AudioSys::LoadSound(const std::string& file, uint32_t mode) {
    if (!system) {
        LogLine("FMOD System not loaded, cannot load sounds.");
        return false;
    }
    auto it = sounds.find(file);
    if (it != sounds.end()) {
        LogLine("Sound already loaded, incrementing count.");
        ++it->second.useCount;
        return true;
    }
    plat::Sound stream;
    if (!CheckFmodResult(system->CreateStream(file, mode, &stream))) {
        LogLine(file);
        return false;
    }
    sounds[file] = SoundRecord{stream, 1};
    return true;
}

bool AudioSys::PlayOnChannel(const std::string& file, bool endPlaylist, plat::Channel* channel) {
    if (endPlaylist) {
        trackIndex = -1;
        loopCountSet = false;
    }
    if (!system || channel == nullptr) {
        return false;
    }
    const SoundRecord* record = Find(file);
    if (record == nullptr) {
        LogLine("Couldn't find sound to play.");
        return false;
    }
    bool playing = false;
    int result = channel->IsPlaying(&playing);
    if (result == plat::kAudioOk && playing) {
        plat::Sound current;
        if (channel->GetCurrentSound(&current) == plat::kAudioOk && current == record->sound) {
            return false; // the music keeps running
        }
        result = system->PlaySound(plat::kChannelReuse, record->sound, true, channel);
    } else if (result == plat::kAudioOk) {
        // A valid channel whose sound has just ended: play on it again rather than report a
        // success that plays nothing.
        result = system->PlaySound(plat::kChannelReuse, record->sound, true, channel);
    } else if (result == plat::kAudioErrInvalidHandle) {
        result = system->PlaySound(plat::kChannelFree, record->sound, true, channel);
    } else {
        CheckFmodResult(result);
        return false;
    }
    if (!CheckFmodResult(result)) {
        return false;
    }
    return CheckFmodResult(channel->SetChannelGroup(musicGroup));
}

bool AudioSys::StartPlaylist(const std::vector<std::string>& list) {
    if (list.empty()) {
        trackIndex = -1;
        return false;
    }
    playlist = list;
    const float elapsed = m_timer != nullptr ? m_timer->Elapsed() : 0.0f;
    std::srand(static_cast<unsigned>(elapsed));
    trackIndex = static_cast<int32_t>(static_cast<size_t>(std::rand()) % playlist.size());
    plat::Channel* music = MusicChannel();
    if (music != nullptr && !music->IsNull()) {
        music->Stop();
    }
    return true;
}

void AudioSys::Update() {
    if (!system) {
        return;
    }
    system->Update();
    plat::Channel* music = MusicChannel();
    bool playing = false;
    const int result = music != nullptr ? music->IsPlaying(&playing) : plat::kAudioErrInvalidHandle;
    if (result != plat::kAudioOk && result != plat::kAudioErrInvalidHandle) {
        CheckFmodResult(result);
        return;
    }
    if (trackIndex < 0 || music == nullptr) {
        return;
    }
    if (static_cast<size_t>(trackIndex) >= playlist.size()) {
        trackIndex = -1; // a play list that changed under its index ends
        return;
    }
    if (playing) {
        if (!loopCountSet) {
            music->SetLoopCount(0); // the looping track plays to its end once
            loopCountSet = true;
        }
        return;
    }
    PlayOnChannel(playlist[static_cast<size_t>(trackIndex)], false, music);
    trackIndex = static_cast<int32_t>((static_cast<size_t>(trackIndex) + 1) % playlist.size());
    music->SetPaused(false);
    loopCountSet = false;
}

bool AudioSys::PlayClick() {
    const SoundRecord* record = Find(kClickSound);
    if (record == nullptr || !system) {
        LogLine("Couldn't find sound to play.");
        return false;
    }
    plat::Channel channel;
    return CheckFmodResult(system->PlaySound(plat::kChannelFree, record->sound, false, &channel));
}

bool AudioSys::PlayEffect(const std::string& file) {
    plat::Channel channel;
    return StartEffect(file, channel);
}

// Plays a loaded sound on a free channel of the effects group.
bool AudioSys::StartEffect(const std::string& file, plat::Channel& channel) {
    const SoundRecord* record = Find(file);
    if (record == nullptr || !system) {
        LogLine("Couldn't find sound to play.");
        return false;
    }
    if (!CheckFmodResult(system->PlaySound(plat::kChannelFree, record->sound, false, &channel))) {
        return false;
    }
    return CheckFmodResult(channel.SetChannelGroup(effectsGroup));
}

bool AudioSys::PlayInGroup(const std::string& file, plat::ChannelGroup* group) {
    plat::Channel channel;
    if (!StartEffect(file, channel)) {
        return false;
    }
    if (group == nullptr || !CheckFmodResult(channel.SetChannelGroup(*group))) {
        return false;
    }
    group->SetVolume(kGroupVolume);
    return true;
}

bool AudioSys::GetListenerPosition(float& x, float& y, float& z) const {
    if (!system) {
        return false;
    }
    plat::AudioVector position;
    if (system->Get3DListenerAttributes(0, &position, nullptr, nullptr, nullptr) != plat::kAudioOk) {
        return false;
    }
    x = position.x;
    y = position.y;
    z = position.z;
    return true;
}

bool AudioSys::Release() {
    if (!system) {
        return true;
    }
    for (auto& [file, record] : sounds) {
        record.sound.Release();
    }
    sounds.clear();
    const bool released = CheckFmodResult(system->Release());
    system.reset();
    musicGroup = plat::ChannelGroup();
    effectsGroup = plat::ChannelGroup();
    trackIndex = -1;
    loopCountSet = false;
    return released;
}
