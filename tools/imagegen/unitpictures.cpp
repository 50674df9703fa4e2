#include "unitpictures.h"

#include "style.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace gen {

using namespace style;

namespace {

constexpr float kPi = 3.14159265f;

enum class Kind { Elvenkind, Dragonkin, Leviathian, Golem, Taipen, Angel, Demon, Elemental };

struct RaceLook {
    const char* file; // Units/<file>_unit.xml
    const char* type;
    Kind kind;
    Rgba body;
    Rgba dark;
    Rgba skin;
    Rgba accent;
    Rgba glow; // the warp-in beam
};

const RaceLook kRaces[] = {
    {"elvenkind", "UnitElvenkind", Kind::Elvenkind, Hex(0x3f8a3a), Hex(0x24502a), Hex(0xe8cca0),
     Hex(0xb88a4c), Hex(0x8ce070)},
    {"dragonkin", "UnitDragonkin", Kind::Dragonkin, Hex(0xc8641e), Hex(0x6e3010), Hex(0xd8803a),
     Hex(0xe8b868), Hex(0xf09040)},
    {"leviathian", "UnitLeviathian", Kind::Leviathian, Hex(0x2a7a8c), Hex(0x164450), Hex(0x4ab0b0),
     Hex(0xd8ac48), Hex(0x60d8e8)},
    {"golem", "UnitGolem", Kind::Golem, Hex(0x8a8276), Hex(0x4e4942), Hex(0x9e968a), Hex(0x60e0f0),
     Hex(0xb0c8d8)},
    {"taipen", "UnitTaipen", Kind::Taipen, Hex(0xc8b040), Hex(0x5e5018), Hex(0xd8c458), Hex(0x3a2a10),
     Hex(0xe8d860)},
    {"angel", "UnitAngel", Kind::Angel, Hex(0xf0ece0), Hex(0xa8a4bc), Hex(0xf0d8b8), Hex(0xd8ac48),
     Hex(0xfff0b0)},
    {"demon", "UnitDemon", Kind::Demon, Hex(0x9a1c2c), Hex(0x3e0812), Hex(0xb02838), Hex(0x1a0a10),
     Hex(0xe04858)},
    {"elemental", "UnitElemental", Kind::Elemental, Hex(0x50c8f0), Hex(0x2a5ab8), Hex(0xe8fbff),
     Hex(0xf6dc92), Hex(0x80e8ff)},
};

// The grid of every sheet, frame by frame.
struct Pose {
    float lean;  // degrees about the feet; positive leans forward (to the right)
    float arm;   // degrees of the weapon arm from hanging straight down towards the front
    float alpha; // of the figure
    float beam;  // of the warp-in light
    bool slash;
};

const Pose kPoses[kUnitColumns * kUnitRows] = {
    {0, 20, 1.0f, 0.0f, false}, // 0 stand
    // 1-4 warp: the battle loops it until the soldier first strikes, so it pulses rather than flashes.
    {0, 20, 1.0f, 0.6f, false},
    {0, 20, 1.0f, 0.45f, false},
    {0, 20, 1.0f, 0.3f, false},
    {0, 20, 1.0f, 0.45f, false},
    {-8, 150, 1.0f, 0.0f, false},   // 5-8 attack: wind up, strike, follow through, recover
    {10, 85, 1.0f, 0.0f, true},     //
    {6, 45, 1.0f, 0.0f, false},     //
    {0, 25, 1.0f, 0.0f, false},     //
    {-20, 60, 0.95f, 0.0f, false},  // 9-11 death: stagger, fall, lie fading
    {-60, 90, 0.7f, 0.0f, false},   //
    {-88, 90, 0.35f, 0.0f, false}}; //

const std::vector<AnimationRange> kUnitAnimations = {{"Warp", 1, 4}, {"Attack", 5, 8}, {"Dead", 9, 11}};

// Design space is 48 x 48 with the feet at (24, 44); the figure turns about its feet.
struct Figure {
    Canvas& c;
    Rect cell;
    float angle;
    float alpha;

