#include "platform/sdl/sdlaudio.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace plat {

namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;

void Log(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

SdlAudioOutput::~SdlAudioOutput() {
    Close();
}

bool SdlAudioOutput::OpenDriver(const char* driver) {
    if (driver != nullptr) {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, kOutputChannels, kBufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3);
    return true;
}

AudioResult SdlAudioOutput::Open(int voices) {
    if (m_open) {
        return kAudioErrInitialized;
    }
    if (voices <= 0) {
        return kAudioErrInvalidParam;
    }
    m_silent = false;
    if (!OpenDriver(nullptr)) {
        const std::string reason = SDL_GetError();
        const bool dummy = OpenDriver("dummy");
        if (!m_reported) {
            Log("No sound device (" + reason + "): the game runs without sound.");
            m_reported = true;
        }
        m_silent = !dummy;
    }
    if (!m_silent) {
        int frequency = 0;
        Uint16 format = 0;
        int channels = 0;
        Mix_QuerySpec(&frequency, &format, &channels);
        m_bytesPerMs =
            std::max(1, frequency * channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) / 1000);
        Mix_AllocateChannels(voices);
        Mix_Volume(-1, MIX_MAX_VOLUME);
    }
    m_voices.assign(static_cast<size_t>(voices), Voice{});
    m_open = true;
    return kAudioOk;
}

void SdlAudioOutput::Close() {
    if (!m_open) {
        return;
    }
    if (!m_silent) {
        Mix_HaltChannel(-1);
    }
    for (auto& [id, sample] : m_samples) {
        if (sample.chunk != nullptr) {
            Mix_FreeChunk(sample.chunk);
        }
    }
    m_samples.clear();
    m_voices.clear();
    if (!m_silent) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    m_open = false;
}

AudioResult SdlAudioOutput::Load(const std::string& file, uint32_t& sampleId) {
    if (!m_open) {
        return kAudioErrUninitialized;
    }
    std::error_code error;
    const std::filesystem::path path(file);
    if (!std::filesystem::is_regular_file(path, error)) {
        return kAudioErrFileNotFound;
    }
    const uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error) {
        return kAudioErrFileNotFound;
    }
    if (bytes > kMaxFileBytes) {
        return kAudioErrFileTooLarge;
    }
    Sample sample;
    if (!m_silent) {
        sample.chunk = Mix_LoadWAV(file.c_str());
        if (sample.chunk == nullptr) {
            return kAudioErrFormat;
        }
        sample.lengthMs = static_cast<uint32_t>(sample.chunk->alen / static_cast<Uint32>(m_bytesPerMs));
    }
    sampleId = m_nextSample++;
    m_samples[sampleId] = sample;
    return kAudioOk;
}

void SdlAudioOutput::Unload(uint32_t sampleId) {
    auto it = m_samples.find(sampleId);
    if (it == m_samples.end()) {
        return;
    }
    for (size_t i = 0; i < m_voices.size(); ++i) {
        if (m_voices[i].sample == sampleId) {
            Stop(static_cast<int>(i));
        }
    }
    if (it->second.chunk != nullptr) {
        Mix_FreeChunk(it->second.chunk);
    }
    m_samples.erase(it);
}

uint32_t SdlAudioOutput::Length(uint32_t sampleId) const {
    const Sample* sample = SampleOf(sampleId);
    return sample != nullptr ? sample->lengthMs : 0;
}

SdlAudioOutput::Voice* SdlAudioOutput::At(int voice) {
    if (!m_open || voice < 0 || static_cast<size_t>(voice) >= m_voices.size()) {
        return nullptr;
    }
    return &m_voices[static_cast<size_t>(voice)];
}

const SdlAudioOutput::Sample* SdlAudioOutput::SampleOf(uint32_t sampleId) const {
    auto it = m_samples.find(sampleId);
    return it != m_samples.end() ? &it->second : nullptr;
}

void SdlAudioOutput::ApplyMix(int voice, const Voice& v) {
    if (m_silent) {
        return;
    }
    Mix_Volume(voice, static_cast<int>(std::lround(std::clamp(v.volume, 0.0f, 1.0f) * MIX_MAX_VOLUME)));
    const float pan = std::clamp(v.pan, -1.0f, 1.0f);
    const auto left = static_cast<Uint8>(std::lround(255.0f * std::min(1.0f, 1.0f - pan)));
    const auto right = static_cast<Uint8>(std::lround(255.0f * std::min(1.0f, 1.0f + pan)));
    Mix_SetPanning(voice, left, right);
}

