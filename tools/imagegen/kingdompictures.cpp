#include "kingdompictures.h"

#include "style.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace gen {

using namespace style;

namespace {

// Everything below is drawn in a 64 x 64 design square scaled into the frame.
struct Pen {
    Canvas& c;
    Rect cell;

    float X(float u) const { return cell.x + u * cell.w / 64.0f; }
    float Y(float v) const { return cell.y + v * cell.h / 64.0f; }
    float S(float d) const { return d * cell.w / 64.0f; }
    Rect R(float u, float v, float w, float h) const { return {X(u), Y(v), S(w), S(h) * cell.h / cell.w}; }
    Points P(Points unit) const {
        for (auto& [x, y] : unit) {
            x = X(x);
            y = Y(y);
        }
        return unit;
    }
    void Box(float u, float v, float w, float h, float radius, Rgba colour) const {
        c.Draw(RoundRect(R(u, v, w, h), S(radius)), Solid(colour));
    }
    void Shade(float u, float v, float w, float h, float radius, Rgba top, Rgba bottom) const {
        Rect r = R(u, v, w, h);
        c.Draw(RoundRect(r, S(radius)), VerticalGradient(r, top, bottom));
    }
    void Poly(Points unit, Rgba colour) const { c.Draw(Polygon(P(std::move(unit))), Solid(colour)); }
    void Edge(Points unit, float width, Rgba colour) const {
        c.Draw(Outline(Polygon(P(std::move(unit))), S(width)), Solid(colour));
    }
    void Line(float au, float av, float bu, float bv, float width, Rgba colour) const {
        c.Draw(Segment(X(au), Y(av), X(bu), Y(bv), S(width)), Solid(colour));
    }
    void Dot(float u, float v, float radius, Rgba colour) const {
        c.Draw(Circle(X(u), Y(v), S(radius)), Solid(colour));
    }
};

// Repeatable scatter: the same picture on every run.
float Hash(uint32_t n) {
    n = (n << 13U) ^ n;
    n = n * (n * n * 15731U + 789221U) + 1376312589U;
    return static_cast<float>(n & 0x7fffffffU) / 2147483647.0f;
}

// ---- Ground tiles (seen from above, filling the cell) --------------------------------------------

const Rgba kGrassLight = Hex(0x5d8a3a);
const Rgba kGrassDark = Hex(0x3b5f26);
const Rgba kStone = Hex(0x9a968c);
const Rgba kStoneDark = Hex(0x5c5a56);
const Rgba kEarth = Hex(0x8a6a42);

// A thin dark seam round every cell, so that the grid reads.
void Seam(const Pen& p) {
    p.c.Draw(Outline(RoundRect(p.R(0.5f, 0.5f, 63.0f, 63.0f), 0.0f), p.S(1.0f)),
             Solid(WithAlpha(kInk, 0.55f)));
}

void Grass(const Pen& p, uint32_t seed) {
    p.c.Draw(RoundRect(p.cell, 0.0f), VerticalGradient(p.cell, kGrassLight, kGrassDark));
    for (uint32_t i = 0; i < 28; ++i) {
        float u = 4.0f + Hash(seed + i * 3U) * 56.0f;
        float v = 4.0f + Hash(seed + i * 3U + 1U) * 56.0f;
        float lean = (Hash(seed + i * 3U + 2U) - 0.5f) * 3.0f;
        p.Line(u, v, u + lean, v - 4.0f, 1.2f, WithAlpha(Hex(0x2c4a1c), 0.8f));
        p.Line(u + 1.5f, v, u + 1.5f + lean, v - 3.0f, 1.0f, WithAlpha(Hex(0x8ab85a), 0.7f));
    }
}

bool TileEmpty(Frame& f) {
    Pen p{f.canvas, f.cell};
    Grass(p, 7U);
    Seam(p);
    return true;
}

bool TileNature(Frame& f) {
    Pen p{f.canvas, f.cell};
    Grass(p, 31U);
    const float trees[][3] = {{18, 20, 11}, {44, 16, 9}, {40, 44, 12}, {14, 48, 7}};
    for (const auto& t : trees) {
        p.Dot(t[0] + 2.0f, t[1] + 2.0f, t[2], WithAlpha(kInk, 0.35f));
        p.Dot(t[0], t[1], t[2], Hex(0x2f6a2a));
        p.Dot(t[0] - t[2] * 0.3f, t[1] - t[2] * 0.3f, t[2] * 0.5f, Hex(0x4f9a3e));
    }
    for (const auto& flower : {std::pair{28.0f, 34.0f}, {54.0f, 30.0f}, {26.0f, 56.0f}}) {
        p.Dot(flower.first, flower.second, 2.0f, Hex(0xf0d040));
    }
    Seam(p);
    return true;
}

bool TilePath(Frame& f) {
    Pen p{f.canvas, f.cell};
    p.c.Draw(RoundRect(p.cell, 0.0f), Solid(Hex(0x6e5434)));
    // Cobbles in staggered rows.
    for (int row = 0; row < 5; ++row) {
        float offset = row % 2 == 0 ? 0.0f : 6.5f;
        for (int col = -1; col < 5; ++col) {
            float u = 1.5f + offset + static_cast<float>(col) * 13.0f;
            float v = 1.5f + static_cast<float>(row) * 12.6f;
            float tone = Hash(static_cast<uint32_t>(row * 11 + col + 40)) * 0.35f;
            Rgba top = Mix(Hex(0xd8bf8a), Hex(0xb89b6a), tone);
            p.Shade(u, v, 11.5f, 11.0f, 3.5f, top, Mix(top, Hex(0x7a5f3c), 0.45f));
        }
    }
    Seam(p);
    return true;
}

// The shared foundation of the building tiles: grey flagstones inside a kerb.
void Flagstones(const Pen& p, Rgba tint) {
    p.c.Draw(RoundRect(p.cell, 0.0f), Solid(kStoneDark));
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float tone = Hash(static_cast<uint32_t>(row * 4 + col + 90)) * 0.25f;
            Rgba top = Mix(Mix(kStone, tint, 0.25f), Hex(0xc8c4b8), tone);
            p.Shade(2.5f + col * 15.0f, 2.5f + row * 15.0f, 14.0f, 14.0f, 2.0f, top,
                    Mix(top, kStoneDark, 0.3f));
        }
    }
}

