#include "platform/audio.h"

#include "platform/platform.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

// Live systems, linked through the systems themselves: nothing here is destroyed at exit, so a
// system destroyed by another static's destructor still finds the list intact.
AudioSystem* g_liveSystems = nullptr;

uint32_t NextSerial() {
    static uint32_t serial = 0;
    ++serial;
    if (serial == 0) { // 0 marks a null handle
        ++serial;
    }
    return serial;
}

bool Finite(float v) {
    return std::isfinite(v);
}

bool FiniteVector(const AudioVector& v) {
    return Finite(v.x) && Finite(v.y) && Finite(v.z);
}

} // namespace

const char* AudioErrorString(int result) {
    switch (result) {
    case kAudioOk:
        return "no error";
    case kAudioErrInvalidParam:
        return "a parameter is out of range";
    case kAudioErrFileNotFound:
        return "the sound file cannot be opened";
    case kAudioErrFormat:
        return "the sound file cannot be decoded";
    case kAudioErrFileTooLarge:
        return "the sound file is too large";
    case kAudioErrUninitialized:
        return "the audio system is not initialised";
    case kAudioErrInitialized:
        return "the audio system is already initialised";
    case kAudioErrOutputInit:
        return "the sound output cannot be opened";
    case kAudioErrOutputPlay:
        return "the sound output cannot play the sound";
    case kAudioErrChannelsBusy:
        return "every channel is playing";
    case kAudioErrInvalidHandle:
        return "the handle is invalid or stale";
    default:
        return "unknown audio error";
    }
}

// Handles: each forwards to the live system it belongs to.

#define AUDIO_FORWARD(call)                                                                                  \
    AudioSystem* system = AudioSystem::Find(m_handle.system);                                                \
    if (system == nullptr) {                                                                                 \
        return kAudioErrInvalidHandle;                                                                       \
    }                                                                                                        \
    return system->call

AudioResult Sound::Release() {
    AUDIO_FORWARD(ReleaseSound(m_handle));
}
AudioResult Sound::GetLength(uint32_t* ms) const {
    AUDIO_FORWARD(SoundLength(m_handle, ms));
}

AudioResult ChannelGroup::SetVolume(float volume) {
    AUDIO_FORWARD(GroupSetVolume(m_handle, volume));
}
AudioResult ChannelGroup::GetVolume(float* volume) const {
    AUDIO_FORWARD(GroupGetVolume(m_handle, volume));
}
AudioResult ChannelGroup::SetPaused(bool paused) {
    AUDIO_FORWARD(GroupSetPaused(m_handle, paused));
}
AudioResult ChannelGroup::GetPaused(bool* paused) const {
    AUDIO_FORWARD(GroupGetPaused(m_handle, paused));
}
AudioResult ChannelGroup::Override3DAttributes(const AudioVector* position, const AudioVector*) {
    AUDIO_FORWARD(GroupOverride3D(m_handle, position));
}
AudioResult ChannelGroup::GetName(std::string* name) const {
    AUDIO_FORWARD(GroupGetName(m_handle, name));
}
AudioResult ChannelGroup::Release() {
    AUDIO_FORWARD(ReleaseGroup(m_handle));
}

AudioResult Channel::IsPlaying(bool* playing) const {
    if (playing != nullptr) {
        *playing = false;
    }
    AUDIO_FORWARD(ChannelIsPlaying(m_handle, playing));
}
AudioResult Channel::GetCurrentSound(Sound* sound) const {
    AUDIO_FORWARD(ChannelGetSound(m_handle, sound));
}
AudioResult Channel::SetLoopCount(int loops) {
    AUDIO_FORWARD(ChannelSetLoops(m_handle, loops));
}
AudioResult Channel::GetLoopCount(int* loops) const {
    AUDIO_FORWARD(ChannelGetLoops(m_handle, loops));
}
AudioResult Channel::SetPaused(bool paused) {
    AUDIO_FORWARD(ChannelSetPaused(m_handle, paused));
}
AudioResult Channel::GetPaused(bool* paused) const {
    AUDIO_FORWARD(ChannelGetPaused(m_handle, paused));
}
AudioResult Channel::SetChannelGroup(const ChannelGroup& group) {
    AUDIO_FORWARD(ChannelSetGroup(m_handle, group.Handle()));
}
AudioResult Channel::GetChannelGroup(ChannelGroup* group) const {
    AUDIO_FORWARD(ChannelGetGroup(m_handle, group));
}
AudioResult Channel::Stop() {
    AUDIO_FORWARD(ChannelStop(m_handle));
}

