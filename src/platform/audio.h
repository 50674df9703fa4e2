// Stand-in for the audio library the game was written against: a system that opens sounds as
// streams, plays them on numbered channels, gathers channels in groups with a volume, a pause and a
// 3-D position, and keeps a 3-D listener. The object model lives here; an AudioOutput (null or
// SDL2_mixer) does the actual decoding and playing.
//
// Sounds, channels and groups are handles checked by generation: a handle whose object is gone
// (a channel whose sound ended or was stopped, a released sound or group, anything after the system
// is released) answers kAudioErrInvalidHandle instead of touching freed state. The system never
// calls back into the game; ends of sounds are found by polling in AudioSystem::Update.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

// Result codes. Only kAudioErrInvalidHandle's number is relied upon by the game.
enum AudioResult : int {
    kAudioOk = 0,
    kAudioErrInvalidParam = 1,
    kAudioErrFileNotFound = 2,
    kAudioErrFormat = 3,
    kAudioErrFileTooLarge = 4,
    kAudioErrUninitialized = 5,
    kAudioErrInitialized = 6,
    kAudioErrOutputInit = 7,
    kAudioErrOutputPlay = 8,
    kAudioErrChannelsBusy = 9,
    kAudioErrInvalidHandle = 36,
};

// Our own text for a result; never null.
const char* AudioErrorString(int result);

// Sound modes, with the numbers the game passes.
constexpr uint32_t kAudioDefault = 0;
constexpr uint32_t kAudioLoopOff = 1;
constexpr uint32_t kAudioLoopNormal = 2;

// Channel selectors for AudioSystem::PlaySound.
constexpr int kChannelFree = -1;  // any free channel
constexpr int kChannelReuse = -2; // the channel passed in, when it is still valid; else a free one

constexpr uint32_t kAudioInitNormal = 0;

struct AudioVector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

class AudioSystem;

// Identifies one object of one system; a default-constructed handle is null.
struct AudioHandle {
    uint32_t system = 0;
    uint32_t index = 0;
    uint32_t generation = 0;

    bool IsNull() const { return system == 0; }
    bool operator==(const AudioHandle&) const = default;
};

class Sound {
  public:
    Sound() = default;
    explicit Sound(AudioHandle handle) : m_handle(handle) {}
    AudioResult Release();
    AudioResult GetLength(uint32_t* milliseconds) const;
    const AudioHandle& Handle() const { return m_handle; }
    bool operator==(const Sound&) const = default;

  private:
    AudioHandle m_handle;
};

class ChannelGroup {
  public:
    ChannelGroup() = default;
    explicit ChannelGroup(AudioHandle handle) : m_handle(handle) {}
    AudioResult SetVolume(float volume);
    AudioResult GetVolume(float* volume) const;
    AudioResult SetPaused(bool paused);
    AudioResult GetPaused(bool* paused) const;
    // Places every channel of the group at this point (velocity is accepted and ignored).
    AudioResult Override3DAttributes(const AudioVector* position, const AudioVector* velocity);
    AudioResult GetName(std::string* name) const;
    // Channels of a released group fall back to the master group.
    AudioResult Release();
    const AudioHandle& Handle() const { return m_handle; }
    bool operator==(const ChannelGroup&) const = default;

  private:
    AudioHandle m_handle;
};

class Channel {
  public:
    Channel() = default;
    explicit Channel(AudioHandle handle) : m_handle(handle) {}
    AudioResult IsPlaying(bool* playing) const;
    AudioResult GetCurrentSound(Sound* sound) const;
    // -1 loops for ever, 0 stops at the end of the pass now playing, n plays n more passes.
    AudioResult SetLoopCount(int loops);
    AudioResult GetLoopCount(int* loops) const;
    AudioResult SetPaused(bool paused);
    AudioResult GetPaused(bool* paused) const;
    AudioResult SetChannelGroup(const ChannelGroup& group);
    AudioResult GetChannelGroup(ChannelGroup* group) const;
    AudioResult Stop();
    const AudioHandle& Handle() const { return m_handle; }
    bool IsNull() const { return m_handle.IsNull(); }
    bool operator==(const Channel&) const = default;

  private:
    AudioHandle m_handle;
};

// What actually makes the sound: decodes files into samples and plays them on voices. Voices are
// numbered 0 to the count given to Open. Everything is called from the main thread.
class AudioOutput {
  public:
    virtual ~AudioOutput() = default;

    virtual AudioResult Open(int voices) = 0;
    virtual void Close() = 0;
    // Reads and decodes a file; sampleId is non-zero on success.
    virtual AudioResult Load(const std::string& file, uint32_t& sampleId) = 0;
    virtual void Unload(uint32_t sampleId) = 0;
    // Length of a loaded sample in milliseconds (0 when unknown).
    virtual uint32_t Length(uint32_t sampleId) const = 0;
    // Plays a sample once plus `loops` more passes (-1: for ever), at full volume and centred,
    // replacing whatever the voice played. A paused start makes no sound until SetPaused(voice, false).
    virtual AudioResult Start(int voice, uint32_t sampleId, int loops, bool paused) = 0;
    virtual void Stop(int voice) = 0;
    virtual void SetPaused(int voice, bool paused) = 0;
    // Passes still to play after the one now playing (-1: for ever).
    virtual void SetLoops(int voice, int loops) = 0;
    // Volume 0..1 and balance -1 (left) .. 1 (right).
    virtual void SetMix(int voice, float volume, float pan) = 0;
    // True from Start until the voice has played out or is stopped (paused voices sound).
    virtual bool IsSounding(int voice) = 0;
    virtual void Update() = 0;
};