    std::pair<float, float> At(float u, float v) const {
        float du = u - 24.0f;
        float dv = v - 44.0f;
        float x = du * std::cos(angle) - dv * std::sin(angle);
        float y = du * std::sin(angle) + dv * std::cos(angle);
        float s = cell.w / 48.0f;
        return {cell.x + (24.0f + x) * s, cell.y + (44.0f + y) * s};
    }
    float S(float d) const { return d * cell.w / 48.0f; }
    Rgba Fade(Rgba colour) const { return WithAlpha(colour, colour.a * alpha); }

    void Dot(float u, float v, float radius, Rgba colour) const {
        auto [x, y] = At(u, v);
        c.Draw(Circle(x, y, S(radius)), Solid(Fade(colour)));
    }
    void Line(float au, float av, float bu, float bv, float width, Rgba colour) const {
        auto [ax, ay] = At(au, av);
        auto [bx, by] = At(bu, bv);
        c.Draw(Segment(ax, ay, bx, by, S(width)), Solid(Fade(colour)));
    }
    void Poly(Points points, Rgba colour) const {
        for (auto& p : points) {
            p = At(p.first, p.second);
        }
        c.Draw(Polygon(std::move(points)), Solid(Fade(colour)));
    }
    void Halo(float u, float v, float radius, float width, Rgba colour) const {
        auto [x, y] = At(u, v);
        Shape ring = Outline(Circle(x, y, S(radius)), S(width));
        c.Glow(ring, Fade(WithAlpha(colour, 0.6f)), S(2.0f));
        c.Draw(ring, Solid(Fade(colour)));
    }
};

// The weapon arm: its hand, and the unit vectors along and across it.
struct Arm {
    float hu, hv;
    float du, dv;
    float pu, pv;
};

Arm WeaponArm(const Figure& f, float su, float sv, float length, float degrees, Rgba colour, float width) {
    float a = degrees * kPi / 180.0f;
    Arm arm{su + length * std::sin(a),
            sv + length * std::cos(a),
            std::sin(a),
            std::cos(a),
            std::cos(a),
            -std::sin(a)};
    f.Line(su, sv, arm.hu, arm.hv, width, colour);
    return arm;
}

void Sword(const Figure& f, const Arm& a, float length, Rgba blade) {
    f.Line(a.hu, a.hv, a.hu + a.du * length, a.hv + a.dv * length, 2.2f, blade);
    f.Line(a.hu - a.pu * 3.0f, a.hv - a.pv * 3.0f, a.hu + a.pu * 3.0f, a.hv + a.pv * 3.0f, 1.6f,
           Hex(0x6a5030));
}

void Spear(const Figure& f, const Arm& a, Rgba shaft, Rgba tip) {
    f.Line(a.hu - a.du * 7.0f, a.hv - a.dv * 7.0f, a.hu + a.du * 15.0f, a.hv + a.dv * 15.0f, 1.6f, shaft);
    float tu = a.hu + a.du * 15.0f;
    float tv = a.hv + a.dv * 15.0f;
    f.Poly({{tu + a.du * 5.0f, tv + a.dv * 5.0f},
            {tu + a.pu * 2.2f, tv + a.pv * 2.2f},
            {tu - a.pu * 2.2f, tv - a.pv * 2.2f}},
           tip);
}

// Two legs, a torso and a head; the back arm hangs behind.
void Humanoid(const Figure& f, const RaceLook& r, float bulk) {
    f.Line(21, 33, 20, 44, 4.0f * bulk, r.dark);
    f.Line(27, 33, 28, 44, 4.0f * bulk, r.dark);
    f.Line(19, 21, 18, 31, 3.5f * bulk, r.dark);
    f.Poly({{24 - 7 * bulk, 19}, {24 + 7 * bulk, 19}, {24 + 5 * bulk, 34}, {24 - 5 * bulk, 34}}, r.body);
}

void DrawRace(const Figure& f, const RaceLook& r, float armDegrees) {
    const Rgba steel = Hex(0xc8d0dc);
    switch (r.kind) {
    case Kind::Elvenkind: {
        Humanoid(f, r, 0.9f);
        f.Dot(24, 13, 5.5f, r.skin);
        f.Poly({{18, 12}, {12, 8}, {19, 15}}, r.skin); // the long ear
        f.Poly({{17, 15}, {23, 3}, {31, 11}, {29, 16}, {25, 10}, {20, 12}}, r.dark);
        f.Dot(27, 13, 0.9f, Hex(0x1a3a18));
        Arm a = WeaponArm(f, 28, 21, 9, armDegrees, r.body, 3.0f);
        // A bow bent towards the target, its string behind the hand.
        float prevU = 0;
        float prevV = 0;
        for (int i = 0; i <= 4; ++i) {
            float t = -1.0f + 0.5f * static_cast<float>(i);
            float u = a.hu + a.pu * 9.0f * t + a.du * 3.5f * (1.0f - t * t);
            float v = a.hv + a.pv * 9.0f * t + a.dv * 3.5f * (1.0f - t * t);
            if (i > 0) {
                f.Line(prevU, prevV, u, v, 1.8f, r.accent);
            }
            prevU = u;
            prevV = v;
        }
        f.Line(a.hu - a.pu * 9.0f, a.hv - a.pv * 9.0f, a.hu + a.pu * 9.0f, a.hv + a.pv * 9.0f, 0.6f,
               Hex(0xeadcb4));
        break;
    }
    case Kind::Dragonkin: {
        f.Poly({{20, 20}, {5, 6}, {9, 17}, {3, 21}, {16, 29}}, WithAlpha(r.dark, 0.9f));
        f.Line(20, 33, 11, 40, 4.0f, r.body);
        f.Line(11, 40, 5, 37, 2.5f, r.body);
        Humanoid(f, r, 1.1f);
        f.Poly({{22, 21}, {27, 21}, {26, 32}, {22, 32}}, r.accent);
        f.Line(21, 9, 17, 2, 1.8f, kParchment);
        f.Line(25, 8, 26, 1, 1.8f, kParchment);
        f.Dot(24, 13, 6.0f, r.skin);
        f.Poly({{27, 10}, {35, 13}, {27, 17}}, r.skin);
        f.Dot(27, 11, 1.0f, Hex(0xf0d040));
        Arm a = WeaponArm(f, 29, 21, 10, armDegrees, r.body, 3.5f);
        Sword(f, a, 14, steel);
        break;
    }
    case Kind::Leviathian: {
        Humanoid(f, r, 1.0f);
        for (float v : {23.0f, 27.0f, 31.0f}) {
            f.Line(20, v, 28, v, 0.8f, WithAlpha(r.skin, 0.7f));
        }
        f.Poly({{19, 9}, {22, 1}, {25, 6}, {29, 2}, {30, 11}}, Hex(0x80e0e0));
        f.Dot(24, 13, 6.0f, r.skin);
        f.Poly({{28, 11}, {33, 14}, {28, 17}}, r.skin);
        f.Dot(27, 12, 1.0f, Hex(0x0a2028));
        f.Line(21, 15, 22, 18, 0.7f, r.dark);
        Arm a = WeaponArm(f, 29, 21, 10, armDegrees, r.body, 3.5f);
        f.Line(a.hu - a.du * 8.0f, a.hv - a.dv * 8.0f, a.hu + a.du * 14.0f, a.hv + a.dv * 14.0f, 1.6f,
               r.accent);
        float tu = a.hu + a.du * 14.0f;
        float tv = a.hv + a.dv * 14.0f;
        f.Line(tu - a.pu * 4.0f, tv - a.pv * 4.0f, tu + a.pu * 4.0f, tv + a.pv * 4.0f, 1.4f, r.accent);
        for (float side : {-4.0f, 0.0f, 4.0f}) {
            float bu = tu + a.pu * side;
            float bv = tv + a.pv * side;
            f.Line(bu, bv, bu + a.du * 5.0f, bv + a.dv * 5.0f, 1.3f, r.accent);
        }
        break;
    }
    case Kind::Golem: {
        f.Line(20, 32, 19, 44, 7.0f, r.dark);
        f.Line(28, 32, 29, 44, 7.0f, r.dark);
        f.Line(16, 21, 14, 32, 6.0f, r.dark);
        f.Dot(14, 33, 4.0f, r.dark);
        f.Poly({{13, 18}, {35, 18}, {32, 35}, {16, 35}}, r.body);
        f.Line(19, 24, 29, 28, 1.0f, WithAlpha(r.dark, 0.8f));
        f.Dot(24, 26, 2.0f, r.accent);
        f.Poly({{18, 6}, {30, 6}, {31, 18}, {17, 18}}, r.skin);
        f.Dot(22, 12, 1.3f, r.accent);
        f.Dot(28, 12, 1.3f, r.accent);
        Arm a = WeaponArm(f, 31, 21, 10, armDegrees, r.body, 6.0f);
        f.Dot(a.hu, a.hv, 4.5f, r.skin);
        break;
    }
    case Kind::Taipen: {
        f.Line(28, 42, 38, 43, 3.0f, r.dark);
        f.Dot(24, 39, 7.5f, r.dark);
        f.Dot(24, 39, 5.0f, r.body);
        f.Poly({{19, 19}, {29, 19}, {27, 34}, {21, 34}}, r.body);
        for (float v : {22.0f, 27.0f, 32.0f}) {
            f.Line(20, v, 28, v, 1.2f, r.accent);
        }
        f.Line(20, 21, 19, 30, 3.0f, r.dark);
        f.Poly({{19, 10}, {27, 6}, {34, 11}, {27, 17}, {20, 16}}, r.skin);
        f.Line(27, 10, 29, 11, 1.0f, Hex(0x1a1408));
        f.Line(34, 12, 38, 12, 0.6f, Hex(0xd02020));
        Arm a = WeaponArm(f, 28, 21, 9, armDegrees, r.body, 3.0f);
        float mu = a.hu + a.du * 7.0f + a.pu * 2.0f;
        float mv = a.hv + a.dv * 7.0f + a.pv * 2.0f;
        f.Line(a.hu, a.hv, mu, mv, 2.0f, steel);
        f.Line(mu, mv, a.hu + a.du * 12.0f - a.pu * 1.0f, a.hv + a.dv * 12.0f - a.pv * 1.0f, 1.6f, steel);
        break;
    }
    case Kind::Angel: {
        f.Poly({{21, 20}, {4, 4}, {7, 16}, {3, 22}, {9, 25}, {7, 30}, {19, 29}}, Hex(0xd8e4f4));
        f.Poly({{27, 20}, {40, 8}, {38, 18}, {42, 22}, {30, 28}}, Hex(0xc4d2e8));
        f.Poly({{17, 19}, {31, 19}, {33, 44}, {15, 44}}, r.body);
        f.Line(24, 20, 24, 43, 1.0f, r.accent);
        f.Line(19, 21, 18, 31, 3.0f, r.dark);
        f.Dot(24, 13, 5.5f, r.skin);
        f.Halo(24, 4, 4.5f, 1.3f, Hex(0xf6dc92));
        Arm a = WeaponArm(f, 29, 21, 10, armDegrees, r.body, 3.0f);
        Spear(f, a, r.accent, Hex(0xfff4c8));
        break;
    }
    case Kind::Demon: {
        f.Poly({{20, 20}, {4, 9}, {7, 15}, {2, 19}, {8, 22}, {5, 28}, {17, 29}}, r.dark);
        f.Line(21, 33, 13, 41, 1.6f, r.dark);
        f.Poly({{13, 41}, {9, 39}, {11, 44}}, r.dark);
        Humanoid(f, r, 1.0f);
        f.Dot(24, 13, 6.0f, r.skin);
        f.Poly({{19, 10}, {15, 1}, {22, 7}}, r.accent);
        f.Poly({{26, 8}, {31, 0}, {30, 9}}, r.accent);
        f.Dot(27, 12, 1.2f, Hex(0xf0d040));
        Arm a = WeaponArm(f, 29, 21, 10, armDegrees, r.skin, 3.5f);
        for (float side : {-2.0f, 0.0f, 2.0f}) {
            float bu = a.hu + a.pu * side;
            float bv = a.hv + a.pv * side;
            f.Line(bu, bv, bu + a.du * 5.0f + a.pu * side * 0.5f, bv + a.dv * 5.0f + a.pv * side * 0.5f, 1.0f,
                   kParchment);
        }
        break;
    }
    case Kind::Elemental: {
        auto [cx, cy] = f.At(24, 28);
        f.c.Glow(Circle(cx, cy, f.S(10.0f)), f.Fade(WithAlpha(r.body, 0.55f)), f.S(5.0f));
        f.Poly({{14, 30}, {19, 14}, {22, 20}, {25, 4}, {28, 18}, {31, 12}, {34, 30}}, r.body);
        f.Dot(24, 30, 10.0f, r.body);
        f.Poly({{20, 38}, {24, 46}, {28, 38}}, WithAlpha(r.body, 0.7f));
        f.Dot(24, 29, 5.5f, r.skin);
        f.Dot(22, 21, 1.2f, r.dark);
        f.Dot(27, 21, 1.2f, r.dark);
        Arm a = WeaponArm(f, 30, 26, 9, armDegrees, WithAlpha(r.body, 0.8f), 2.0f);
        auto [ox, oy] = f.At(a.hu, a.hv);
        f.c.Glow(Circle(ox, oy, f.S(3.0f)), f.Fade(WithAlpha(r.accent, 0.8f)), f.S(3.0f));
        f.Dot(a.hu, a.hv, 3.0f, r.accent);
        f.Dot(a.hu, a.hv, 1.4f, Hex(0xffffff));
        break;
    }
    }
}

// Repeatable sparkle positions: the same sheet on every run.
float Hash(uint32_t n) {
    n = (n << 13U) ^ n;
    n = n * (n * n * 15731U + 789221U) + 1376312589U;
    return static_cast<float>(n & 0x7fffffffU) / 2147483647.0f;
}

std::function<bool(Frame&)> SoldierSheet(const RaceLook& race) {
    return [&race](Frame& frame) {
        const Pose& pose = kPoses[frame.index];
        Canvas& c = frame.canvas;
        const Rect& cell = frame.cell;
        float s = cell.w / 48.0f;

        // The shadow stays on the ground and fades with the body.
        Points shadow;
        for (int i = 0; i < 16; ++i) {
            float t = 2.0f * kPi * static_cast<float>(i) / 16.0f;
            shadow.emplace_back(cell.x + (24.0f + 11.0f * std::cos(t)) * s,
                                cell.y + (44.5f + 2.5f * std::sin(t)) * s);
        }
        c.Draw(Polygon(shadow), Solid(WithAlpha(kInk, 0.35f * pose.alpha)));

        if (pose.beam > 0.0f) {
            Rect beam{cell.x + 14.0f * s, cell.y + 4.0f * s, 20.0f * s, 41.0f * s};
            c.Draw(RoundRect(beam, 6.0f * s), VerticalGradient(beam, WithAlpha(race.glow, 0.0f),
                                                               WithAlpha(race.glow, 0.55f * pose.beam)));
            Points ring;
            for (int i = 0; i < 16; ++i) {
                float t = 2.0f * kPi * static_cast<float>(i) / 16.0f;
                ring.emplace_back(cell.x + (24.0f + 13.0f * std::cos(t)) * s,
                                  cell.y + (44.0f + 3.5f * std::sin(t)) * s);
            }
            c.Glow(Outline(Polygon(ring), 1.5f * s), WithAlpha(race.glow, pose.beam), 3.0f * s);
            c.Draw(Outline(Polygon(ring), 1.5f * s), Solid(WithAlpha(race.glow, 0.4f + pose.beam)));
        }

        Figure figure{c, cell, pose.lean * kPi / 180.0f, pose.alpha};
        DrawRace(figure, race, pose.arm);

        // Archers and casters strike from afar: no blade sweeps past them.
        if (pose.slash && race.kind != Kind::Elvenkind && race.kind != Kind::Elemental) {
            for (int i = 0; i < 4; ++i) {
                float a0 = (-30.0f + 22.0f * static_cast<float>(i)) * kPi / 180.0f;
                float a1 = a0 + 18.0f * kPi / 180.0f;
                c.Draw(Segment(cell.x + (30.0f + 15.0f * std::cos(a0)) * s,
                               cell.y + (22.0f + 15.0f * std::sin(a0)) * s,
                               cell.x + (30.0f + 15.0f * std::cos(a1)) * s,
                               cell.y + (22.0f + 15.0f * std::sin(a1)) * s, 1.6f * s),
                       Solid(WithAlpha(kParchment, 0.8f - 0.15f * static_cast<float>(i))));
            }
        }
        if (pose.beam > 0.0f) {
            // Motes rise a little each frame and wrap round, so the loop has no seam.
            for (uint32_t i = 0; i < 6; ++i) {
                float u = 14.0f + Hash(i * 2U) * 20.0f;
                float rise =
                    std::fmod(Hash(i * 2U + 1U) * 36.0f + static_cast<float>(frame.index - 1) * 9.0f, 36.0f);
                c.Draw(Circle(cell.x + u * s, cell.y + (42.0f - rise) * s, 1.2f * s),
                       Solid(WithAlpha(Hex(0xffffff), 0.9f - rise / 60.0f)));
            }
        }
        return true;
    };
}

} // namespace