#undef AUDIO_FORWARD

// The system.

AudioSystem::AudioSystem(AudioOutput* output) : m_output(output), m_serial(NextSerial()) {
    m_nextLive = g_liveSystems;
    g_liveSystems = this;
}

AudioSystem::~AudioSystem() {
    Release();
    for (AudioSystem** link = &g_liveSystems; *link != nullptr; link = &(*link)->m_nextLive) {
        if (*link == this) {
            *link = m_nextLive;
            break;
        }
    }
}

AudioSystem* AudioSystem::Find(uint32_t serial) {
    if (serial == 0) {
        return nullptr;
    }
    for (AudioSystem* system = g_liveSystems; system != nullptr; system = system->m_nextLive) {
        if (system->m_serial == serial) {
            return system;
        }
    }
    return nullptr;
}

AudioResult CreateAudioSystem(std::unique_ptr<AudioSystem>* system) {
    if (system == nullptr) {
        return kAudioErrInvalidParam;
    }
    *system = std::make_unique<AudioSystem>(Platform().audio);
    return kAudioOk;
}

AudioResult AudioSystem::Init(int maxChannels, uint32_t) {
    if (m_open) {
        return kAudioErrInitialized;
    }
    // A released system stays released: its old handles must never come back to life.
    if (m_released) {
        return kAudioErrUninitialized;
    }
    if (maxChannels <= 0 || maxChannels > 4096) {
        return kAudioErrInvalidParam;
    }
    if (m_output == nullptr) {
        return kAudioErrOutputInit;
    }
    AudioResult result = m_output->Open(maxChannels);
    if (result != kAudioOk) {
        return result;
    }
    m_open = true;
    m_channels.assign(static_cast<size_t>(maxChannels), ChannelSlot{});
    m_groups.clear();
    GroupSlot master;
    master.live = true;
    master.name = "master";
    m_groups.push_back(master);
    return kAudioOk;
}

AudioResult AudioSystem::Set3DSettings(float, float distanceFactor, float rolloffScale) {
    if (!Finite(distanceFactor) || !Finite(rolloffScale) || distanceFactor <= 0.0f || rolloffScale < 0.0f) {
        return kAudioErrInvalidParam;
    }
    m_distanceFactor = distanceFactor;
    m_rolloffScale = rolloffScale;
    return kAudioOk;
}

AudioResult AudioSystem::CreateStream(const std::string& file, uint32_t mode, Sound* sound) {
    if (sound == nullptr || (mode & ~(kAudioLoopOff | kAudioLoopNormal)) != 0 ||
        mode == (kAudioLoopOff | kAudioLoopNormal)) {
        return kAudioErrInvalidParam;
    }
    if (!m_open) {
        return kAudioErrUninitialized;
    }
    uint32_t sample = 0;
    AudioResult result = m_output->Load(file, sample);
    if (result != kAudioOk) {
        return result;
    }
    size_t index = 0;
    while (index < m_sounds.size() && m_sounds[index].live) {
        ++index;
    }
    if (index == m_sounds.size()) {
        m_sounds.push_back(SoundSlot{});
    }
    SoundSlot& slot = m_sounds[index];
    slot.live = true;
    slot.sample = sample;
    slot.mode = mode;
    *sound = Sound(MakeHandle(static_cast<uint32_t>(index), slot.generation));
    return kAudioOk;
}