bool BuildingBaseSheet(Frame& f) {
    Pen p{f.canvas, f.cell};
    if (f.index == 0) {
        Flagstones(p, kStone);
    } else if (f.index == 1) {
        // Capital: gold-trimmed plaza with a crown.
        Flagstones(p, kGoldLight);
        p.c.Draw(Outline(RoundRect(p.R(4, 4, 56, 56), p.S(4)), p.S(3.0f)), Solid(kGold));
        p.Poly({{18, 42}, {18, 24}, {25, 32}, {32, 20}, {39, 32}, {46, 24}, {46, 42}}, kGold);
        p.Edge({{18, 42}, {18, 24}, {25, 32}, {32, 20}, {39, 32}, {46, 24}, {46, 42}}, 1.2f, Hex(0x6a4a14));
    } else {
        // Barracks: a packed sand drill yard with its white lines.
        p.c.Draw(RoundRect(p.cell, 0.0f), VerticalGradient(p.cell, Hex(0xc89a68), Hex(0xa8744a)));
        p.c.Draw(Outline(RoundRect(p.R(5, 5, 54, 54), p.S(2)), p.S(2.0f)), Solid(Hex(0xf0e8d8)));
        p.Line(12, 12, 52, 52, 3.0f, Hex(0x982424));
        p.Line(52, 12, 12, 52, 3.0f, Hex(0x982424));
        p.Dot(32, 32, 6, Hex(0xf0e8d8));
    }
    Seam(p);
    return true;
}

bool BuildingBase(Frame& f) {
    Pen p{f.canvas, f.cell};
    Flagstones(p, kStone);
    Seam(p);
    return true;
}

bool TileBlank(Frame& f) {
    Pen p{f.canvas, f.cell};
    p.c.Draw(RoundRect(p.cell, 0.0f), VerticalGradient(p.cell, kSlate, kNight));
    Seam(p);
    return true;
}

// A portal of violet light in dark ground; its ring turns and brightens over the frames.
constexpr int kGateFrames = 4;

