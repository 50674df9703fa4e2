#include "platform/sdl/sdlaudio.h"

#include <SDL.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace plat {

namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;
constexpr int kPieceFrames = 1024; // read from the file at a time
constexpr int kMaxFileChannels = 8;

void Log(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

// One playing of a file: the decoder, the converter to the mixer's format and what is left to play.
// Once the channel plays, only the audio thread touches it, but for the atomics.
struct SdlAudioOutput::Stream {
    SNDFILE* file = nullptr;
    SF_INFO info{};
    SDL_AudioStream* convert = nullptr;
    std::vector<float> piece;
    bool drained = false;       // the last pass is read and flushed into the converter
    bool passHadFrames = false; // a file that yields nothing ends instead of looping for ever
    std::atomic<int> loops{0};
    std::atomic<bool> ended{false};

    ~Stream() {
        if (convert != nullptr) {
            SDL_FreeAudioStream(convert);
        }
        if (file != nullptr) {
            sf_close(file);
        }
    }
};

SdlAudioOutput::SdlAudioOutput() = default;

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
    m_spec = SDL_AudioSpec{};
    m_spec.freq = kFrequency;
    m_spec.format = AUDIO_S16SYS;
    m_spec.channels = kOutputChannels;
    if (!m_silent) {
        int channels = 0;
        Mix_QuerySpec(&m_spec.freq, &m_spec.format, &channels);
        m_spec.channels = static_cast<Uint8>(channels);
        m_silence.assign(
            static_cast<size_t>(kBufferFrames * channels * (SDL_AUDIO_BITSIZE(m_spec.format) / 8)),
            SDL_AUDIO_ISSIGNED(m_spec.format) ? 0 : 0x80);
        m_silenceChunk = Mix_QuickLoad_RAW(m_silence.data(), static_cast<Uint32>(m_silence.size()));
        Mix_AllocateChannels(voices);
        Mix_Volume(-1, MIX_MAX_VOLUME);
    }
    m_voices.clear();
    m_voices.resize(static_cast<size_t>(voices));
    m_open = true;
    return kAudioOk;
}

