#include "scenepictures.h"

#include "style.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace gen {

using namespace style;

namespace {

// Glyphs advance by one fixed step, so the face is monospaced.
const std::string kGlyphFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
constexpr int kGlyphPointSize = 24;

// A convex polygon, corners clockwise on screen (y down): the largest distance outside any edge.
Shape ConvexPolygon(std::vector<std::pair<float, float>> corners) {
    return [corners](float x, float y) {
        float d = -1e9f;
        for (size_t i = 0; i < corners.size(); ++i) {
            auto [ax, ay] = corners[i];
            auto [bx, by] = corners[(i + 1) % corners.size()];
            float ex = bx - ax;
            float ey = by - ay;
            float len = std::hypot(ex, ey);
            // Outward normal of a clockwise outline with y down.
            float nx = ey / len;
            float ny = -ex / len;
            d = std::max(d, (x - ax) * nx + (y - ay) * ny);
        }
        return d;
    };
}

Shape Union(Shape a, Shape b) {
    return [a, b](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Shape Grow(Shape s, float by) {
    return [s, by](float x, float y) { return s(x, y) - by; };
}

} // namespace

std::function<bool(Frame&)> GlyphSheet(GlyphStyle style) {
    return [style](Frame& f) {
        const int code = 33 + f.index;
        if (code > 126) {
            return true; // code 127 and the space stay blank
        }
        const std::string text(1, static_cast<char>(code));
        const float cx = f.cell.x + f.cell.w * 0.5f;
        const float cy = f.cell.y + f.cell.h * 0.5f;
        // A dark or light rim on every side, so that the glyph reads on any ground.
        const float offsets[8][2] = {{-1.5f, 0.0f},  {1.5f, 0.0f},  {0.0f, -1.5f}, {0.0f, 1.5f},
                                     {-1.0f, -1.0f}, {1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}};
        for (const auto& o : offsets) {
            if (!f.canvas.Text(text, kGlyphFont, kGlyphPointSize, cx + o[0], cy + o[1], Solid(style.edge))) {
                return false;
            }
        }
        return f.canvas.Text(text, kGlyphFont, kGlyphPointSize, cx, cy, Solid(style.fill));
    };
}

bool WorldArrow(Frame& f) {
    Canvas& c = f.canvas;
    const float x = f.cell.x;
    const float y = f.cell.y;
    const float w = f.cell.w;
    const float h = f.cell.h;
    Shape shaft = RoundRect({x + w * 0.375f, y + h * 0.08f, w * 0.25f, h * 0.46f}, 2.0f);
    Shape head = ConvexPolygon(
        {{x + w * 0.14f, y + h * 0.48f}, {x + w * 0.86f, y + h * 0.48f}, {x + w * 0.5f, y + h * 0.92f}});
    Shape arrow = Union(shaft, head);
    c.Glow(arrow, WithAlpha(kGoldLight, 0.6f), 5.0f);
    c.Draw(Grow(arrow, 1.5f), Solid(kInk));
    c.Draw(arrow, VerticalGradient(f.cell, kGoldLight, kGold));
    c.Draw(Outline(Grow(arrow, -3.0f), 1.0f), Solid(WithAlpha(kParchment, 0.7f)));
    return true;
}

bool WorldSelectGlow(Frame& f) {
    const Rect cell = f.cell;
    const float phase = static_cast<float>(f.index) / static_cast<float>(kSelectGlowFrames);
    f.canvas.Fill([cell, phase](float px, float py) {
        float u = (px - (cell.x + cell.w * 0.5f)) / (cell.w * 0.5f);
        float v = (py - cell.y) / cell.h; // 0 at the top, 1 at the foot
        float across = std::max(0.0f, 1.0f - u * u);
        float rise = std::pow(v, 1.5f);
        float shimmer = 0.75f + 0.25f * std::sin(6.2831853f * (v * 3.0f + phase));
        float a = across * across * rise * shimmer;
        return WithAlpha(Mix(kGold, kGoldLight, across), std::min(1.0f, a * 0.95f));
    });
    return true;
}

bool CameraIcon(Frame& f) {
    Canvas& c = f.canvas;
    Rect body{f.cell.x + 3.0f, f.cell.y + 9.0f, f.cell.w - 6.0f, f.cell.h - 14.0f};
    Panel(c, body, 4.0f, kSteel, kSlate);
    float cx = body.x + body.w * 0.5f;
    float cy = body.y + body.h * 0.5f;
    c.Draw(Circle(cx, cy, 6.0f), Solid(kInk));
    c.Draw(Circle(cx, cy, 4.0f), RadialGradient(cx - 1.0f, cy - 1.0f, 4.0f, kGoldLight, kSlate));
    return true;
}

} // namespace gen