bool TileGate(Frame& f) {
    Pen p{f.canvas, f.cell};
    p.c.Draw(RoundRect(p.cell, 0.0f), Solid(Hex(0x1e1428)));
    const float phase = static_cast<float>(f.index) / kGateFrames;
    const float cx = p.X(32.0f);
    const float cy = p.Y(32.0f);
    p.c.Draw(Circle(cx, cy, p.S(26.0f)), RadialGradient(cx, cy, p.S(26.0f), Hex(0xe0b8ff), Hex(0x3a1458)));
    p.c.Glow(Circle(cx, cy, p.S(22.0f)), WithAlpha(Hex(0xb060f0), 0.5f + 0.3f * phase), p.S(6.0f));
    for (int k = 0; k < 6; ++k) {
        float a = (static_cast<float>(k) / 6.0f + phase / 6.0f) * 6.2831853f;
        float b = a + 0.7f;
        p.Line(32.0f + 8.0f * std::cos(a), 32.0f + 8.0f * std::sin(a), 32.0f + 22.0f * std::cos(b),
               32.0f + 22.0f * std::sin(b), 2.5f, WithAlpha(Hex(0xf4e0ff), 0.85f));
    }
    p.Dot(32, 32, 5.0f + phase * 2.0f, Hex(0xffffff));
    p.c.Draw(Outline(Circle(cx, cy, p.S(26.0f)), p.S(2.5f)), Solid(Hex(0x7a3aa8)));
    Seam(p);
    return true;
}

bool TileCrack(Frame& f) {
    Pen p{f.canvas, f.cell};
    p.c.Draw(RoundRect(p.cell, 0.0f), VerticalGradient(p.cell, Hex(0x3a2a24), Hex(0x22160f)));
    const float fissures[][4] = {{4, 10, 22, 26},  {22, 26, 30, 40}, {30, 40, 26, 60}, {22, 26, 44, 20},
                                 {44, 20, 60, 28}, {30, 40, 48, 46}, {48, 46, 58, 58}, {10, 44, 26, 50}};
    for (const auto& s : fissures) {
        p.c.Glow(Segment(p.X(s[0]), p.Y(s[1]), p.X(s[2]), p.Y(s[3]), p.S(3.0f)),
                 WithAlpha(Hex(0xff6a20), 0.6f), p.S(5.0f));
    }
    for (const auto& s : fissures) {
        p.Line(s[0], s[1], s[2], s[3], 3.0f, Hex(0xff9a30));
        p.Line(s[0], s[1], s[2], s[3], 1.2f, Hex(0xffe8a0));
    }
    Seam(p);
    return true;
}

// ---- Buildings (standing, on a clear ground) -----------------------------------------------------

// A soft shadow where the building meets the ground.
void Footing(const Pen& p, float u, float w) {
    p.c.Draw(RoundRect(p.R(u, 57, w, 6), p.S(3)), Solid(WithAlpha(kInk, 0.35f)));
}

void Wall(const Pen& p, float u, float v, float w, float h, Rgba colour) {
    p.Shade(u, v, w, h, 1.0f, Mix(colour, Hex(0xffffff), 0.15f), Mix(colour, kInk, 0.35f));
    p.c.Draw(Outline(RoundRect(p.R(u, v, w, h), p.S(1.0f)), p.S(1.2f)), Solid(WithAlpha(kInk, 0.8f)));
}

void Roof(const Pen& p, Points unit, Rgba colour) {
    p.Poly(unit, colour);
    p.Edge(std::move(unit), 1.2f, WithAlpha(kInk, 0.8f));
}

void Window(const Pen& p, float u, float v, float w, float h, Rgba glow) {
    p.Box(u, v, w, h, 1.0f, glow);
    p.c.Draw(Outline(RoundRect(p.R(u, v, w, h), p.S(1.0f)), p.S(1.0f)), Solid(WithAlpha(kInk, 0.8f)));
}

void Battlements(const Pen& p, float u, float v, float w, int count, Rgba colour) {
    float step = w / static_cast<float>(count * 2 - 1);
    for (int k = 0; k < count; ++k) {
        Wall(p, u + step * 2.0f * k, v, step, 4.0f, colour);
    }
}

