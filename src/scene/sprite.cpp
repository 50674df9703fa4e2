#include "scene/sprite.h"

#include "engine/engine.h"
#include "engine/krfilestamp.h"
#include "engine/krlog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr float kHalfPi = 1.57079632679f;

void LogBadConfig(const std::string& xmlFile, const std::string& reason) {
    LogLine("Bad texture config " + xmlFile + ": " + reason);
}

// The image must be there and be a PNG; a texture that cannot be read is found here, where the
// sprite can still fall back, rather than as a blank quad at draw time. Non-blocking, so that a pipe
// in place of a file cannot hang the game. An image that passed and has not changed since passes
// again without being opened.
bool CheckImageFile(const std::string& file, std::string& reason) {
    static std::unordered_map<std::string, FileStamp> passed;
    FileStamp stamp;
    const bool settled = SettledFileStamp(file, stamp);
    if (settled) {
        auto known = passed.find(file);
        if (known != passed.end() && known->second == stamp) {
            return true;
        }
    }
    passed.erase(file);
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        reason = "no image " + file;
        return false;
    }
    struct stat info {};
    static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char head[8] = {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::read(fd, head, sizeof(head)) == 8 &&
              std::memcmp(head, kPngSignature, sizeof(head)) == 0;
    ::close(fd);
    if (!ok) {
        reason = "image " + file + " is not a PNG";
    } else if (settled) {
        passed[file] = stamp;
    }
    return ok;
}

// A picture size as the sprite keeps it: truncated toward zero, refused when it is no int32.
bool PictureSize(float value, int32_t& out) {
    if (!std::isfinite(value) || value >= 2147483648.0f || value < -2147483648.0f) {
        return false;
    }
    out = static_cast<int32_t>(value);
    return true;
}

// Frame columns or rows, truncated toward zero. A grid left out or below 1 counts as one, so the
// whole texture is frame (0, 0); a negative or huge one is a broken file.
bool GridCount(float value, uint32_t limit, uint32_t& out) {
    if (std::isnan(value) || value < 0.0f || value >= static_cast<float>(limit) + 1.0f) {
        return false;
    }
    out = std::max<uint32_t>(1, static_cast<uint32_t>(value));
    return true;
}

} // namespace

int32_t FadeLevelAlpha(int32_t fadeLevel) {
    switch (fadeLevel) {
    case 0:
        return 0;
    case 1:
        return 190;
    case 2:
        return 127;
    case 3:
        return 63;
    default:
        return 255;
    }
}

namespace {

// Drawing names a quad for every sprite every frame; the names are made once.
const std::string& FadeQuadName(int32_t fadeLevel) {
    static const std::string names[] = {
        FormatString("Quad.%d", FadeLevelAlpha(0)), FormatString("Quad.%d", FadeLevelAlpha(1)),
        FormatString("Quad.%d", FadeLevelAlpha(2)), FormatString("Quad.%d", FadeLevelAlpha(3)),
        FormatString("Quad.%d", FadeLevelAlpha(-1))};
    return fadeLevel >= 0 && fadeLevel <= 3 ? names[fadeLevel] : names[4];
}

} // namespace

Sprite::Sprite(plat::Clock* clock) : m_animTimer(clock) {
    m_quad.InitQuad();
}

void Sprite::ResetToInitial(bool billboard) {
    m_playing = false;
    m_oneShot = false;
    m_hold = false;
    m_xmlName.clear();
    m_quad.InitQuad();
    m_textureFile = kDefaultTextureFile;
    m_textureCache = {};
    m_width = 0;
    m_height = 0;
    m_alpha = 0;
    m_columns = 1;
    m_rows = 1;
    m_position = {0.0f, 0.0f, 0.0f};
    m_fadeLevel = 0;
    m_visible = true;
    m_layFlat = false;
    m_billboard = billboard;
    m_scale[0] = 1.0f;
    m_scale[1] = 1.0f;
    m_facing = {0.0f, 0.0f, 1.0f};
    m_currentFrame = 0;
    m_startFrame = 0;
    m_endFrame = 0;
    m_frames.clear();
    m_secondsPerFrame = 0.05f;
    m_animTimer.Reset();
    m_animations.clear();
}

void Sprite::InitWithXML(const std::string& xmlFile, bool billboard) {
    ResetToInitial(billboard);
    if (!ApplyTextureConfig(xmlFile)) {
        LogLine("Sprite InitWithXML couldn't load " + xmlFile);
        SetFallbackTexture(kDefaultTextureFile);
    }
}

