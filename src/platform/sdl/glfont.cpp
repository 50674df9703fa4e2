#include "platform/sdl/glfont.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace plat {

namespace {

constexpr int kDefaultHeight = 12;

} // namespace

// DejaVu Serif stands in for Palatino Linotype, Liberation Serif (metric-compatible) for Times New Roman;
// any other face falls back to the first, as the Windows font mapper substitutes.
std::string FontFileForFace(const std::string& faceName) {
    if (faceName == "Times New Roman") {
        return "../Assets/Fonts/LiberationSerif-Regular.ttf";
    }
    return "../Assets/Fonts/DejaVuSerif.ttf";
}

Result GlFont::Create(std::shared_ptr<GlShared> shared, const FontDesc& desc, std::unique_ptr<Font>& out) {
    out.reset();
    if (shared->device == nullptr) {
        return kErrInvalidCall;
    }
    if (TTF_WasInit() == 0 && TTF_Init() != 0) {
        return kErrNotAvailable;
    }
    // A positive height is the cell (ascent plus descent); a negative one the character height.
    const int cell = desc.height > 0 ? desc.height : (desc.height < 0 ? -desc.height : kDefaultHeight);
    const std::string file = FontFileForFace(desc.faceName);
    TTF_Font* font = TTF_OpenFont(file.c_str(), cell);
    if (font == nullptr) {
        return kErrNotAvailable;
    }
    if (desc.height > 0 && TTF_FontHeight(font) > 0 && TTF_FontHeight(font) != cell) {
        const int points = std::max(
            1, static_cast<int>(std::lround(static_cast<double>(cell) * cell / TTF_FontHeight(font))));
        TTF_SetFontSize(font, points);
    }
    int style = TTF_STYLE_NORMAL;
    if (desc.weight >= 600) {
        style |= TTF_STYLE_BOLD;
    }
    if (desc.italic) {
        style |= TTF_STYLE_ITALIC;
    }
    TTF_SetFontStyle(font, style);
    std::unique_ptr<GlFont> created(new GlFont(std::move(shared), font));
    created->m_lineHeight = TTF_FontHeight(font);
    int advance = 0;
    if (desc.width > 0 && TTF_GlyphMetrics32(font, 'x', nullptr, nullptr, nullptr, nullptr, &advance) == 0 &&
        advance > 0) {
        created->m_scaleX = static_cast<float>(desc.width) / static_cast<float>(advance);
    }
    ++created->m_shared->unresettable;
    out = std::move(created);
    return kOk;
}

GlFont::GlFont(std::shared_ptr<GlShared> shared, TTF_Font* font)
    : m_shared(std::move(shared)), m_font(font) {}

GlFont::~GlFont() {
    if (!m_lost) {
        --m_shared->unresettable;
    }
    if (m_texture != 0 && m_shared->device != nullptr) {
        glDeleteTextures(1, &m_texture);
    }
    if (TTF_WasInit() != 0) {
        TTF_CloseFont(m_font);
    }
}

Result GlFont::OnLostDevice() {
    if (!m_lost) {
        m_lost = true;
        --m_shared->unresettable;
        if (m_texture != 0 && m_shared->device != nullptr) {
            glDeleteTextures(1, &m_texture);
        }
        m_texture = 0;
    }
    return kOk;
}

Result GlFont::OnResetDevice() {
    if (m_lost) {
        m_lost = false;
        ++m_shared->unresettable;
    }
    return kOk;
}

int GlFont::Measure(const std::string& line) const {
    int width = 0;
    if (line.empty() || TTF_SizeUTF8(m_font, line.c_str(), &width, nullptr) != 0) {
        return 0;
    }
    return static_cast<int>(std::lround(width * m_scaleX));
}

// Lines at the line breaks, and with word breaking also where a line would pass the width; a word
// longer than the width keeps a line of its own.
std::vector<std::string> GlFont::Lines(const std::string& text, uint32_t format, int width) const {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if ((format & kDtWordBreak) == 0 || (format & kDtSingleLine) != 0 || Measure(line) <= width) {
            lines.push_back(line);
        } else {
            std::string current;
            size_t pos = 0;
            while (pos < line.size()) {
                size_t next = line.find(' ', pos);
                std::string word =
                    line.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
                std::string candidate = current.empty() ? word : current + " " + word;
                if (!current.empty() && Measure(candidate) > width) {
                    lines.push_back(current);
                    current = word;
                } else {
                    current = candidate;
                }
                pos = next == std::string::npos ? line.size() : next + 1;
            }
            lines.push_back(current);
        }
        if (end == std::string::npos || (format & kDtSingleLine) != 0) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

int32_t GlFont::DrawTextA(const std::string& text, int32_t count, Rect& rect, uint32_t format,
                          uint32_t colour) {
    GlDevice* device = m_shared->device;
    if (device == nullptr || m_lost) {
        return 0;
    }
    const std::string shown =
        count < 0 ? text : text.substr(0, std::min(text.size(), static_cast<size_t>(count)));
    const std::vector<std::string> lines = Lines(shown, format, rect.right - rect.left);
    const int32_t textHeight = static_cast<int32_t>(lines.size()) * m_lineHeight;
    if ((format & kDtCalcRect) != 0) {
        int widest = 0;
        for (const std::string& line : lines) {
            widest = std::max(widest, Measure(line));
        }
        rect.right = rect.left + widest;
        rect.bottom = rect.top + textHeight;
        return textHeight;
    }
    const Rect* clip = (format & kDtNoClip) != 0 ? nullptr : &rect;
    int32_t top = rect.top;
    for (const std::string& line : lines) {
        SDL_Surface* rendered =
            line.empty() ? nullptr
                         : TTF_RenderUTF8_Blended(m_font, line.c_str(), SDL_Color{255, 255, 255, 255});
        SDL_Surface* rgba =
            rendered != nullptr ? SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
        if (rendered != nullptr) {
            SDL_FreeSurface(rendered);
        }
        if (rgba != nullptr) {
            if (m_texture == 0) {
                glGenTextures(1, &m_texture);
            }
            // One layer of an array texture: the device's shader samples arrays.
            glBindTexture(GL_TEXTURE_2D_ARRAY, m_texture);
            glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAX_LEVEL, 0);
            glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
            glTexImage3D(GL_TEXTURE_2D_ARRAY, 0, GL_RGBA8, rgba->w, rgba->h, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         rgba->pixels);
            glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
            const float left = static_cast<float>(rect.left);
            const float width = static_cast<float>(rgba->w) * m_scaleX;
            device->DrawOverlay(m_texture, left, static_cast<float>(top), left + width,
                                static_cast<float>(top + rgba->h), colour, clip);
            SDL_FreeSurface(rgba);
        }
        top += m_lineHeight;
    }
    return textHeight;
}

} // namespace plat
