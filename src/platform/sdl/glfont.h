// D3DX text fonts on SDL2_ttf. The faces the game names are stood in for by free fonts shipped in
// "../Assets/Fonts".
#pragma once

#include "platform/gfx.h"
#include "platform/sdl/gldevice.h"

#include <SDL_ttf.h>

#include <memory>
#include <string>
#include <vector>

namespace plat {

// The font file standing in for a face name.
std::string FontFileForFace(const std::string& faceName);

class GlFont : public Font {
  public:
    static Result Create(std::shared_ptr<GlShared> shared, const FontDesc& desc, std::unique_ptr<Font>& out);
    ~GlFont() override;

    int32_t DrawTextA(const std::string& text, int32_t count, Rect& rect, uint32_t format,
                      uint32_t colour) override;
    Result OnLostDevice() override;
    Result OnResetDevice() override;

    // Cell height in pixels, and the horizontal stretch that gives the asked average width.
    int LineHeight() const { return m_lineHeight; }
    float ScaleX() const { return m_scaleX; }

  private:
    GlFont(std::shared_ptr<GlShared> shared, TTF_Font* font);
    int Measure(const std::string& line) const;
    std::vector<std::string> Lines(const std::string& text, uint32_t format, int width) const;

    std::shared_ptr<GlShared> m_shared;
    TTF_Font* m_font;
    GLuint m_texture = 0;
    int m_lineHeight = 0;
    float m_scaleX = 1.0f;
    bool m_lost = false;
};

} // namespace plat