// The missile of ranged soldiers: an orb of violet energy with a white core, pulsing over the sheet. The
// game sets frame 8 before it plays "Bullet", so every frame is an orb.
bool EnergyOrb(Frame& f) {
    float cx = f.cell.x + f.cell.w * 0.5f;
    float cy = f.cell.y + f.cell.h * 0.5f;
    float pulse = 0.5f + 0.5f * std::sin(static_cast<float>(f.index) * kPi / 6.0f);
    float radius = f.cell.w * (0.26f + 0.06f * pulse);
    f.canvas.Glow(Circle(cx, cy, radius), WithAlpha(Hex(0xb070ff), 0.8f), f.cell.w * 0.14f);
    f.canvas.Draw(Circle(cx, cy, radius), RadialGradient(cx, cy, radius, Hex(0xffffff), Hex(0x7a3ae0)));
    f.canvas.Draw(Circle(cx, cy, radius * 0.35f), Solid(Hex(0xfff8ff)));
    return true;
}

void AppendUnitPictures(std::vector<Picture>& table) {
    table.push_back({"../Assets/projectile.xml", "Projectile", "../Assets/projectile.png", 32, 32, 4, 3,
                     {{"Bullet", 8, 11}}, EnergyOrb});
    for (const RaceLook& race : kRaces) {
        std::string name = std::string("../Assets/Units/") + race.file + "_unit";
        table.push_back({name + ".xml", race.type, name + ".png", kUnitFrame, kUnitFrame, kUnitColumns,
                         kUnitRows, kUnitAnimations, SoldierSheet(race)});
    }
}

} // namespace gen