void SdlAudioOutput::Close() {
    if (!m_open) {
        return;
    }
    if (!m_silent) {
        Mix_HaltChannel(-1); // the audio thread lets go of every stream before they are freed
    }
    m_samples.clear();
    m_voices.clear();
    if (!m_silent) {
        Mix_FreeChunk(m_silenceChunk);
        m_silenceChunk = nullptr;
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    m_open = false;
}

// Opens the file for one playing; what the file says of itself is not trusted.
AudioResult SdlAudioOutput::OpenStream(const std::string& file, std::unique_ptr<Stream>& stream) const {
    auto s = std::make_unique<Stream>();
    s->file = sf_open(file.c_str(), SFM_READ, &s->info);
    if (s->file == nullptr) {
        return kAudioErrFormat;
    }
    if (s->info.channels <= 0 || s->info.channels > kMaxFileChannels || s->info.samplerate <= 0 ||
        s->info.frames < 0) {
        return kAudioErrFormat;
    }
    s->convert = SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(s->info.channels), s->info.samplerate,
                                    m_spec.format, m_spec.channels, m_spec.freq);
    if (s->convert == nullptr) {
        return kAudioErrFormat;
    }
    s->piece.resize(static_cast<size_t>(kPieceFrames * s->info.channels));
    stream = std::move(s);
    return kAudioOk;
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
    // Only the header is read here; the sound is decoded as it plays.
    std::unique_ptr<Stream> probe;
    const AudioResult result = OpenStream(file, probe);
    if (result != kAudioOk) {
        return result;
    }
    Sample sample;
    sample.file = file;
    // A length the decoder cannot tell is unknown, not a product that overflows.
    const double ms = static_cast<double>(probe->info.frames) * 1000.0 / probe->info.samplerate;
    sample.lengthMs =
        probe->info.frames == SF_COUNT_MAX ? 0 : static_cast<uint32_t>(std::min(ms, 4294967295.0));
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

// The channel's effect, on the audio thread: fills the piece the mixer is about to mix with the next
// piece of the sound, going back to the start of the file for each further pass, and with silence
// once the sound has played out.
void SdlAudioOutput::Feed(int, void* buffer, int bytes, void* stream) {
    Stream& s = *static_cast<Stream*>(stream);
    auto* out = static_cast<Uint8*>(buffer);
    int filled = 0;
    while (filled < bytes) {
        const int got = SDL_AudioStreamGet(s.convert, out + filled, bytes - filled);
        if (got < 0) {
            s.ended.store(true); // a converter that fails ends the sound rather than hanging on silence
            break;
        }
        filled += got;
        if (filled == bytes || s.drained) {
            break;
        }
        const sf_count_t frames = sf_readf_float(s.file, s.piece.data(), kPieceFrames);
        if (frames > 0) {
            s.passHadFrames = true;
            if (SDL_AudioStreamPut(s.convert, s.piece.data(),
                                   static_cast<int>(frames * s.info.channels * sizeof(float))) != 0) {
                s.ended.store(true);
                break;
            }
            continue;
        }
        int loops = s.loops.load();
        if (loops != 0 && s.passHadFrames && sf_seek(s.file, 0, SEEK_SET) == 0) {
            // A count the game sets meanwhile wins over this pass's decrement.
            if (loops > 0) {
                s.loops.compare_exchange_strong(loops, loops - 1);
            }
            s.passHadFrames = false;
            continue;
        }
        SDL_AudioStreamFlush(s.convert);
        s.drained = true;
    }
    if (filled < bytes) {
        std::memset(out + filled, 0, static_cast<size_t>(bytes - filled));
        if (s.drained && SDL_AudioStreamAvailable(s.convert) == 0) {
            s.ended.store(true);
        }
    }
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
    if (OpenStream(sample->file, v->stream) != kAudioOk) {
        *v = Voice{};
        return kAudioErrOutputPlay;
    }
    v->stream->loops.store(loops);
    // A paused start is handed to the mixer on resume.
    v->pending = paused;
    if (!paused && !Begin(voice, *v)) {
        Stop(voice);
        *v = Voice{};
        return kAudioErrOutputPlay;
    }
    return kAudioOk;
}

// The silence starts first and the stream comes in under it, ahead of the balance, which must work
// on the sound rather than on the silence it replaces.
bool SdlAudioOutput::Begin(int voice, Voice& v) {
    Mix_UnregisterAllEffects(voice);
    if (Mix_PlayChannel(voice, m_silenceChunk, -1) != voice ||
        Mix_RegisterEffect(voice, &SdlAudioOutput::Feed, nullptr, v.stream.get()) == 0) {
        return false;
    }
    ApplyMix(voice, v);
    return true;
}

void SdlAudioOutput::Stop(int voice) {
    Voice* v = At(voice);
    if (v == nullptr) {
        return;
    }
    if (!m_silent) {
        Mix_HaltChannel(voice); // takes the effect off under the audio lock: the stream is ours again
    }
    v->stream.reset();
    v->sounding = false;
    v->pending = false;
}

void SdlAudioOutput::SetPaused(int voice, bool paused) {
    Voice* v = At(voice);
    if (v == nullptr || v->paused == paused) {
        return;
    }
    v->paused = paused;
    if (m_silent || v->stream == nullptr) {
        return;
    }
    if (v->pending) {
        v->pending = false;
        if (!Begin(voice, *v)) {
            Stop(voice);
        }
        return;
    }
    if (paused) {
        Mix_Pause(voice);
    } else {
        Mix_Resume(voice);
    }
}

void SdlAudioOutput::SetLoops(int voice, int loops) {
    Voice* v = At(voice);
    if (v == nullptr || loops < -1) {
        return;
    }
    v->loops = loops;
    if (v->stream != nullptr) {
        v->stream->loops.store(loops);
    }
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
    if (m_silent) {
        return v->sounding;
    }
    return v->stream != nullptr && (v->pending || (!v->stream->ended.load() && Mix_Playing(voice) != 0));
}

// A played-out stream's channel is halted and its file closed. Without a device nothing plays out by
// itself: a pass with no loops left ends at the next update.
void SdlAudioOutput::Update() {
    for (size_t i = 0; i < m_voices.size(); ++i) {
        Voice& v = m_voices[i];
        if (m_silent) {
            if (v.sounding && !v.paused && v.loops == 0) {
                v.sounding = false;
            }
        } else if (v.stream != nullptr && v.stream->ended.load()) {
            Stop(static_cast<int>(i));
        }
    }
}

} // namespace plat