void Flag(const Pen& p, float u, float v, Rgba colour) {
    p.Line(u, v, u, v + 12.0f, 1.4f, kInk);
    p.Poly({{u + 0.5f, v}, {u + 10.0f, v + 3.0f}, {u + 0.5f, v + 6.0f}}, colour);
}

bool Capital(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 4, 56);
    const Rgba stone = Hex(0xb8b0a0);
    Wall(p, 6, 22, 12, 37, stone);
    Wall(p, 46, 22, 12, 37, stone);
    Wall(p, 16, 30, 32, 29, Mix(stone, kInk, 0.1f));
    Battlements(p, 16, 26, 32, 4, stone);
    Roof(p, {{4, 23}, {12, 8}, {20, 23}}, Hex(0x3a5aa8));
    Roof(p, {{44, 23}, {52, 8}, {60, 23}}, Hex(0x3a5aa8));
    Flag(p, 12, 0.0f, kGold);
    Flag(p, 52, 0.0f, kGold);
    // The gate.
    p.Shade(26, 42, 12, 17, 6.0f, Hex(0x3a2a1a), Hex(0x1a120a));
    p.Box(25, 40, 14, 2.5f, 1.0f, kGold);
    Window(p, 9, 30, 6, 7, Hex(0xf6dc92));
    Window(p, 49, 30, 6, 7, Hex(0xf6dc92));
    return true;
}

bool Barracks(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 2, 60);
    Wall(p, 4, 30, 56, 29, Hex(0x8a8478));
    Roof(p, {{1, 31}, {10, 16}, {54, 16}, {63, 31}}, Hex(0xa83228));
    for (float u : {9.0f, 21.0f, 37.0f, 49.0f}) {
        Window(p, u, 37, 6, 8, Hex(0xf0c060));
    }
    p.Shade(28, 42, 8, 17, 3.0f, Hex(0x4a3420), Hex(0x2a1a10));
    // Crossed swords on the banner over the door.
    p.Box(24, 4, 16, 16, 2.0f, Hex(0x982424));
    p.Line(27, 17, 37, 7, 2.0f, Hex(0xe8e8f0));
    p.Line(37, 17, 27, 7, 2.0f, Hex(0xe8e8f0));
    p.Line(26, 14, 30, 18, 1.5f, kGold);
    p.Line(38, 14, 34, 18, 1.5f, kGold);
    return true;
}

bool Farm(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 2, 60);
    // Wheat in front.
    for (int k = 0; k < 9; ++k) {
        float u = 4.0f + k * 7.0f;
        p.Line(u, 62, u + 1.0f, 50, 1.5f, Hex(0xb8902c));
        p.Dot(u + 1.0f, 50, 2.2f, Hex(0xf0c848));
    }
    // Silo and barn.
    p.Shade(46, 14, 14, 36, 6.0f, Hex(0xd8d0c0), Hex(0x9a9080));
    p.c.Draw(Circle(p.X(53), p.Y(15), p.S(7)), Solid(Hex(0x6a6a70)));
    Wall(p, 6, 28, 38, 22, Hex(0xb83a28));
    Roof(p, {{3, 29}, {12, 14}, {38, 14}, {47, 29}}, Hex(0x6a2a1c));
    p.Box(19, 34, 12, 16, 1.0f, Hex(0xf0e8d8));
    p.Line(20, 35, 30, 49, 1.5f, Hex(0xb83a28));
    p.Line(30, 35, 20, 49, 1.5f, Hex(0xb83a28));
    return true;
}

bool House(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 10, 44);
    Wall(p, 14, 32, 36, 27, Hex(0xe0d0a8));
    // Chimney, then the thatch over it.
    Wall(p, 38, 12, 6, 14, Hex(0x8a5a3a));
    Roof(p, {{8, 34}, {32, 12}, {56, 34}}, Hex(0xa8783a));
    for (int k = 0; k < 4; ++k) {
        p.Line(16.0f + k * 8.0f, 32, 28.0f + k * 3.0f, 18, 0.8f, WithAlpha(Hex(0x6a4a20), 0.7f));
    }
    Window(p, 18, 38, 8, 7, Hex(0xf6d060));
    p.Shade(32, 42, 9, 17, 2.0f, Hex(0x6a4424), Hex(0x3a2414));
    return true;
}

