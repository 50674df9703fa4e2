// A small RGBA painter for the content generator: shapes as signed distances, so that edges are
// anti-aliased the same way on every run, gradients, and text through SDL_ttf.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace gen {

struct Rgba {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// 0xRRGGBB with an opacity.
Rgba Hex(uint32_t rgb, float alpha = 1.0f);
Rgba Mix(const Rgba& a, const Rgba& b, float t);
Rgba WithAlpha(Rgba c, float alpha);

struct Rect {
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
};

// Negative inside, positive outside, in pixels.
using Shape = std::function<float(float x, float y)>;
using Paint = std::function<Rgba(float x, float y)>;

Shape RoundRect(Rect r, float radius);
Shape Circle(float cx, float cy, float radius);
using Points = std::vector<std::pair<float, float>>;
// Negative inside a closed polygon (even-odd), the distance to its nearest edge outside.
Shape Polygon(Points points);
// A stroke from a to b of the given width, with round ends.
Shape Segment(float ax, float ay, float bx, float by, float width);
// A band of the given width centred on a shape's outline.
Shape Outline(Shape shape, float width);

Paint Solid(Rgba c);
// From top to bottom of the rectangle.
Paint VerticalGradient(Rect r, Rgba top, Rgba bottom);
Paint RadialGradient(float cx, float cy, float radius, Rgba centre, Rgba edge);

class Canvas {
  public:
    Canvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Drawing stays inside the clip: one frame of a sheet never bleeds into its neighbour.
    void SetClip(int x, int y, int w, int h);
    void ResetClip();

    void Fill(const Paint& paint);
    void Draw(const Shape& shape, const Paint& paint);
    // A soft halo outside a shape, fading to nothing over `spread` pixels.
    void Glow(const Shape& shape, Rgba colour, float spread);
    // Text centred on (cx, cy); false when the font cannot be used.
    bool Text(const std::string& text, const std::string& fontFile, int pointSize, float cx, float cy,
              const Paint& paint);

    // 8-bit RGBA, row by row from the top.
    std::vector<uint8_t> Pixels() const;

  private:
    void Blend(int x, int y, Rgba c, float coverage);

    int m_width;
    int m_height;
    int m_clipX0 = 0;
    int m_clipY0 = 0;
    int m_clipX1;
    int m_clipY1;
    std::vector<Rgba> m_pixels;
};

} // namespace gen
