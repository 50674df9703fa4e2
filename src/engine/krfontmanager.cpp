#include "engine/krfontmanager.h"

#include "engine/krlog.h"

namespace {

plat::FontDesc Face(int32_t height, uint32_t width, uint32_t weight, const std::string& face) {
    plat::FontDesc desc;
    desc.height = height;
    desc.width = width;
    desc.weight = weight;
    desc.mipLevels = 0;
    desc.italic = false;
    desc.charSet = 1;         // DEFAULT_CHARSET
    desc.outputPrecision = 4; // OUT_TT_PRECIS
    desc.quality = 0;
    desc.pitchAndFamily = 0;
    desc.faceName = face;
    return desc;
}

} // namespace

void FontManager::CreateFonts(uint32_t backBufferWidth, uint32_t backBufferHeight, uint32_t margin) {
    m_backBufferWidth = backBufferWidth;
    m_backBufferHeight = backBufferHeight;
    m_margin = margin;
    const uint32_t mainWidth = backBufferWidth > 2 * margin ? backBufferWidth - 2 * margin : 0;
    const plat::FontDesc faces[] = {
        Face(static_cast<int32_t>(backBufferHeight / 45), 0, 100, "Palatino Linotype"),
        Face(static_cast<int32_t>(backBufferHeight / 30), mainWidth / 120, 500, "Times New Roman"),
    };
    const char* names[] = {"Debug", "Times New Roman"};
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<plat::Font> font;
        if (!plat::Failed(plat::D3DXCreateFontIndirectW(m_device, faces[i], font))) {
            m_fonts[names[i]] = std::move(font);
        }
    }
}

void FontManager::ReleaseFonts() {
    m_fonts.clear();
}

plat::Font* FontManager::Find(const std::string& name) const {
    auto it = m_fonts.find(name);
    return it == m_fonts.end() ? nullptr : it->second.get();
}

void FontManager::DrawDebugText(const std::string& text, uint32_t colour, float x, float y) {
    const float mainWidth = static_cast<float>(m_backBufferWidth) - 2.0f * static_cast<float>(m_margin);
    const float margin = static_cast<float>(m_margin);
    const float height = static_cast<float>(m_backBufferHeight);
    plat::Rect rect;
    rect.left = static_cast<int32_t>(margin + x / 800.0f * mainWidth);
    rect.top = static_cast<int32_t>(y / 600.0f * height);
    rect.right = static_cast<int32_t>(0.25f * mainWidth - margin);
    rect.bottom = static_cast<int32_t>(0.0583333f * height);
    plat::Font* font = Find("Debug");
    if (font == nullptr) {
        LogLine("Debug font not found! Text not printed!");
        return;
    }
    font->DrawTextA(text, -1, rect, plat::kDtCalcRect, colour);
    font->DrawTextA(text, -1, rect, plat::kDtWordBreak, colour);
}

void FontManager::OnLostDevice() {
    for (auto& [name, font] : m_fonts) {
        font->OnLostDevice();
    }
}

void FontManager::OnResetDevice() {
    for (auto& [name, font] : m_fonts) {
        font->OnResetDevice();
    }
}