// Our counterpart of the audio library's system object.
class AudioSystem {
  public:
    explicit AudioSystem(AudioOutput* output);
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    AudioResult Init(int maxChannels, uint32_t flags);
    AudioResult Set3DSettings(float dopplerScale, float distanceFactor, float rolloffScale);
    AudioResult CreateStream(const std::string& file, uint32_t mode, Sound* sound);
    AudioResult CreateChannelGroup(const char* name, ChannelGroup* group);
    AudioResult GetMasterChannelGroup(ChannelGroup* group) const;
    // channelIndex is kChannelFree or kChannelReuse; *channel is read for reuse and receives the
    // channel that plays. The channel joins the master group, at full volume.
    AudioResult PlaySound(int channelIndex, const Sound& sound, bool paused, Channel* channel);
    // Finds channels whose sound has ended (their handles turn invalid) and re-places 3-D sounds.
    AudioResult Update();
    AudioResult Set3DListenerAttributes(int listener, const AudioVector* position,
                                        const AudioVector* velocity, const AudioVector* forward,
                                        const AudioVector* up);
    AudioResult Get3DListenerAttributes(int listener, AudioVector* position, AudioVector* velocity,
                                        AudioVector* forward, AudioVector* up) const;
    AudioResult GetChannelsPlaying(int* channels) const;
    // Stops everything, releases every sound and group and closes the output.
    AudioResult Release();

    // The live system a handle belongs to, or null.
    static AudioSystem* Find(uint32_t serial);

  private:
    friend class Sound;
    friend class Channel;
    friend class ChannelGroup;

    struct SoundSlot {
        uint32_t generation = 1;
        bool live = false;
        uint32_t sample = 0;
        uint32_t mode = 0;
    };
    struct GroupSlot {
        uint32_t generation = 1;
        bool live = false;
        std::string name;
        float volume = 1.0f;
        bool paused = false;
        bool placed = false; // has a 3-D position
        AudioVector position;
    };
    struct ChannelSlot {
        uint32_t generation = 1;
        bool live = false;
        uint32_t sound = 0; // index into m_sounds
        uint32_t group = 0; // index into m_groups; 0 is the master group
        bool paused = false;
        int loops = 0;
        // What the output was last told, so that unchanged settings are not sent again.
        bool outPaused = false;
        float outVolume = 1.0f;
        float outPan = 0.0f;
    };

    SoundSlot* LiveSound(const AudioHandle& h);
    GroupSlot* LiveGroup(const AudioHandle& h);
    ChannelSlot* LiveChannel(const AudioHandle& h);
    const SoundSlot* LiveSound(const AudioHandle& h) const;
    const GroupSlot* LiveGroup(const AudioHandle& h) const;
    const ChannelSlot* LiveChannel(const AudioHandle& h) const;
    AudioHandle MakeHandle(uint32_t index, uint32_t generation) const {
        return {m_serial, index, generation};
    }

    void FreeChannel(uint32_t index, bool stopOutput);
    void ApplyMix(uint32_t index, bool force);

    // Operations behind the handles.
    AudioResult ReleaseSound(const AudioHandle& h);
    AudioResult SoundLength(const AudioHandle& h, uint32_t* ms) const;
    AudioResult GroupSetVolume(const AudioHandle& h, float volume);
    AudioResult GroupGetVolume(const AudioHandle& h, float* volume) const;
    AudioResult GroupSetPaused(const AudioHandle& h, bool paused);
    AudioResult GroupGetPaused(const AudioHandle& h, bool* paused) const;
    AudioResult GroupOverride3D(const AudioHandle& h, const AudioVector* position);
    AudioResult GroupGetName(const AudioHandle& h, std::string* name) const;
    AudioResult ReleaseGroup(const AudioHandle& h);
    AudioResult ChannelIsPlaying(const AudioHandle& h, bool* playing) const;
    AudioResult ChannelGetSound(const AudioHandle& h, Sound* sound) const;
    AudioResult ChannelSetLoops(const AudioHandle& h, int loops);
    AudioResult ChannelGetLoops(const AudioHandle& h, int* loops) const;
    AudioResult ChannelSetPaused(const AudioHandle& h, bool paused);
    AudioResult ChannelGetPaused(const AudioHandle& h, bool* paused) const;
    AudioResult ChannelSetGroup(const AudioHandle& h, const AudioHandle& group);
    AudioResult ChannelGetGroup(const AudioHandle& h, ChannelGroup* group) const;
    AudioResult ChannelStop(const AudioHandle& h);

    AudioOutput* m_output;
    uint32_t m_serial;
    AudioSystem* m_nextLive = nullptr;
    bool m_open = false;
    bool m_released = false;
    float m_distanceFactor = 1.0f;
    float m_rolloffScale = 1.0f;
    AudioVector m_listenerPosition;
    AudioVector m_listenerForward{0.0f, 0.0f, 1.0f};
    AudioVector m_listenerUp{0.0f, 1.0f, 0.0f};
    std::vector<SoundSlot> m_sounds;
    std::vector<GroupSlot> m_groups;
    std::vector<ChannelSlot> m_channels;
};

// Creates a system on the platform's audio output (our counterpart of the library's create call).
AudioResult CreateAudioSystem(std::unique_ptr<AudioSystem>* system);

} // namespace plat