bool Smith(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 4, 56);
    // Smoke from the chimney.
    for (int k = 0; k < 3; ++k) {
        p.Dot(48.0f + k * 3.0f, 10.0f - k * 4.0f, 4.0f + k, WithAlpha(Hex(0x9a9aa0), 0.55f));
    }
    Wall(p, 44, 12, 8, 22, Hex(0x5c5a56));
    Wall(p, 6, 28, 52, 31, Hex(0x6a6660));
    Roof(p, {{3, 30}, {10, 20}, {54, 20}, {61, 30}}, Hex(0x3a3836));
    // The hearth's glow.
    p.c.Glow(RoundRect(p.R(12, 38, 18, 16), p.S(4)), WithAlpha(Hex(0xff7a20), 0.7f), p.S(5));
    p.Shade(12, 38, 18, 16, 4.0f, Hex(0xffd060), Hex(0xe04a10));
    // Anvil.
    p.Poly({{36, 44}, {56, 44}, {52, 49}, {40, 49}}, Hex(0x26262c));
    p.Box(43, 49, 6, 6, 0.5f, Hex(0x26262c));
    p.Box(40, 55, 12, 3, 0.5f, Hex(0x26262c));
    return true;
}

bool TechLab(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 6, 52);
    Wall(p, 8, 34, 48, 25, Hex(0x8a93a6));
    // A glass dome with a telescope.
    const float cx = p.X(32);
    const float cy = p.Y(34);
    p.c.Draw(Circle(cx, cy, p.S(20)),
             RadialGradient(p.X(26), p.Y(26), p.S(24), Hex(0xb8e8ff), Hex(0x2a6ab8)));
    p.c.Draw(Outline(Circle(cx, cy, p.S(20)), p.S(1.5f)), Solid(kInk));
    p.Box(8, 33, 48, 4, 1.0f, Hex(0x50658c));
    p.Line(34, 22, 50, 8, 4.0f, Hex(0x3a3a44));
    // Gear over the door.
    p.c.Draw(Circle(p.X(32), p.Y(48), p.S(7)), Solid(kGold));
    for (int k = 0; k < 8; ++k) {
        float a = k * 0.785398f;
        p.Line(32, 48, 32.0f + 9.0f * std::cos(a), 48.0f + 9.0f * std::sin(a), 2.5f, kGold);
    }
    p.Dot(32, 48, 3, Hex(0x2a3a5a));
    return true;
}

bool Spire(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 18, 28);
    Roof(p, {{22, 60}, {27, 18}, {37, 18}, {42, 60}}, Hex(0x5a3a8a));
    for (float v : {28.0f, 40.0f, 52.0f}) {
        Window(p, 30, v, 4, 6, Hex(0xe0b8ff));
    }
    Roof(p, {{24, 19}, {32, 8}, {40, 19}}, Hex(0x3a2458));
    // The crystal at the top.
    p.c.Glow(Polygon(p.P({{32, -2}, {37, 5}, {32, 12}, {27, 5}})), WithAlpha(Hex(0xc080ff), 0.7f), p.S(5));
    p.Poly({{32, -2}, {37, 5}, {32, 12}, {27, 5}}, Hex(0xe8c8ff));
    return true;
}

bool BioLab(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 4, 56);
    Wall(p, 6, 44, 52, 15, Hex(0x6a7a5a));
    const float cx = p.X(32);
    const float cy = p.Y(44);
    p.c.Draw(Circle(cx, cy, p.S(24)),
             RadialGradient(p.X(26), p.Y(30), p.S(28), Hex(0xc8f0a8), Hex(0x3a8a3a)));
    p.c.Draw(Outline(Circle(cx, cy, p.S(24)), p.S(1.5f)), Solid(kInk));
    p.Line(32, 20, 32, 44, 1.0f, WithAlpha(kInk, 0.5f));
    p.Line(14, 32, 50, 32, 1.0f, WithAlpha(kInk, 0.5f));
    // A leaf growing inside.
    p.Poly({{26, 42}, {30, 30}, {40, 26}, {38, 36}}, Hex(0x2c6a20));
    p.Line(26, 42, 38, 29, 1.2f, Hex(0x8ad05a));
    p.Box(6, 42, 52, 3, 1.0f, Hex(0x3a4a2a));
    return true;
}

