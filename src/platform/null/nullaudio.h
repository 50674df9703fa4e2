// Null sound output: plays nothing, reads no file, and records what it is asked so that tests can
// look and can end sounds when they choose.
#pragma once

#include "platform/audio.h"

#include <set>
#include <string>
#include <vector>

namespace plat {

class NullAudioOutput : public AudioOutput {
  public:
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

    // The pass now playing on a voice ends: it starts again while loops remain, else it falls silent.
    void EndPass(int voice);
    // The voice falls silent at once, whatever its loops.
    void Finish(int voice);
    // The file a sample was loaded from ("" for an unknown sample).
    std::string FileOf(uint32_t sampleId) const;

    struct Voice {
        bool sounding = false;
        uint32_t sample = 0;
        int loops = 0;
        bool paused = false;
        float volume = 1.0f;
        float pan = 0.0f;
    };

    // Knobs.
    bool openSucceeds = true;
    bool startSucceeds = true;
    std::set<std::string> unreadable; // files whose load fails as not found
    // Voices with no passes left end at the next update, so that a long run without a test in
    // charge never fills every channel.
    bool autoFinish = true;
    bool record = false; // keep `events`

    // What happened.
    bool open = false;
    int opens = 0;
    int closes = 0;
    std::vector<Voice> voices;
    std::vector<std::string> samples; // file of each sample id - 1; "" once unloaded
    std::vector<std::string> events;

  private:
    Voice* At(int voice);
    void Note(const std::string& event);
};

// The output installed when a platform gives none.
extern NullAudioOutput g_defaultNullAudioOutput;

} // namespace plat
