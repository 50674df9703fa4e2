// The sound output on SDL2_mixer: every sound is decoded into a chunk and played on a mixer channel
// (one per voice). Nothing runs on the audio thread but SDL_mixer's own mixing; ends are polled.
#pragma once

#include "platform/audio.h"

#include <SDL_mixer.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace plat {

class SdlAudioOutput : public AudioOutput {
  public:
    ~SdlAudioOutput() override;

    // Opens the default audio driver; when that fails, logs one line and opens SDL's dummy driver,
    // and when even that fails, goes on silently.
    AudioResult Open(int voices) override;
    void Close() override;
    AudioResult Load(const std::string& file, uint32_t& sampleId) override;
    void Unload(uint32_t sampleId) override;
    uint32_t Length(uint32_t sampleId) const override;
    AudioResult Start(int voice, uint32_t sampleId, int loops, bool paused) override;
    void Stop(int voice) override;
    void SetPaused(int voice, bool paused) override;
    void SetLoops(int voice, int loops) override;
    void SetMix(int voice, float volume, float pan) override;
    bool IsSounding(int voice) override;
    void Update() override;

    // True when no driver at all could be opened.
    bool Silent() const { return m_silent; }

    // Files larger than this are refused before decoding.
    static constexpr uintmax_t kMaxFileBytes = 32u * 1024u * 1024u;

  private:
    struct Sample {
        Mix_Chunk* chunk = nullptr; // null when silent
        uint32_t lengthMs = 0;
    };
    struct Voice {
        uint32_t sample = 0;
        int loops = 0;
        bool sounding = false; // used when silent, or while a paused start has not begun
        bool pending = false;  // started paused: the chunk is handed to the mixer on resume
        bool paused = false;
        uint64_t startedAt = 0; // ticks when the mixer began the chunk
        uint64_t pausedAt = 0;
        uint64_t pausedFor = 0;
        float volume = 1.0f;
        float pan = 0.0f;
    };

    bool OpenDriver(const char* driver);
    Voice* At(int voice);
    const Sample* SampleOf(uint32_t sampleId) const;
    bool Begin(int voice, Voice& v);
    void ApplyMix(int voice, const Voice& v);
    uint64_t PlayedMs(const Voice& v) const;

    bool m_open = false;
    bool m_silent = false;
    bool m_reported = false; // the missing device is told once
    int m_bytesPerMs = 0;
    uint32_t m_nextSample = 1;
    std::map<uint32_t, Sample> m_samples;
    std::vector<Voice> m_voices;
};

} // namespace plat