void Sprite::InitWithXMLConfigObject(const KRConfig& config, bool billboard) {
    ResetToInitial(billboard);
    if (!ApplyTextureConfigObject(config)) {
        LogLine("Sprite InitWithXMLConfigObject couldn't load " + config.m_fileName);
        SetFallbackTexture(kDefaultTextureFile);
    }
}

bool Sprite::ApplyTextureConfig(const std::string& xmlFile) {
    // Set before reading: owners compare it to tell which configuration they last applied.
    m_xmlName = xmlFile;
    ConfigLoad outcome = ConfigLoad::Loaded;
    std::shared_ptr<const KRTextureConfig> typed = LoadTextureConfig(xmlFile, &outcome);
    if (!typed) {
        // Unreadable files were logged by the configuration layer.
        if (outcome == ConfigLoad::WrongClass) {
            LogLine("Fail to load texture config");
        }
        return false;
    }
    return ApplyTyped(*typed);
}

bool Sprite::ApplyTextureConfigObject(const KRConfig& config) {
    ConfigLoad outcome = ConfigLoad::Loaded;
    std::unique_ptr<KRTextureConfig> typed = TypedConfig<KRTextureConfig>(config, &outcome);
    if (!typed) {
        // Unreadable files were logged by the configuration layer.
        if (outcome == ConfigLoad::WrongClass) {
            LogLine("Fail to load texture config");
        }
        return false;
    }
    return ApplyTyped(*typed);
}

// Everything is checked before anything is taken, so a refused configuration leaves the sprite as
// it was.
bool Sprite::ApplyTyped(const KRTextureConfig& config) {
    const std::string& name = config.m_fileName;
    std::string reason;
    if (!CheckImageFile(config.m_file, reason)) {
        LogBadConfig(name, reason);
        return false;
    }
    int32_t width = 0;
    int32_t height = 0;
    if (!PictureSize(config.m_width, width) || !PictureSize(config.m_height, height)) {
        LogBadConfig(name, "Width or Height is not a size");
        return false;
    }
    uint32_t columns = 1;
    uint32_t rows = 1;
    if (!GridCount(config.m_scaleX, kMaxFrameColumns, columns) ||
        !GridCount(config.m_scaleY, kMaxFrameRows, rows) ||
        static_cast<uint64_t>(columns) * rows > kMaxFrames) {
        LogBadConfig(name, FormatString("frame grid %.2f x %.2f", static_cast<double>(config.m_scaleX),
                                        static_cast<double>(config.m_scaleY)));
        return false;
    }
    if (config.m_alpha < 0) {
        LogBadConfig(name, FormatString("Alpha %d", config.m_alpha));
        return false;
    }
    // Any animation range is taken: one ending below its start never advances, and a frame past the
    // table shows frame 0.
    const uint32_t frames = columns * rows;

    m_textureFile = config.m_file;
    m_textureCache = {};
    m_width = width;
    m_height = height;
    m_columns = columns;
    m_rows = rows;
    m_alpha = config.m_alpha;
    if (config.m_alpha < 255) {
        m_quad.SetAlpha(config.m_alpha);
    }
    m_frames.clear();
    m_frames.reserve(frames);
    for (uint32_t row = 0; row < rows; ++row) {
        for (uint32_t column = 0; column < columns; ++column) {
            m_frames.emplace_back(column, row);
        }
    }
    for (const Animation& animation : config.m_animations) {
        // An animation already known keeps its range.
        m_animations.emplace(animation.m_name, animation);
    }
    return true;
}

void Sprite::SetFallbackTexture(const std::string& file) {
    m_textureFile = file;
    m_textureCache = {};
    m_width = 64;
    m_height = 64;
    m_columns = 1;
    m_rows = 1;
    m_frames.emplace_back(0, 0);
}

void Sprite::Load(Engine& engine) {
    Renderer* renderer = engine.m_display.renderer.get();
    if (renderer == nullptr || !renderer->textures.Load({m_textureFile, m_width, m_height, m_alpha})) {
        LogLine("Couldn't load texture " + m_textureFile);
        // An image that passed the checks but still cannot be read is shown as the default texture.
        if (renderer != nullptr && m_textureFile != kDefaultTextureFile) {
            m_frames.clear();
            SetFallbackTexture(kDefaultTextureFile);
            if (!renderer->textures.Load({m_textureFile, m_width, m_height, m_alpha})) {
                LogLine("Couldn't load texture " + m_textureFile);
            }
        }
    }
    if (renderer == nullptr || !renderer->geometry.Load(m_quad)) {
        LogLine("Couldn't load geometry " + m_quad.name);
    }
}