AudioResult AudioSystem::CreateChannelGroup(const char* name, ChannelGroup* group) {
    if (group == nullptr) {
        return kAudioErrInvalidParam;
    }
    if (!m_open) {
        return kAudioErrUninitialized;
    }
    size_t index = 1;
    while (index < m_groups.size() && m_groups[index].live) {
        ++index;
    }
    if (index == m_groups.size()) {
        m_groups.push_back(GroupSlot{});
    }
    GroupSlot& slot = m_groups[index];
    uint32_t generation = slot.generation;
    slot = GroupSlot{};
    slot.generation = generation;
    slot.live = true;
    slot.name = name != nullptr ? name : "";
    *group = ChannelGroup(MakeHandle(static_cast<uint32_t>(index), slot.generation));
    return kAudioOk;
}

AudioResult AudioSystem::GetMasterChannelGroup(ChannelGroup* group) const {
    if (group == nullptr) {
        return kAudioErrInvalidParam;
    }
    if (!m_open) {
        return kAudioErrUninitialized;
    }
    *group = ChannelGroup(MakeHandle(0, m_groups[0].generation));
    return kAudioOk;
}

AudioResult AudioSystem::PlaySound(int channelIndex, const Sound& sound, bool paused, Channel* channel) {
    if (channel == nullptr || (channelIndex != kChannelFree && channelIndex != kChannelReuse)) {
        return kAudioErrInvalidParam;
    }
    if (!m_open) {
        return kAudioErrUninitialized;
    }
    const SoundSlot* soundSlot = LiveSound(sound.Handle());
    if (soundSlot == nullptr) {
        return kAudioErrInvalidHandle;
    }
    uint32_t index = 0;
    ChannelSlot* slot = channelIndex == kChannelReuse ? LiveChannel(channel->Handle()) : nullptr;
    if (slot != nullptr) {
        index = channel->Handle().index;
        m_output->Stop(static_cast<int>(index));
    } else {
        while (index < m_channels.size() && m_channels[index].live) {
            ++index;
        }
        if (index == m_channels.size()) {
            return kAudioErrChannelsBusy;
        }
        slot = &m_channels[index];
    }
    const int loops = (soundSlot->mode & kAudioLoopNormal) != 0 ? -1 : 0;
    AudioResult result = m_output->Start(static_cast<int>(index), soundSlot->sample, loops, paused);
    if (result != kAudioOk) {
        if (slot->live) {
            FreeChannel(index, false);
        }
        return result;
    }
    slot->live = true;
    slot->sound = sound.Handle().index;
    slot->group = 0;
    slot->paused = paused;
    slot->loops = loops;
    slot->outPaused = paused;
    slot->outVolume = 1.0f;
    slot->outPan = 0.0f;
    ApplyMix(index, false);
    *channel = Channel(MakeHandle(index, slot->generation));
    return kAudioOk;
}

AudioResult AudioSystem::Update() {
    if (!m_open) {
        return kAudioErrUninitialized;
    }
    m_output->Update();
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        if (!m_channels[i].live) {
            continue;
        }
        if (!m_output->IsSounding(static_cast<int>(i))) {
            FreeChannel(i, false);
        } else {
            ApplyMix(i, false);
        }
    }
    return kAudioOk;
}

AudioResult AudioSystem::Set3DListenerAttributes(int listener, const AudioVector* position,
                                                 const AudioVector*, const AudioVector* forward,
                                                 const AudioVector* up) {
    if (listener != 0) {
        return kAudioErrInvalidParam;
    }
    if (!m_open) {
        return kAudioErrUninitialized;
    }
    if ((position != nullptr && !FiniteVector(*position)) ||
        (forward != nullptr && !FiniteVector(*forward)) || (up != nullptr && !FiniteVector(*up))) {
        return kAudioErrInvalidParam;
    }
    if (position != nullptr) {
        m_listenerPosition = *position;
    }
    if (forward != nullptr) {
        m_listenerForward = *forward;
    }
    if (up != nullptr) {
        m_listenerUp = *up;
    }
    return kAudioOk;
}

