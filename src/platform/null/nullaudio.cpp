#include "platform/null/nullaudio.h"

namespace plat {

NullAudioOutput g_defaultNullAudioOutput;

AudioResult NullAudioOutput::Open(int count) {
    ++opens;
    if (!openSucceeds) {
        return kAudioErrOutputInit;
    }
    open = true;
    voices.assign(static_cast<size_t>(count), Voice{});
    Note("open " + std::to_string(count));
    return kAudioOk;
}

void NullAudioOutput::Close() {
    ++closes;
    open = false;
    voices.clear();
    Note("close");
}

AudioResult NullAudioOutput::Load(const std::string& file, uint32_t& sampleId) {
    if (unreadable.count(file) != 0) {
        return kAudioErrFileNotFound;
    }
    samples.push_back(file);
    sampleId = static_cast<uint32_t>(samples.size());
    Note("load " + file);
    return kAudioOk;
}

void NullAudioOutput::Unload(uint32_t sampleId) {
    if (sampleId >= 1 && sampleId <= samples.size()) {
        Note("unload " + samples[sampleId - 1]);
        samples[sampleId - 1].clear();
    }
}

uint32_t NullAudioOutput::Length(uint32_t sampleId) const {
    return sampleId >= 1 && sampleId <= samples.size() ? 1000 : 0;
}

std::string NullAudioOutput::FileOf(uint32_t sampleId) const {
    return sampleId >= 1 && sampleId <= samples.size() ? samples[sampleId - 1] : std::string();
}

NullAudioOutput::Voice* NullAudioOutput::At(int voice) {
    if (voice < 0 || static_cast<size_t>(voice) >= voices.size()) {
        return nullptr;
    }
    return &voices[static_cast<size_t>(voice)];
}

AudioResult NullAudioOutput::Start(int voice, uint32_t sampleId, int loops, bool paused) {
    Voice* v = At(voice);
    if (v == nullptr || !startSucceeds) {
        return kAudioErrOutputPlay;
    }
    *v = Voice{true, sampleId, loops, paused, 1.0f, 0.0f};
    Note("start " + std::to_string(voice) + " " + FileOf(sampleId) + " loops " + std::to_string(loops) +
         (paused ? " paused" : ""));
    return kAudioOk;
}

void NullAudioOutput::Stop(int voice) {
    if (Voice* v = At(voice)) {
        if (v->sounding) {
            Note("stop " + std::to_string(voice));
        }
        v->sounding = false;
    }
}

void NullAudioOutput::SetPaused(int voice, bool paused) {
    if (Voice* v = At(voice)) {
        v->paused = paused;
        Note((paused ? "pause " : "resume ") + std::to_string(voice));
    }
}

void NullAudioOutput::SetLoops(int voice, int loops) {
    if (Voice* v = At(voice)) {
        v->loops = loops;
        Note("loops " + std::to_string(voice) + " " + std::to_string(loops));
    }
}

void NullAudioOutput::SetMix(int voice, float volume, float pan) {
    if (Voice* v = At(voice)) {
        v->volume = volume;
        v->pan = pan;
    }
}

bool NullAudioOutput::IsSounding(int voice) {
    Voice* v = At(voice);
    return v != nullptr && v->sounding;
}

void NullAudioOutput::Update() {
    if (!autoFinish) {
        return;
    }
    for (Voice& v : voices) {
        if (v.sounding && v.loops == 0) {
            v.sounding = false;
        }
    }
}

void NullAudioOutput::EndPass(int voice) {
    Voice* v = At(voice);
    if (v == nullptr || !v->sounding) {
        return;
    }
    if (v->loops == 0) {
        v->sounding = false;
    } else if (v->loops > 0) {
        --v->loops;
    }
}

void NullAudioOutput::Finish(int voice) {
    if (Voice* v = At(voice)) {
        v->sounding = false;
    }
}

void NullAudioOutput::Note(const std::string& event) {
    if (record) {
        events.push_back(event);
    }
}

} // namespace plat