bool Sprite::SetAnimation(const std::string& name) {
    auto it = m_animations.find(name);
    if (it == m_animations.end()) {
        return false;
    }
    m_animTimer.Reset();
    // A negative frame number reads as frame 0.
    m_startFrame = static_cast<uint32_t>(std::max(0, it->second.m_startFrame));
    m_currentFrame = m_startFrame;
    m_endFrame = static_cast<uint32_t>(std::max(0, it->second.m_endFrame));
    m_playing = true;
    return true;
}

void Sprite::StopAnimation() {
    if (!m_hold) {
        m_currentFrame = 0;
    }
    m_playing = false;
    m_animTimer.Reset();
}

void Sprite::Animate(const float* delta) {
    if (!m_playing || delta == nullptr || *delta == 0.0f) {
        return;
    }
    // A looping animation of one frame, showing it, has nothing to advance: most tiles are such, and
    // reading the clock for each is a measurable share of the kingdom's frame.
    if (!m_oneShot && m_startFrame == m_endFrame && m_currentFrame == m_startFrame) {
        return;
    }
    if (m_animTimer.Elapsed() < m_secondsPerFrame) {
        return;
    }
    if (m_currentFrame < m_endFrame) {
        ++m_currentFrame;
    } else if (m_oneShot) {
        StopAnimation();
        m_oneShot = false;
        m_hold = false;
    } else if (!m_hold) {
        m_currentFrame = m_startFrame;
    }
    m_animTimer.Reset();
}

plat::Matrix Sprite::FrameTextureMatrix() const {
    uint32_t column = 0;
    uint32_t row = 0;
    if (m_currentFrame < m_frames.size()) {
        column = m_frames[m_currentFrame].first;
        row = m_frames[m_currentFrame].second;
    }
    // Never divide by a zero grid: such a sheet is one frame.
    const float columns = static_cast<float>(std::max<uint32_t>(1, m_columns));
    const float rows = static_cast<float>(std::max<uint32_t>(1, m_rows));
    const plat::Matrix frame = plat::D3DXMatrixMultiply(
        plat::D3DXMatrixTranslation(static_cast<float>(column), static_cast<float>(row), 0.0f),
        plat::D3DXMatrixScaling(1.0f / columns, 1.0f / rows, 1.0f));
    if (m_repeatAcross <= 1) {
        return frame;
    }
    return plat::D3DXMatrixMultiply(plat::D3DXMatrixScaling(static_cast<float>(m_repeatAcross), 1.0f, 1.0f),
                                    frame);
}

void Sprite::Draw(Engine& engine) {
    Renderer* renderer = engine.m_display.renderer.get();
    if (renderer == nullptr || renderer->device == nullptr) {
        return;
    }
    plat::Device& device = *renderer->device;
    m_quad.name = FadeQuadName(m_fadeLevel);

    plat::Matrix callerWorld;
    bool restoreWorld = false;
    if (m_billboard) {
        plat::Vector3 up{0.0f, 1.0f, 0.0f};
        if (1.0f - m_facing.y <= 0.0001f) {
            up = {0.0f, 0.0f, -1.0f};
        }
        plat::Matrix world = plat::D3DXMatrixMultiply(
            plat::D3DXMatrixMultiply(plat::D3DXMatrixScaling(m_scale[0], m_scale[1], 1.0f),
                                     plat::D3DXMatrixLookAtLH({0.0f, 0.0f, 0.0f}, m_facing, up)),
            plat::D3DXMatrixTranslation(m_position.x, m_position.y, m_position.z));
        device.SetTransform(plat::kTsWorld, world);
    } else if (m_layFlat) {
        if (plat::Failed(device.GetTransform(plat::kTsWorld, callerWorld))) {
            LogLine("Failed to get world transform to rotate");
            return;
        }
        restoreWorld = true;
        device.SetTransform(plat::kTsWorld,
                            plat::D3DXMatrixMultiply(plat::D3DXMatrixRotationX(kHalfPi), callerWorld));
    }

    if (!renderer->textures.Bind(m_textureFile, m_textureCache)) {
        LogLine("Failed to set texture.");
        LogLine("Setting default texture. ");
        renderer->textures.Bind(engine.m_display.defaultTexture.file);
    } else {
        device.SetTransform(plat::kTsTexture0, FrameTextureMatrix());
        if (!renderer->geometry.Draw(m_quad.name, m_quadCache)) {
            LogLine("Failed to draw geometry.");
        }
    }
    if (restoreWorld) {
        device.SetTransform(plat::kTsWorld, callerWorld);
    }
}