AudioResult AudioSystem::Get3DListenerAttributes(int listener, AudioVector* position, AudioVector* velocity,
                                                 AudioVector* forward, AudioVector* up) const {
    if (listener != 0) {
        return kAudioErrInvalidParam;
    }
    if (!m_open) {
        return kAudioErrUninitialized;
    }
    if (position != nullptr) {
        *position = m_listenerPosition;
    }
    if (velocity != nullptr) {
        *velocity = AudioVector{};
    }
    if (forward != nullptr) {
        *forward = m_listenerForward;
    }
    if (up != nullptr) {
        *up = m_listenerUp;
    }
    return kAudioOk;
}

AudioResult AudioSystem::GetChannelsPlaying(int* channels) const {
    if (channels == nullptr) {
        return kAudioErrInvalidParam;
    }
    *channels = static_cast<int>(
        std::count_if(m_channels.begin(), m_channels.end(), [](const ChannelSlot& c) { return c.live; }));
    return kAudioOk;
}

AudioResult AudioSystem::Release() {
    if (!m_open) {
        return kAudioOk;
    }
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        if (m_channels[i].live) {
            FreeChannel(i, true);
        }
    }
    for (SoundSlot& s : m_sounds) {
        if (s.live) {
            m_output->Unload(s.sample);
            s.live = false;
            ++s.generation;
        }
    }
    for (GroupSlot& g : m_groups) {
        g.live = false;
        ++g.generation;
    }
    m_output->Close();
    m_open = false;
    m_released = true;
    return kAudioOk;
}

// Slots.

AudioSystem::SoundSlot* AudioSystem::LiveSound(const AudioHandle& h) {
    return const_cast<SoundSlot*>(static_cast<const AudioSystem*>(this)->LiveSound(h));
}
AudioSystem::GroupSlot* AudioSystem::LiveGroup(const AudioHandle& h) {
    return const_cast<GroupSlot*>(static_cast<const AudioSystem*>(this)->LiveGroup(h));
}
AudioSystem::ChannelSlot* AudioSystem::LiveChannel(const AudioHandle& h) {
    return const_cast<ChannelSlot*>(static_cast<const AudioSystem*>(this)->LiveChannel(h));
}

const AudioSystem::SoundSlot* AudioSystem::LiveSound(const AudioHandle& h) const {
    if (h.system != m_serial || h.index >= m_sounds.size()) {
        return nullptr;
    }
    const SoundSlot& s = m_sounds[h.index];
    return s.live && s.generation == h.generation ? &s : nullptr;
}

const AudioSystem::GroupSlot* AudioSystem::LiveGroup(const AudioHandle& h) const {
    if (h.system != m_serial || h.index >= m_groups.size()) {
        return nullptr;
    }
    const GroupSlot& g = m_groups[h.index];
    return g.live && g.generation == h.generation ? &g : nullptr;
}

const AudioSystem::ChannelSlot* AudioSystem::LiveChannel(const AudioHandle& h) const {
    if (h.system != m_serial || h.index >= m_channels.size()) {
        return nullptr;
    }
    const ChannelSlot& c = m_channels[h.index];
    return c.live && c.generation == h.generation ? &c : nullptr;
}

void AudioSystem::FreeChannel(uint32_t index, bool stopOutput) {
    if (stopOutput) {
        m_output->Stop(static_cast<int>(index));
    }
    ChannelSlot& c = m_channels[index];
    c.live = false;
    ++c.generation;
}

