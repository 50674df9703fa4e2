// The sound output on SDL2_mixer: every sound is streamed from its file (libsndfile reads WAV, Ogg
// Vorbis and MP3) and played on a mixer channel, one per voice. The channel loops a short silence and
// an effect on it overwrites each piece with the next piece of the file, decoded and converted on the
// audio thread, so a sound costs a small buffer whatever its length; SDL_mixer still does the volume,
// the balance and the pause. Ends are polled.
#pragma once

#include "platform/audio.h"

#include <SDL_mixer.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class SdlAudioOutput : public AudioOutput {
  public:
    SdlAudioOutput();
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
    struct Stream;
    struct Sample {
        std::string file;
        uint32_t lengthMs = 0;
    };
    struct Voice {
        uint32_t sample = 0;
        int loops = 0;
        bool sounding = false; // used when silent
        bool pending = false;  // started paused: the stream is handed to the mixer on resume
        bool paused = false;
        float volume = 1.0f;
        float pan = 0.0f;
        std::unique_ptr<Stream> stream; // read by the audio thread while the channel plays
    };

    AudioResult OpenStream(const std::string& file, std::unique_ptr<Stream>& stream) const;
    static void Feed(int channel, void* buffer, int bytes, void* stream);
    Voice* At(int voice);
    const Sample* SampleOf(uint32_t sampleId) const;
    bool OpenDriver(const char* driver);
    bool Begin(int voice, Voice& v);
    void ApplyMix(int voice, const Voice& v);

    bool m_open = false;
    bool m_silent = false;
    bool m_reported = false; // the missing device is told once
    SDL_AudioSpec m_spec{};
    std::vector<Uint8> m_silence; // the chunk every channel loops under its stream
    Mix_Chunk* m_silenceChunk = nullptr;
    uint32_t m_nextSample = 1;
    std::map<uint32_t, Sample> m_samples;
    std::vector<Voice> m_voices;
};

} // namespace plat