bool Keep(Frame& f) {
    Pen p{f.canvas, f.cell};
    Footing(p, 6, 52);
    const Rgba obsidian = Hex(0x2a2436);
    Wall(p, 10, 18, 44, 41, obsidian);
    Battlements(p, 10, 13, 44, 5, obsidian);
    for (float u : {17.0f, 29.0f, 41.0f}) {
        p.c.Glow(RoundRect(p.R(u, 26, 6, 9), p.S(2)), WithAlpha(Hex(0xa850c8), 0.6f), p.S(3));
        Window(p, u, 26, 6, 9, Hex(0xd890ff));
    }
    p.Shade(26, 44, 12, 15, 6.0f, Hex(0x120e18), Hex(0x000000));
    return true;
}

// ---- Markers -------------------------------------------------------------------------------------

constexpr int kSelectFrames = 8;

// A gold ring whose bright arcs turn a step each frame.
bool RotatingSelect(Frame& f) {
    Pen p{f.canvas, f.cell};
    const float cx = p.X(32);
    const float cy = p.Y(32);
    p.c.Glow(Outline(Circle(cx, cy, p.S(24)), p.S(3)), WithAlpha(kGold, 0.6f), p.S(5));
    p.c.Draw(Outline(Circle(cx, cy, p.S(24)), p.S(3)), Solid(kGold));
    const float turn = static_cast<float>(f.index) / kSelectFrames * 1.5707963f;
    for (int k = 0; k < 4; ++k) {
        float a = turn + k * 1.5707963f;
        for (int s = 0; s < 6; ++s) {
            float a0 = a + s * 0.12f;
            float a1 = a0 + 0.12f;
            p.Line(32.0f + 24.0f * std::cos(a0), 32.0f + 24.0f * std::sin(a0), 32.0f + 24.0f * std::cos(a1),
                   32.0f + 24.0f * std::sin(a1), 4.0f, kGoldLight);
        }
    }
    return true;
}

bool DestroyMarker(Frame& f) {
    Pen p{f.canvas, f.cell};
    const float cx = p.X(32);
    const float cy = p.Y(32);
    p.c.Glow(Outline(Circle(cx, cy, p.S(24)), p.S(4)), WithAlpha(kEmber, 0.6f), p.S(5));
    p.c.Draw(Circle(cx, cy, p.S(24)), Solid(WithAlpha(Hex(0x3a0a08), 0.35f)));
    p.c.Draw(Outline(Circle(cx, cy, p.S(24)), p.S(4)), Solid(Hex(0xd83a2c)));
    p.Line(19, 19, 45, 45, 7.0f, Hex(0xd83a2c));
    p.Line(45, 19, 19, 45, 7.0f, Hex(0xd83a2c));
    p.Line(19, 19, 45, 45, 2.5f, Hex(0xff9a80));
    p.Line(45, 19, 19, 45, 2.5f, Hex(0xff9a80));
    return true;
}

// ---- Tile pictures for the placement buttons ------------------------------------------------------

// A building tile with an emblem, as the tile-placement button shows it.
std::function<bool(Frame&)> EmblemTile(std::function<bool(Frame&)> emblem) {
    return [emblem](Frame& f) {
        Pen p{f.canvas, f.cell};
        Flagstones(p, kStone);
        Seam(p);
        return emblem(f);
    };
}

bool PopulationEmblem(Frame& f) {
    Pen p{f.canvas, f.cell};
    Roof(p, {{14, 32}, {32, 14}, {50, 32}}, Hex(0xa8783a));
    Wall(p, 19, 31, 26, 20, Hex(0xe0d0a8));
    Window(p, 29, 38, 7, 13, Hex(0x6a4424));
    return true;
}

bool BarracksEmblem(Frame& f) {
    Pen p{f.canvas, f.cell};
    p.c.Draw(Circle(p.X(32), p.Y(32), p.S(20)), Solid(Hex(0x982424)));
    p.Line(20, 44, 44, 20, 3.5f, Hex(0xe8e8f0));
    p.Line(44, 44, 20, 20, 3.5f, Hex(0xe8e8f0));
    p.Line(18, 38, 26, 46, 3.0f, kGold);
    p.Line(46, 38, 38, 46, 3.0f, kGold);
    return true;
}