// Sends the channel's effective pause and mix: its own pause or its group's, the group's volume,
// and for a group with a 3-D position, attenuation by distance and balance from the listener.
void AudioSystem::ApplyMix(uint32_t index, bool force) {
    ChannelSlot& c = m_channels[index];
    const GroupSlot& g = m_groups[c.group];
    const bool paused = c.paused || g.paused;
    float volume = g.volume;
    float pan = 0.0f;
    if (g.placed) {
        const float dx = g.position.x - m_listenerPosition.x;
        const float dy = g.position.y - m_listenerPosition.y;
        const float dz = g.position.z - m_listenerPosition.z;
        const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        const float minDistance = m_distanceFactor; // one metre
        if (distance > minDistance) {
            volume *= minDistance / (minDistance + m_rolloffScale * (distance - minDistance));
        }
        const AudioVector& f = m_listenerForward;
        const AudioVector& u = m_listenerUp;
        // Left-handed: right = up x forward.
        AudioVector right{u.y * f.z - u.z * f.y, u.z * f.x - u.x * f.z, u.x * f.y - u.y * f.x};
        const float rightLength = std::sqrt(right.x * right.x + right.y * right.y + right.z * right.z);
        if (rightLength > 0.0f && distance > 0.0f) {
            pan = (dx * right.x + dy * right.y + dz * right.z) /
                  (rightLength * std::max(distance, minDistance));
            pan = std::clamp(pan, -1.0f, 1.0f);
        }
    }
    volume = std::clamp(volume, 0.0f, 1.0f);
    if (force || paused != c.outPaused) {
        m_output->SetPaused(static_cast<int>(index), paused);
        c.outPaused = paused;
    }
    if (force || volume != c.outVolume || pan != c.outPan) {
        m_output->SetMix(static_cast<int>(index), volume, pan);
        c.outVolume = volume;
        c.outPan = pan;
    }
}

// Operations behind the handles.

AudioResult AudioSystem::ReleaseSound(const AudioHandle& h) {
    SoundSlot* s = LiveSound(h);
    if (s == nullptr) {
        return kAudioErrInvalidHandle;
    }
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        if (m_channels[i].live && m_channels[i].sound == h.index) {
            FreeChannel(i, true);
        }
    }
    m_output->Unload(s->sample);
    s->live = false;
    ++s->generation;
    return kAudioOk;
}