// Hands the chunk to the mixer.
bool SdlAudioOutput::Begin(int voice, Voice& v) {
    const Sample* sample = SampleOf(v.sample);
    if (sample == nullptr || sample->chunk == nullptr) {
        return false;
    }
    ApplyMix(voice, v);
    if (Mix_PlayChannel(voice, sample->chunk, v.loops) != voice) {
        return false;
    }
    v.startedAt = SDL_GetTicks64();
    v.pausedFor = 0;
    return true;
}

AudioResult SdlAudioOutput::Start(int voice, uint32_t sampleId, int loops, bool paused) {
    Voice* v = At(voice);
    const Sample* sample = SampleOf(sampleId);
    if (v == nullptr || sample == nullptr || loops < -1) {
        return kAudioErrInvalidParam;
    }
    Stop(voice);
    *v = Voice{};
    v->sample = sampleId;
    v->loops = loops;
    v->paused = paused;
    if (m_silent) {
        v->sounding = true;
        return kAudioOk;
    }
    if (paused) {
        v->pending = true;
        v->sounding = true;
        return kAudioOk;
    }
    if (!Begin(voice, *v)) {
        *v = Voice{};
        return kAudioErrOutputPlay;
    }
    return kAudioOk;
}

void SdlAudioOutput::Stop(int voice) {
    Voice* v = At(voice);
    if (v == nullptr) {
        return;
    }
    if (!m_silent) {
        Mix_HaltChannel(voice);
    }
    v->sounding = false;
    v->pending = false;
}

void SdlAudioOutput::SetPaused(int voice, bool paused) {
    Voice* v = At(voice);
    if (v == nullptr || v->paused == paused) {
        return;
    }
    v->paused = paused;
    if (m_silent) {
        return;
    }
    if (v->pending) {
        if (!paused) {
            v->pending = false;
            v->sounding = Begin(voice, *v);
        }
        return;
    }
    const uint64_t now = SDL_GetTicks64();
    if (paused) {
        v->pausedAt = now;
        Mix_Pause(voice);
    } else {
        v->pausedFor += now - v->pausedAt;
        Mix_Resume(voice);
    }
}

uint64_t SdlAudioOutput::PlayedMs(const Voice& v) const {
    const uint64_t now = v.paused ? v.pausedAt : SDL_GetTicks64();
    const uint64_t played = now - v.startedAt;
    return played > v.pausedFor ? played - v.pausedFor : 0;
}

// The mixer cannot change the loops of a chunk it plays, so a new count becomes an expiry at the
// end of the pass now playing plus the passes still wanted.
void SdlAudioOutput::SetLoops(int voice, int loops) {
    Voice* v = At(voice);
    if (v == nullptr || loops < -1) {
        return;
    }
    v->loops = loops;
    if (m_silent || v->pending) {
        return;
    }
    if (loops < 0) {
        Mix_ExpireChannel(voice, -1);
        return;
    }
    const Sample* sample = SampleOf(v->sample);
    if (sample == nullptr || sample->lengthMs == 0) {
        return;
    }
    const uint64_t length = sample->lengthMs;
    const uint64_t inPass = PlayedMs(*v) % length;
    const uint64_t remaining = length - inPass + static_cast<uint64_t>(loops) * length;
    Mix_ExpireChannel(voice, static_cast<int>(std::min<uint64_t>(remaining, 0x7FFFFFFF)));
}

void SdlAudioOutput::SetMix(int voice, float volume, float pan) {
    Voice* v = At(voice);
    if (v == nullptr) {
        return;
    }
    v->volume = volume;
    v->pan = pan;
    ApplyMix(voice, *v);
}

bool SdlAudioOutput::IsSounding(int voice) {
    Voice* v = At(voice);
    if (v == nullptr) {
        return false;
    }
    if (m_silent || v->pending) {
        return v->sounding;
    }
    return Mix_Playing(voice) != 0;
}

// Without a device nothing plays out by itself: a pass with no loops left ends at the next update.
void SdlAudioOutput::Update() {
    if (!m_silent) {
        return;
    }
    for (Voice& v : m_voices) {
        if (v.sounding && !v.paused && v.loops == 0) {
            v.sounding = false;
        }
    }
}

} // namespace plat