Picture Single(std::string config, std::string type, std::string image, int width, int height,
               std::function<bool(Frame&)> draw, std::vector<AnimationRange> animations = {}) {
    return {std::move(config),     std::move(type), std::move(image), width, height, 1, 1,
            std::move(animations), std::move(draw)};
}

} // namespace

void AppendKingdomPictures(std::vector<Picture>& table) {
    // Ground tiles by type; types that share the building base differ by frame.
    table.push_back(Single("../Assets/Tiles/tileempty.xml", "TileEmpty", "../Assets/Tiles/tileempty.png", 64,
                           64, TileEmpty, {{"Empty", 0, 0}}));
    table.push_back(Single("../Assets/Tiles/tilepath.xml", "TilePath", "../Assets/Tiles/tilepath.png", 64, 64,
                           TilePath, {{"Path", 0, 0}}));
    table.push_back({"../Assets/Tiles/tilebldgbase.xml",
                     "TileBuildingBase",
                     "../Assets/Tiles/tilebldgbase.png",
                     64,
                     64,
                     3,
                     1,
                     {{"Building", 0, 0}, {"Capital", 1, 1}, {"Barracks", 2, 2}},
                     BuildingBaseSheet});
    table.push_back({"../Assets/Tiles/tilegate.xml",
                     "TileGate",
                     "../Assets/Tiles/tilegate.png",
                     64,
                     64,
                     kGateFrames,
                     1,
                     {{"Gate", 0, kGateFrames - 1}},
                     TileGate});
    table.push_back(Single("../Assets/Tiles/tile_crack.xml", "TileCrack", "../Assets/Tiles/tile_crack.png",
                           64, 64, TileCrack, {{"Crack", 0, 0}}));
    table.push_back(Single("../Assets/Tiles/tileblank.xml", "TileBlank", "../Assets/Tiles/tileblank.png", 64,
                           64, TileBlank));
    table.push_back({"../Assets/Tiles/rotatingselect.xml",
                     "TileRotatingSelect",
                     "../Assets/Tiles/rotatingselect.png",
                     64,
                     64,
                     kSelectFrames,
                     1,
                     {{"Glow", 0, kSelectFrames - 1}},
                     RotatingSelect});

    // The tile pictures at the root of Assets.
    table.push_back(Single("../Assets/tilebldgbase.xml", "TileBaseRoot", "../Assets/tilebldgbase.png", 64, 64,
                           BuildingBase));
    table.push_back(Single("../Assets/tile_pop.xml", "TilePopulation", "../Assets/tile_pop.png", 64, 64,
                           EmblemTile(PopulationEmblem)));
    table.push_back(Single("../Assets/tile_barracks.xml", "TileBarracksRoot", "../Assets/tile_barracks.png",
                           64, 64, EmblemTile(BarracksEmblem)));
    table.push_back(
        Single("../Assets/tile_nature.xml", "TileNature", "../Assets/tile_nature.png", 64, 64, TileNature));
    // Also the Capital building, which stands 1.5 wide and 2 high.
    table.push_back(
        Single("../Assets/tilecapital.xml", "TileCapital", "../Assets/tilecapital.png", 48, 64, Capital));

    // Buildings.
    const std::pair<const char*, std::function<bool(Frame&)>> buildings[] = {
        {"capital_bldg", Capital}, {"barracks_bldg", Barracks}, {"farm_bldg", Farm},
        {"house_bldg", House},     {"smith_bldg", Smith},       {"techlab_bldg", TechLab},
        {"spire_bldg", Spire},     {"biolab_bldg", BioLab},     {"dark_bldg", Keep},
    };
    for (const auto& [name, draw] : buildings) {
        std::string n = name;
        table.push_back(Single("../Assets/Buildings/" + n + ".xml", "Building_" + n,
                               "../Assets/Buildings/" + n + ".png", 64, 64, draw));
    }

    table.push_back(
        Single("../Assets/destroy.xml", "DestroyMarker", "../Assets/destroy.png", 64, 64, DestroyMarker));
}

} // namespace gen