AudioResult AudioSystem::SoundLength(const AudioHandle& h, uint32_t* ms) const {
    const SoundSlot* s = LiveSound(h);
    if (s == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (ms == nullptr) {
        return kAudioErrInvalidParam;
    }
    *ms = m_output->Length(s->sample);
    return kAudioOk;
}

AudioResult AudioSystem::GroupSetVolume(const AudioHandle& h, float volume) {
    GroupSlot* g = LiveGroup(h);
    if (g == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (!Finite(volume)) {
        return kAudioErrInvalidParam;
    }
    g->volume = std::clamp(volume, 0.0f, 1.0f);
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        if (m_channels[i].live && m_channels[i].group == h.index) {
            ApplyMix(i, false);
        }
    }
    return kAudioOk;
}

AudioResult AudioSystem::GroupGetVolume(const AudioHandle& h, float* volume) const {
    const GroupSlot* g = LiveGroup(h);
    if (g == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (volume == nullptr) {
        return kAudioErrInvalidParam;
    }
    *volume = g->volume;
    return kAudioOk;
}

AudioResult AudioSystem::GroupSetPaused(const AudioHandle& h, bool paused) {
    GroupSlot* g = LiveGroup(h);
    if (g == nullptr) {
        return kAudioErrInvalidHandle;
    }
    g->paused = paused;
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        if (m_channels[i].live && m_channels[i].group == h.index) {
            ApplyMix(i, false);
        }
    }
    return kAudioOk;
}

AudioResult AudioSystem::GroupGetPaused(const AudioHandle& h, bool* paused) const {
    const GroupSlot* g = LiveGroup(h);
    if (g == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (paused == nullptr) {
        return kAudioErrInvalidParam;
    }
    *paused = g->paused;
    return kAudioOk;
}

AudioResult AudioSystem::GroupOverride3D(const AudioHandle& h, const AudioVector* position) {
    GroupSlot* g = LiveGroup(h);
    if (g == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (position == nullptr) {
        return kAudioOk;
    }
    if (!FiniteVector(*position)) {
        return kAudioErrInvalidParam;
    }
    g->placed = true;
    g->position = *position;
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        if (m_channels[i].live && m_channels[i].group == h.index) {
            ApplyMix(i, false);
        }
    }
    return kAudioOk;
}

AudioResult AudioSystem::GroupGetName(const AudioHandle& h, std::string* name) const {
    const GroupSlot* g = LiveGroup(h);
    if (g == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (name == nullptr) {
        return kAudioErrInvalidParam;
    }
    *name = g->name;
    return kAudioOk;
}

AudioResult AudioSystem::ReleaseGroup(const AudioHandle& h) {
    GroupSlot* g = LiveGroup(h);
    if (g == nullptr || h.index == 0) {
        return kAudioErrInvalidHandle;
    }
    g->live = false;
    ++g->generation;
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        if (m_channels[i].live && m_channels[i].group == h.index) {
            m_channels[i].group = 0;
            ApplyMix(i, false);
        }
    }
    return kAudioOk;
}

AudioResult AudioSystem::ChannelIsPlaying(const AudioHandle& h, bool* playing) const {
    if (playing != nullptr) {
        *playing = false;
    }
    const ChannelSlot* c = LiveChannel(h);
    if (c == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (playing == nullptr) {
        return kAudioErrInvalidParam;
    }
    // A sound that ended since the last update is valid but no longer playing.
    *playing = m_output->IsSounding(static_cast<int>(h.index));
    return kAudioOk;
}

AudioResult AudioSystem::ChannelGetSound(const AudioHandle& h, Sound* sound) const {
    const ChannelSlot* c = LiveChannel(h);
    if (c == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (sound == nullptr) {
        return kAudioErrInvalidParam;
    }
    *sound = Sound(MakeHandle(c->sound, m_sounds[c->sound].generation));
    return kAudioOk;
}

AudioResult AudioSystem::ChannelSetLoops(const AudioHandle& h, int loops) {
    ChannelSlot* c = LiveChannel(h);
    if (c == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (loops < -1) {
        return kAudioErrInvalidParam;
    }
    c->loops = loops;
    // Only a looping sound repeats; a one-shot keeps playing its single pass.
    if ((m_sounds[c->sound].mode & kAudioLoopNormal) != 0) {
        m_output->SetLoops(static_cast<int>(h.index), loops);
    }
    return kAudioOk;
}

AudioResult AudioSystem::ChannelGetLoops(const AudioHandle& h, int* loops) const {
    const ChannelSlot* c = LiveChannel(h);
    if (c == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (loops == nullptr) {
        return kAudioErrInvalidParam;
    }
    *loops = c->loops;
    return kAudioOk;
}

AudioResult AudioSystem::ChannelSetPaused(const AudioHandle& h, bool paused) {
    ChannelSlot* c = LiveChannel(h);
    if (c == nullptr) {
        return kAudioErrInvalidHandle;
    }
    c->paused = paused;
    ApplyMix(h.index, false);
    return kAudioOk;
}

AudioResult AudioSystem::ChannelGetPaused(const AudioHandle& h, bool* paused) const {
    const ChannelSlot* c = LiveChannel(h);
    if (c == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (paused == nullptr) {
        return kAudioErrInvalidParam;
    }
    *paused = c->paused;
    return kAudioOk;
}

AudioResult AudioSystem::ChannelSetGroup(const AudioHandle& h, const AudioHandle& group) {
    ChannelSlot* c = LiveChannel(h);
    if (c == nullptr || LiveGroup(group) == nullptr) {
        return kAudioErrInvalidHandle;
    }
    c->group = group.index;
    ApplyMix(h.index, false);
    return kAudioOk;
}

AudioResult AudioSystem::ChannelGetGroup(const AudioHandle& h, ChannelGroup* group) const {
    const ChannelSlot* c = LiveChannel(h);
    if (c == nullptr) {
        return kAudioErrInvalidHandle;
    }
    if (group == nullptr) {
        return kAudioErrInvalidParam;
    }
    *group = ChannelGroup(MakeHandle(c->group, m_groups[c->group].generation));
    return kAudioOk;
}

AudioResult AudioSystem::ChannelStop(const AudioHandle& h) {
    if (LiveChannel(h) == nullptr) {
        return kAudioErrInvalidHandle;
    }
    FreeChannel(h.index, true);
    return kAudioOk;
}

} // namespace plat
