#include "canvas.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gen {

namespace {
float Clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}
} // namespace

Rgba Hex(uint32_t rgb, float alpha) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
}

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
    t = Clamp01(t);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba WithAlpha(Rgba c, float alpha) {
    c.a = alpha;
    return c;
}

Shape RoundRect(Rect r, float radius) {
    return [r, radius](float x, float y) {
        float hx = r.w * 0.5f - radius;
        float hy = r.h * 0.5f - radius;
        float dx = std::fabs(x - (r.x + r.w * 0.5f)) - hx;
        float dy = std::fabs(y - (r.y + r.h * 0.5f)) - hy;
        float ox = std::max(dx, 0.0f);
        float oy = std::max(dy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(dx, dy), 0.0f) - radius;
    };
}

Shape Circle(float cx, float cy, float radius) {
    return [cx, cy, radius](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Shape Outline(Shape shape, float width) {
    return [shape, width](float x, float y) { return std::fabs(shape(x, y)) - width * 0.5f; };
}

Paint Solid(Rgba c) {
    return [c](float, float) { return c; };
}

Paint VerticalGradient(Rect r, Rgba top, Rgba bottom) {
    return [r, top, bottom](float, float y) { return Mix(top, bottom, r.h > 0.0f ? (y - r.y) / r.h : 0.0f); };
}

Paint RadialGradient(float cx, float cy, float radius, Rgba centre, Rgba edge) {
    return [=](float x, float y) { return Mix(centre, edge, std::hypot(x - cx, y - cy) / radius); };
}

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_clipX1(width), m_clipY1(height),
      m_pixels(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

void Canvas::SetClip(int x, int y, int w, int h) {
    m_clipX0 = std::max(0, x);
    m_clipY0 = std::max(0, y);
    m_clipX1 = std::min(m_width, x + w);
    m_clipY1 = std::min(m_height, y + h);
}

void Canvas::ResetClip() {
    SetClip(0, 0, m_width, m_height);
}

void Canvas::Blend(int x, int y, Rgba c, float coverage) {
    float sa = Clamp01(c.a) * Clamp01(coverage);
    if (sa <= 0.0f) {
        return;
    }
    Rgba& d = m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
    float oa = sa + d.a * (1.0f - sa);
    if (oa <= 0.0f) {
        d = {};
        return;
    }
    float keep = d.a * (1.0f - sa);
    d.r = (c.r * sa + d.r * keep) / oa;
    d.g = (c.g * sa + d.g * keep) / oa;
    d.b = (c.b * sa + d.b * keep) / oa;
    d.a = oa;
}

void Canvas::Fill(const Paint& paint) {
    for (int y = m_clipY0; y < m_clipY1; ++y) {
        for (int x = m_clipX0; x < m_clipX1; ++x) {
            Blend(x, y, paint(x + 0.5f, y + 0.5f), 1.0f);
        }
    }
}

void Canvas::Draw(const Shape& shape, const Paint& paint) {
    for (int y = m_clipY0; y < m_clipY1; ++y) {
        for (int x = m_clipX0; x < m_clipX1; ++x) {
            float px = x + 0.5f;
            float py = y + 0.5f;
            float coverage = Clamp01(0.5f - shape(px, py));
            if (coverage > 0.0f) {
                Blend(x, y, paint(px, py), coverage);
            }
        }
    }
}

void Canvas::Glow(const Shape& shape, Rgba colour, float spread) {
    for (int y = m_clipY0; y < m_clipY1; ++y) {
        for (int x = m_clipX0; x < m_clipX1; ++x) {
            float d = shape(x + 0.5f, y + 0.5f);
            if (d > 0.0f && d < spread) {
                float t = 1.0f - d / spread;
                Blend(x, y, colour, t * t);
            }
        }
    }
}

bool Canvas::Text(const std::string& text, const std::string& fontFile, int pointSize, float cx, float cy,
                  const Paint& paint) {
    TTF_Font* font = TTF_OpenFont(fontFile.c_str(), pointSize);
    if (font == nullptr) {
        std::fprintf(stderr, "cannot open font %s: %s\n", fontFile.c_str(), TTF_GetError());
        return false;
    }
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
    TTF_CloseFont(font);
    if (rendered == nullptr) {
        std::fprintf(stderr, "cannot draw \"%s\": %s\n", text.c_str(), TTF_GetError());
        return false;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(rendered);
    if (rgba == nullptr) {
        return false;
    }
    int left = static_cast<int>(std::lround(cx - rgba->w * 0.5f));
    int top = static_cast<int>(std::lround(cy - rgba->h * 0.5f));
    const auto* bytes = static_cast<const uint8_t*>(rgba->pixels);
    for (int sy = 0; sy < rgba->h; ++sy) {
        int y = top + sy;
        if (y < m_clipY0 || y >= m_clipY1) {
            continue;
        }
        for (int sx = 0; sx < rgba->w; ++sx) {
            int x = left + sx;
            if (x < m_clipX0 || x >= m_clipX1) {
                continue;
            }
            float coverage = bytes[sy * rgba->pitch + sx * 4 + 3] / 255.0f;
            if (coverage > 0.0f) {
                Blend(x, y, paint(x + 0.5f, y + 0.5f), coverage);
            }
        }
    }
    SDL_FreeSurface(rgba);
    return true;
}

std::vector<uint8_t> Canvas::Pixels() const {
    std::vector<uint8_t> out;
    out.reserve(m_pixels.size() * 4);
    for (const Rgba& p : m_pixels) {
        // Fully clear pixels carry no colour, so that a sheet compresses and compares cleanly.
        bool clear = std::lround(Clamp01(p.a) * 255.0f) == 0;
        for (float v : {p.r, p.g, p.b, p.a}) {
            out.push_back(clear ? 0 : static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)));
        }
    }
    return out;
}

// Negative inside a closed polygon (even-odd), the distance to its nearest edge outside.
Shape Polygon(Points points) {
    return [points](float x, float y) {
        float best = 1e9f;
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            auto [ax, ay] = points[j];
            auto [bx, by] = points[i];
            float ex = bx - ax;
            float ey = by - ay;
            float t = std::clamp(((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
            best = std::min(best, std::hypot(x - (ax + t * ex), y - (ay + t * ey)));
            if ((ay > y) != (by > y) && x < ax + (y - ay) * ex / ey) {
                inside = !inside;
            }
        }
        return inside ? -best : best;
    };
}

// A stroke from a to b of the given width, with round ends.
Shape Segment(float ax, float ay, float bx, float by, float width) {
    return [=](float x, float y) {
        float ex = bx - ax;
        float ey = by - ay;
        float len2 = ex * ex + ey * ey;
        float t = len2 > 0.0f ? std::clamp(((x - ax) * ex + (y - ay) * ey) / len2, 0.0f, 1.0f) : 0.0f;
        return std::hypot(x - (ax + t * ex), y - (ay + t * ey)) - width * 0.5f;
    };
}

} // namespace gen
