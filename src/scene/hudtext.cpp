#include "scene/hudtext.h"

#include "scene/krcamera.h"

#include <cstddef>

namespace {

TextCameraSource g_textCameraSource = nullptr;

} // namespace

void SetTextCameraSource(TextCameraSource source) {
    g_textCameraSource = source;
}

TextCameras CamerasForText(Engine& engine) {
    return g_textCameraSource != nullptr ? g_textCameraSource(engine) : TextCameras{};
}

HudTextBlock::HudTextBlock(const std::string& text, float size, const std::string& fontXmlFile,
                           int32_t worldFlag)
    : m_size(size), m_font(fontXmlFile), m_worldFlag(worldFlag) {
    SetText(text, {0.0f, 0.0f, 0.0f});
}

uint32_t HudTextBlock::GlyphFrame(char c, uint32_t frameCount) {
    if (c == ' ') {
        return frameCount == 0 ? 0 : frameCount - 1;
    }
    // Wraps to a large index for codes outside 33 to 127, which the sprite shows as its first frame.
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)) - 33);
}

void HudTextBlock::SetText(const std::string& text, const plat::Vector3& origin) {
    // Lines are set anew every frame: a glyph already made is the font but for what is set below, so
    // only that is set again.
    if (m_glyphs.size() > text.size()) {
        m_glyphs.erase(m_glyphs.begin() + static_cast<std::ptrdiff_t>(text.size()), m_glyphs.end());
    }
    m_glyphs.reserve(text.size());
    m_origin = origin;
    m_text = text;
    const auto frameCount = static_cast<uint32_t>(m_font.m_sprite.m_frames.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (i >= m_glyphs.size()) {
            m_glyphs.emplace_back(m_font);
        }
        KRFont& glyph = m_glyphs[i];
        glyph.m_boundingBox.m_scale[0] = 1.0f;
        glyph.m_boundingBox.m_scale[1] = 1.0f;
        glyph.m_sprite.m_currentFrame = GlyphFrame(text[i], frameCount);
        glyph.m_boundingBox.m_position = {static_cast<float>(i), origin.y, origin.z};
    }
}

void HudTextBlock::DrawText(Engine& engine) {
    DrawText(engine, CamerasForText(engine));
}

void HudTextBlock::DrawText(Engine& engine, const TextCameras& cameras) {
    const float advance = m_size / 1.9f;
    for (size_t i = 0; i < m_glyphs.size(); ++i) {
        KRFont& glyph = m_glyphs[i];
        plat::Vector3 position = m_origin;
        glyph.m_boundingBox.m_scale[0] = m_size;
        glyph.m_boundingBox.m_scale[1] = m_size;
        position.x += static_cast<float>(i) * advance;
        if (m_worldFlag == 0) {
            if (cameras.hud != nullptr) {
                cameras.hud->ApplyToDevice(engine);
                position.x += cameras.hud->Eye().x;
                position.z += cameras.hud->Eye().z;
            }
            glyph.m_rotationMatrix = MatrixSwapYZ();
        }
        glyph.m_boundingBox.m_position = position;
        glyph.Render(engine);
        if (cameras.active != nullptr) {
            cameras.active->ApplyToDevice(engine);
        }
    }
}
