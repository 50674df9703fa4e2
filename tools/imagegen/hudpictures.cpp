#include "hudpictures.h"

#include "style.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace gen {

using namespace style;

namespace {

Rect Inset(const Rect& r, float by) {
    return {r.x + by, r.y + by, r.w - 2.0f * by, r.h - 2.0f * by};
}

// ---- Box frames ----------------------------------------------------------------------------------

enum class Ornament { None, Left, Right, Both };

// A translucent night body inside a double gold rim; ornaments are claw-like barbs at the corners.
// The top share `clearTop` of the picture stays clear.
std::function<bool(Frame&)> DragonFrame(Ornament ornament, float bodyAlpha, float clearTop = 0.0f) {
    return [=](Frame& f) {
        Canvas& c = f.canvas;
        const float clear = f.cell.h * clearTop;
        Rect outer = Inset({f.cell.x, f.cell.y + clear, f.cell.w, f.cell.h - clear}, 3.0f);
        Shape rim = RoundRect(outer, 7.0f);
        c.Glow(Outline(rim, 2.0f), WithAlpha(kGold, 0.45f), 3.0f);
        c.Draw(rim, VerticalGradient(outer, WithAlpha(kNight, bodyAlpha), WithAlpha(kInk, bodyAlpha)));
        c.Draw(Outline(rim, 2.5f), VerticalGradient(outer, kGoldLight, kGold));
        c.Draw(Outline(RoundRect(Inset(outer, 5.0f), 4.0f), 1.0f), Solid(WithAlpha(kGold, 0.7f)));
        auto barb = [&](float x, float y, float sx, float sy) {
            c.Draw(Polygon({{x, y}, {x + sx * 14.0f, y + sy * 3.0f}, {x + sx * 3.0f, y + sy * 14.0f}}),
                   Solid(kGoldLight));
            c.Draw(Circle(x + sx * 4.0f, y + sy * 4.0f, 2.0f), Solid(kEmber));
        };
        float l = outer.x;
        float r = outer.x + outer.w;
        float t = outer.y;
        float b = outer.y + outer.h;
        if (ornament == Ornament::Left || ornament == Ornament::Both) {
            barb(l, t, 1.0f, 1.0f);
            barb(l, b, 1.0f, -1.0f);
        }
        if (ornament == Ornament::Right || ornament == Ornament::Both) {
            barb(r, t, -1.0f, 1.0f);
            barb(r, b, -1.0f, -1.0f);
        }
        return true;
    };
}

// The long frame of the help text, whose text runs from edge to edge: a thin rim close to the picture's
// edges, the inner trim only along the top and the bottom, no barbs. The picture is drawn half as wide
// as the help box is on a 1024-pixel screen, so its rim stays a few pixels wide there.
bool BandFrame(Frame& f) {
    Canvas& c = f.canvas;
    Rect outer{f.cell.x + 0.75f, f.cell.y + 1.0f, f.cell.w - 1.5f, f.cell.h - 2.0f};
    Shape rim = RoundRect(outer, 3.0f);
    c.Draw(rim, VerticalGradient(outer, WithAlpha(kNight, 0.85f), WithAlpha(kInk, 0.85f)));
    c.Draw(Outline(rim, 1.5f), VerticalGradient(outer, kGoldLight, kGold));
    for (float y : {outer.y + 3.5f, outer.y + outer.h - 3.5f}) {
        c.Draw(Segment(outer.x + 8.0f, y, outer.x + outer.w - 8.0f, y, 1.0f), Solid(WithAlpha(kGold, 0.7f)));
    }
    return true;
}

bool PlainBorder(Frame& f) {
    Rect r = Inset(f.cell, 1.0f);
    f.canvas.Draw(RoundRect(r, 3.0f),
                  VerticalGradient(r, WithAlpha(kSlate, 0.85f), WithAlpha(kNight, 0.85f)));
    f.canvas.Draw(Outline(RoundRect(r, 3.0f), 1.5f), Solid(kSteel));
    return true;
}

// The mastery tree behind the seven badges: a ring under each badge, faint branches between them. The
// picture spans 6 x 8 HUD units from (-4.25, 4.5); the badges are 1 x 1 boxes centred at these points.
bool MasterySkillTree(Frame& f) {
    Canvas& c = f.canvas;
    DragonFrame(Ornament::Both, 0.8f)(f);
    const Rect& r = f.cell;
    const float badges[][2] = {{-1.0f, 2.5f}, {-2.5f, 2.5f}, {0.5f, 2.5f}, {-1.0f, -0.5f},
                               {0.5f, -0.5f}, {0.0f, 1.0f},  {-3.0f, 1.0f}};
    Points nodes;
    for (const auto& b : badges) {
        nodes.push_back({(b[0] + 4.25f) / 6.0f, (4.5f - b[1]) / 8.0f});
    }
    // Bio, Magic, Commander, Berserker, Fatality, Sharpened, Hardened.
    const int links[][2] = {{0, 1}, {0, 2}, {1, 6}, {2, 5}, {5, 4}, {5, 3}};
    for (const auto& link : links) {
        auto [ax, ay] = nodes[link[0]];
        auto [bx, by] = nodes[link[1]];
        c.Draw(Segment(r.x + ax * r.w, r.y + ay * r.h, r.x + bx * r.w, r.y + by * r.h, 3.0f),
               Solid(WithAlpha(kGold, 0.35f)));
    }
    // A badge is 16 pixels of this picture across; its shield fits inside the ring.
    for (auto [x, y] : nodes) {
        Ring(c, r.x + x * r.w, r.y + y * r.h, 7.5f, 2.0f, WithAlpha(kGoldLight, 0.6f));
    }
    return true;
}

// A race's emblem: a roundel of its colour with its initial.
std::function<bool(Frame&)> RaceLogo(uint32_t colour, std::string initial) {
    return [=](Frame& f) {
        Canvas& c = f.canvas;
        float cx = f.cell.x + f.cell.w * 0.5f;
        float cy = f.cell.y + f.cell.h * 0.5f;
        float radius = f.cell.w * 0.42f;
        c.Glow(Circle(cx, cy, radius), WithAlpha(Hex(colour), 0.6f), 5.0f);
        c.Draw(Circle(cx, cy, radius),
               RadialGradient(cx, cy - radius * 0.3f, radius * 1.3f, Mix(Hex(colour), kParchment, 0.35f),
                              Mix(Hex(colour), kInk, 0.6f)));
        c.Draw(Outline(Circle(cx, cy, radius), 3.0f), Solid(kGold));
        c.Draw(Outline(Circle(cx, cy, radius - 7.0f), 1.0f), Solid(WithAlpha(kGoldLight, 0.7f)));
        return Label(c, initial, static_cast<int>(f.cell.h * 0.42f), cx, cy, kParchment);
    };
}

// A mastery badge: a shield of its colour with a short mark, high on the shield: the box draws the
// mastery's level at its middle.
std::function<bool(Frame&)> MasteryBadge(uint32_t colour, std::string mark) {
    return [=](Frame& f) {
        Canvas& c = f.canvas;
        const Rect r = Inset(f.cell, 4.0f);
        Shape shield =
            Polygon(Place(r, {{0.1f, 0.05f}, {0.9f, 0.05f}, {0.9f, 0.55f}, {0.5f, 0.97f}, {0.1f, 0.55f}}));
        c.Glow(shield, WithAlpha(Hex(colour), 0.5f), 3.0f);
        c.Draw(shield,
               VerticalGradient(r, Mix(Hex(colour), kParchment, 0.25f), Mix(Hex(colour), kInk, 0.55f)));
        c.Draw(Outline(shield, 2.0f), Solid(kGold));
        return Label(c, mark, 15, r.x + r.w * 0.5f, r.y + r.h * 0.2f, kParchment);
    };
}

// ---- Buttons -------------------------------------------------------------------------------------

// The plain plate behind a box's label. A label starts a few pixels from the box's left edge whatever
// the box's width, so at the sides the gold trim lies against the dark edge instead of inside it.
std::function<bool(Frame&)> Plate(Rgba top, Rgba bottom) {
    return [=](Frame& f) {
        Canvas& c = f.canvas;
        const Rect r{f.cell.x + 0.5f, f.cell.y + 1.0f, f.cell.w - 1.0f, f.cell.h - 2.0f};
        c.Draw(RoundRect(r, 6.0f), Solid(kInk));
        const Rect body{r.x + 1.0f, r.y + 1.0f, r.w - 2.0f, r.h - 2.0f};
        c.Draw(RoundRect(body, 5.0f), VerticalGradient(body, top, bottom));
        const Rect trim{r.x + 1.5f, r.y + 2.5f, r.w - 3.0f, r.h - 5.0f};
        c.Draw(Outline(RoundRect(trim, 4.0f), 1.0f), VerticalGradient(trim, kGoldLight, kGold));
        return true;
    };
}

// A plate with a mark drawn over it.
std::function<bool(Frame&)> MarkedPlate(Rgba top, Rgba bottom,
                                        std::function<void(Canvas&, const Rect&)> mark) {
    return [=](Frame& f) {
        Rect r = Inset(f.cell, 1.0f);
        Panel(f.canvas, r, 6.0f, top, bottom);
        mark(f.canvas, Inset(r, 6.0f));
        return true;
    };
}

bool FlashPlate(Frame& f) {
    Rect r = Inset(f.cell, 3.0f);
    f.canvas.Glow(RoundRect(r, 6.0f), WithAlpha(kGoldLight, 0.9f), 3.0f);
    Panel(f.canvas, r, 6.0f, Hex(0xfff4c8), kGold);
    return true;
}

// The building buttons: an icon in the upper part of a square plate, under the box's own label.
using Icon = std::function<void(Canvas&, const Rect&)>;

std::function<bool(Frame&)> IconButton(Rgba top, Rgba bottom, Icon icon) {
    return [=](Frame& f) {
        Rect r = Inset(f.cell, 1.0f);
        Panel(f.canvas, r, 8.0f, top, bottom);
        icon(f.canvas, {r.x + r.w * 0.2f, r.y + r.h * 0.1f, r.w * 0.6f, r.h * 0.6f});
        return true;
    };
}

void HouseIcon(Canvas& c, const Rect& r) {
    c.Draw(Polygon(Place(r, {{0.5f, 0.05f}, {0.95f, 0.45f}, {0.05f, 0.45f}})), Solid(kEmber));
    c.Draw(RoundRect({r.x + r.w * 0.18f, r.y + r.h * 0.45f, r.w * 0.64f, r.h * 0.5f}, 1.0f),
           Solid(kParchment));
    c.Draw(RoundRect({r.x + r.w * 0.42f, r.y + r.h * 0.65f, r.w * 0.16f, r.h * 0.3f}, 1.0f), Solid(kInk));
}

void FarmIcon(Canvas& c, const Rect& r) {
    for (int i = 0; i < 4; ++i) {
        float y = r.y + r.h * (0.2f + 0.2f * static_cast<float>(i));
        c.Draw(Segment(r.x + r.w * 0.05f, y, r.x + r.w * 0.95f, y + r.h * 0.08f, r.h * 0.09f),
               Solid(i % 2 == 0 ? kMoss : Hex(0xd0b048)));
    }
}

void TowerIcon(Canvas& c, const Rect& r) {
    c.Draw(RoundRect({r.x + r.w * 0.3f, r.y + r.h * 0.25f, r.w * 0.4f, r.h * 0.72f}, 1.0f), Solid(kSteel));
    for (int i = 0; i < 3; ++i) {
        c.Draw(RoundRect({r.x + r.w * (0.24f + 0.19f * static_cast<float>(i)), r.y + r.h * 0.1f, r.w * 0.14f,
                          r.h * 0.2f},
                         1.0f),
               Solid(kSteel));
    }
    c.Draw(RoundRect({r.x + r.w * 0.44f, r.y + r.h * 0.45f, r.w * 0.12f, r.h * 0.2f}, 2.0f), Solid(kInk));
}

void KeepIcon(Canvas& c, const Rect& r) {
    c.Draw(RoundRect({r.x + r.w * 0.05f, r.y + r.h * 0.4f, r.w * 0.9f, r.h * 0.57f}, 1.0f), Solid(kSlate));
    for (int i = 0; i < 5; ++i) {
        c.Draw(RoundRect({r.x + r.w * (0.05f + 0.2f * static_cast<float>(i)), r.y + r.h * 0.27f, r.w * 0.1f,
                          r.h * 0.15f},
                         1.0f),
               Solid(kSlate));
    }
    c.Draw(Circle(r.x + r.w * 0.5f, r.y + r.h * 0.72f, r.w * 0.12f), Solid(kGold));
}

void FlaskIcon(Canvas& c, const Rect& r, Rgba liquid) {
    Shape flask = Polygon(
        Place(r, {{0.4f, 0.05f}, {0.6f, 0.05f}, {0.6f, 0.4f}, {0.9f, 0.95f}, {0.1f, 0.95f}, {0.4f, 0.4f}}));
    c.Draw(flask, Solid(WithAlpha(kParchment, 0.5f)));
    c.Draw(Polygon(Place(r, {{0.27f, 0.65f}, {0.73f, 0.65f}, {0.9f, 0.95f}, {0.1f, 0.95f}})), Solid(liquid));
    c.Draw(Outline(flask, 1.5f), Solid(kParchment));
}

void LeafIcon(Canvas& c, const Rect& r) {
    Shape leaf = [=](float x, float y) {
        float a = Circle(r.x + r.w * 0.3f, r.y + r.h * 0.6f, r.w * 0.45f)(x, y);
        float b = Circle(r.x + r.w * 0.7f, r.y + r.h * 0.4f, r.w * 0.45f)(x, y);
        return std::max(a, b);
    };
    c.Draw(leaf, Solid(Hex(0x7ec850)));
    c.Draw(Segment(r.x + r.w * 0.2f, r.y + r.h * 0.8f, r.x + r.w * 0.8f, r.y + r.h * 0.2f, 2.0f),
           Solid(kMoss));
}

void SpireIcon(Canvas& c, const Rect& r) {
    c.Draw(Polygon(Place(r, {{0.5f, 0.0f}, {0.72f, 1.0f}, {0.28f, 1.0f}})), Solid(Hex(0x9a78e0)));
    c.Draw(Circle(r.x + r.w * 0.5f, r.y + r.h * 0.3f, r.w * 0.08f), Solid(kGoldLight));
}

void AnvilIcon(Canvas& c, const Rect& r) {
    c.Draw(Polygon(Place(r, {{0.0f, 0.3f},
                             {0.9f, 0.3f},
                             {1.0f, 0.45f},
                             {0.7f, 0.55f},
                             {0.6f, 0.75f},
                             {0.8f, 0.95f},
                             {0.2f, 0.95f},
                             {0.4f, 0.75f},
                             {0.3f, 0.55f},
                             {0.1f, 0.5f}})),
           Solid(Hex(0x8a93a6)));
}

void DestroyIcon(Canvas& c, const Rect& r) {
    c.Draw(Segment(r.x + r.w * 0.15f, r.y + r.h * 0.15f, r.x + r.w * 0.85f, r.y + r.h * 0.85f, r.w * 0.16f),
           Solid(kEmber));
    c.Draw(Segment(r.x + r.w * 0.85f, r.y + r.h * 0.15f, r.x + r.w * 0.15f, r.y + r.h * 0.85f, r.w * 0.16f),
           Solid(kEmber));
}

void PathIcon(Canvas& c, const Rect& r) {
    c.Draw(Polygon(Place(r, {{0.5f, 0.1f}, {0.95f, 0.5f}, {0.5f, 0.9f}, {0.05f, 0.5f}})),
           Solid(Hex(0xb89a6a)));
    c.Draw(Segment(r.x + r.w * 0.3f, r.y + r.h * 0.5f, r.x + r.w * 0.7f, r.y + r.h * 0.5f, 2.0f),
           Solid(Hex(0x7a6240)));
}

void CrackIcon(Canvas& c, const Rect& r) {
    const Points zig = Place(r, {{0.2f, 0.05f}, {0.45f, 0.35f}, {0.3f, 0.5f}, {0.6f, 0.75f}, {0.5f, 0.95f}});
    for (size_t i = 0; i + 1 < zig.size(); ++i) {
        c.Draw(Segment(zig[i].first, zig[i].second, zig[i + 1].first, zig[i + 1].second, 3.5f), Solid(kInk));
    }
    c.Glow(Circle(r.x + r.w * 0.45f, r.y + r.h * 0.5f, r.w * 0.2f), WithAlpha(kEmber, 0.6f), 6.0f);
}

// The list arrows and the scroll buttons: a gold triangle on a round plate. A list arrow's plate keeps
// clear of its picture's edges, where the label of the row beside it may run ("Destroy" of the Build list).
std::function<bool(Frame&)> ArrowButton(float direction, bool vertical) {
    return [=](Frame& f) {
        Rect r = Inset(f.cell, vertical ? 2.0f : f.cell.w * 0.16f);
        Panel(f.canvas, r, std::min(r.w, r.h) * 0.3f, kSteel, kNight);
        Rect a = Inset(r, std::min(r.w, r.h) * 0.22f);
        Points tip = vertical ? Points{{0.5f, 0.5f - 0.4f * direction},
                                       {0.9f, 0.5f + 0.35f * direction},
                                       {0.1f, 0.5f + 0.35f * direction}}
                              : Points{{0.5f + 0.4f * direction, 0.5f},
                                       {0.5f - 0.35f * direction, 0.1f},
                                       {0.5f - 0.35f * direction, 0.9f}};
        Shape arrow = Polygon(Place(a, tip));
        f.canvas.Glow(arrow, WithAlpha(kGold, 0.6f), 2.0f);
        f.canvas.Draw(arrow, VerticalGradient(a, kGoldLight, kGold));
        return true;
    };
}

// The button is small on screen (a third smaller than its picture): the label takes two lines to stay
// readable.
bool SkipTutorialButton(Frame& f) {
    Rect r = Inset(f.cell, 1.0f);
    Panel(f.canvas, r, 6.0f, Mix(kEmber, kGoldLight, 0.2f), Mix(kEmber, kInk, 0.4f));
    const float cx = r.x + r.w * 0.5f;
    return Label(f.canvas, "Skip", 16, cx, r.y + r.h * 0.3f, kParchment) &&
           Label(f.canvas, "Tutorial", 16, cx, r.y + r.h * 0.7f, kParchment);
}

void MenuBars(Canvas& c, const Rect& r) {
    for (int i = 0; i < 3; ++i) {
        float y = r.y + r.h * (0.2f + 0.3f * static_cast<float>(i));
        c.Draw(Segment(r.x + r.w - 18.0f, y, r.x + r.w - 4.0f, y, 2.5f), Solid(kGoldLight));
    }
}

void ClawMarks(Canvas& c, const Rect& r) {
    for (int i = 0; i < 3; ++i) {
        float x = r.x + r.w - 22.0f + 6.0f * static_cast<float>(i);
        c.Draw(Segment(x, r.y + 1.0f, x + 5.0f, r.y + r.h - 1.0f, 2.0f), Solid(kEmber));
    }
}

// A tab button: a plate of its screen's colour with a small emblem at its right end, right of where
// the seven letters of "Kingdom" end.
std::function<bool(Frame&)> TabButton(uint32_t colour) {
    return [=](Frame& f) {
        Rect r = Inset(f.cell, 1.0f);
        Panel(f.canvas, r, 7.0f, Mix(Hex(colour), kGoldLight, 0.2f), Mix(Hex(colour), kInk, 0.5f));
        Ring(f.canvas, r.x + r.w - 7.5f, r.y + r.h * 0.5f, 3.5f, 1.5f, kGoldLight);
        return true;
    };
}

// ---- Mail ----------------------------------------------------------------------------------------

// An envelope with a seal of its kind's colour and mark.
std::function<bool(Frame&)> MailIcon(uint32_t seal, std::string mark) {
    return [=](Frame& f) {
        Canvas& c = f.canvas;
        Rect r = Inset(f.cell, 3.0f);
        c.Glow(RoundRect(r, 3.0f), WithAlpha(kInk, 0.6f), 2.0f);
        c.Draw(RoundRect(r, 3.0f), VerticalGradient(r, kParchment, Mix(kParchment, kGold, 0.35f)));
        Shape flap = Polygon(Place(r, {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.5f, 0.55f}}));
        c.Draw(flap, Solid(Mix(kParchment, kGold, 0.25f)));
        c.Draw(Outline(flap, 1.0f), Solid(WithAlpha(kInk, 0.5f)));
        c.Draw(Outline(RoundRect(r, 3.0f), 1.0f), Solid(WithAlpha(kInk, 0.7f)));
        float cx = r.x + r.w * 0.5f;
        float cy = r.y + r.h * 0.55f;
        float radius = r.h * 0.24f;
        c.Draw(Circle(cx, cy, radius), RadialGradient(cx, cy - 2.0f, radius, Mix(Hex(seal), kParchment, 0.3f),
                                                      Mix(Hex(seal), kInk, 0.3f)));
        return mark.empty() || Label(c, mark, 11, cx, cy, kParchment);
    };
}

// ---- Skybox --------------------------------------------------------------------------------------

// A dusk sky: night blue above, a warm band at the horizon, and a few fixed stars.
std::function<bool(Frame&)> SkyFace(bool horizon, uint32_t seed) {
    return [=](Frame& f) {
        Canvas& c = f.canvas;
        const Rect& r = f.cell;
        if (horizon) {
            c.Fill(VerticalGradient(r, kInk, Mix(kSlate, kEmber, 0.35f)));
            c.Draw(RoundRect({r.x, r.y + r.h * 0.8f, r.w, r.h * 0.2f}, 0.0f),
                   VerticalGradient({r.x, r.y + r.h * 0.8f, r.w, r.h * 0.2f}, Hex(0x2a2a3a), Hex(0x141420)));
        } else {
            c.Fill(RadialGradient(r.x + r.w * 0.5f, r.y + r.h * 0.5f, r.w * 0.75f, kNight, kInk));
        }
        uint32_t state = seed;
        for (int i = 0; i < 24; ++i) {
            state = state * 1664525u + 1013904223u;
            float x = r.x + static_cast<float>(state % 1000u) / 1000.0f * r.w;
            state = state * 1664525u + 1013904223u;
            float y = r.y + static_cast<float>(state % 1000u) / 1000.0f * r.h * (horizon ? 0.6f : 1.0f);
            c.Draw(Circle(x, y, 0.8f), Solid(WithAlpha(kParchment, 0.8f)));
        }
        return true;
    };
}

bool GroundFace(Frame& f) {
    f.canvas.Fill(RadialGradient(f.cell.x + f.cell.w * 0.5f, f.cell.y + f.cell.h * 0.5f, f.cell.w * 0.7f,
                                 Hex(0x2a3020), Hex(0x10140c)));
    return true;
}

Picture Entry(std::string config, std::string type, std::string image, int width, int height,
              std::function<bool(Frame&)> draw) {
    return {std::move(config), std::move(type), std::move(image), width, height, 1, 1, {}, std::move(draw)};
}

} // namespace

void AppendHudPictures(std::vector<Picture>& table) {
    // Box frames.
    const std::pair<const char*, std::function<bool(Frame&)>> frames[] = {
        // The side frames of the bottom bar reach up to the unit editor's Tech row and its "Increase
        // Mastery Level" button, drawn under them: their upper part stays clear so that those show.
        {"dragonBorder", DragonFrame(Ornament::Left, 0.8f, 0.3f)},
        {"dragonBorder2", DragonFrame(Ornament::Right, 0.8f, 0.3f)},
        {"dragonFrame", BandFrame},
        {"dragonFrame2", DragonFrame(Ornament::Both, 0.75f)},
        {"dragonFrameFull", DragonFrame(Ornament::Both, 0.92f)},
    };
    const int frameSizes[][2] = {{160, 112}, {160, 112}, {512, 32}, {96, 136}, {224, 160}};
    for (size_t i = 0; i < std::size(frames); ++i) {
        std::string name = frames[i].first;
        table.push_back(Entry("../Assets/Boxes/" + name + ".xml", "HudBox_" + name,
                              "../Assets/Boxes/" + name + ".png", frameSizes[i][0], frameSizes[i][1],
                              frames[i].second));
    }
    table.push_back(Entry("../Assets/Boxes/PlainBorder.xml", "HudBox_PlainBorder",
                          "../Assets/Boxes/PlainBorder.png", 96, 32, PlainBorder));
    table.push_back(Entry("../Assets/Boxes/MasterySkillTree.xml", "HudBox_MasterySkillTree",
                          "../Assets/Boxes/MasterySkillTree.png", 96, 128, MasterySkillTree));

    // Race logos.
    const std::pair<const char*, std::pair<uint32_t, const char*>> logos[] = {
        {"LogoElf", {0x58b848, "E"}},        {"LogoDemon", {0xc83428, "D"}},
        {"LogoAngel", {0xe8d890, "A"}},      {"LogoTaipen", {0x38a898, "T"}},
        {"LogoElemental", {0xe8862a, "El"}}, {"LogoLeviathian", {0x3a78e0, "L"}},
        {"LogoGolem", {0x8a8478, "G"}},      {"LogoDragonkin", {0x9a2848, "Dk"}},
    };
    for (const auto& [name, look] : logos) {
        std::string n = name;
        table.push_back(Entry("../Assets/Boxes/" + n + ".xml", "HudBox_" + n, "../Assets/Boxes/" + n + ".png",
                              96, 96, RaceLogo(look.first, look.second)));
    }

    // Mastery badges.
    const std::pair<const char*, std::pair<uint32_t, const char*>> masteries[] = {
        {"MasteryCommander", {0x3a78e0, "Cmd"}}, {"Sharpened", {0x8a93a6, "Shp"}},
        {"Fatality", {0xc83428, "Fat"}},         {"BioMastery", {0x58b848, "Bio"}},
        {"MagicMastery", {0xa850c8, "Mag"}},     {"HardenedSkin", {0x8a6a48, "Hrd"}},
        {"Berserker", {0xe8862a, "Ber"}},
    };
    for (const auto& [name, look] : masteries) {
        std::string n = name;
        table.push_back(Entry("../Assets/Boxes/" + n + ".xml", "HudBox_" + n, "../Assets/Boxes/" + n + ".png",
                              64, 64, MasteryBadge(look.first, look.second)));
    }

    // Buttons.
    const Rgba grey = Hex(0x6a6a70);
    const std::pair<const char*, std::pair<std::pair<int, int>, std::function<bool(Frame&)>>> buttons[] = {
        {"ButtonBlue", {{128, 32}, Plate(Mix(kSteel, kGoldLight, 0.15f), kSlate)}},
        {"ButtonDarkBlue", {{128, 32}, Plate(kSteel, kNight)}},
        {"ButtonDarkRed", {{128, 32}, Plate(Mix(kEmber, kInk, 0.2f), Mix(kEmber, kInk, 0.65f))}},
        {"ButtonFlash", {{128, 32}, FlashPlate}},
        {"ButtonDarkGrey", {{128, 32}, Plate(grey, Hex(0x2a2a30))}},
        {"ButtonMenu", {{96, 32}, MarkedPlate(kSteel, kNight, MenuBars)}},
        {"ButtonRightClaw",
         {{96, 32}, MarkedPlate(Mix(kEmber, kInk, 0.2f), Mix(kEmber, kInk, 0.65f), ClawMarks)}},
        {"ButtonHouse", {{64, 64}, IconButton(kSteel, kNight, HouseIcon)}},
        {"ButtonFarm", {{64, 64}, IconButton(kSteel, kNight, FarmIcon)}},
        {"ButtonBarrack", {{64, 64}, IconButton(kSteel, kNight, TowerIcon)}},
        {"ButtonKeep", {{64, 64}, IconButton(kSteel, kNight, KeepIcon)}},
        {"ButtonLab",
         {{64, 64},
          IconButton(kSteel, kNight, [](Canvas& c, const Rect& r) { FlaskIcon(c, r, Hex(0x48a8e8)); })}},
        {"ButtonBiolab", {{64, 64}, IconButton(kSteel, kNight, LeafIcon)}},
        {"ButtonSpire", {{64, 64}, IconButton(kSteel, kNight, SpireIcon)}},
        {"ButtonSmith", {{64, 64}, IconButton(kSteel, kNight, AnvilIcon)}},
        {"ButtonDestroy", {{64, 64}, IconButton(kSlate, kInk, DestroyIcon)}},
        {"ButtonPlaceTile", {{64, 64}, IconButton(kSteel, kNight, PathIcon)}},
        {"ButtonPlaceCrack", {{64, 64}, IconButton(kSlate, kInk, CrackIcon)}},
        {"LeftArrowButtons", {{64, 64}, ArrowButton(-1.0f, false)}},
        {"RightArrowButtons", {{64, 64}, ArrowButton(1.0f, false)}},
        {"scrollUp", {{64, 32}, ArrowButton(1.0f, true)}},
        {"scrollDown", {{64, 32}, ArrowButton(-1.0f, true)}},
        {"skiptut", {{96, 48}, SkipTutorialButton}},
    };
    for (const auto& [name, look] : buttons) {
        std::string n = name;
        table.push_back(Entry("../Assets/Buttons/" + n + ".xml", "HudButton_" + n,
                              "../Assets/Buttons/" + n + ".png", look.first.first, look.first.second,
                              look.second));
    }

    // Tab buttons of the top bar and the unit editor.
    const std::pair<const char*, uint32_t> tabs[] = {
        {"ArmyButton", 0xb8442c},     {"BuildButton", 0x5f8a3c},   {"TechButton", 0x6a58b8},
        {"MerchantButton", 0xb8902c}, {"KingdomButton", 0x3a68c0}, {"WarButton", 0x982424},
        {"UnitButton", 0x2c8a80},
    };
    for (const auto& [name, colour] : tabs) {
        std::string n = name;
        table.push_back(Entry("../Assets/" + n + ".xml", "HudTab_" + n, "../Assets/" + n + ".png", 96, 40,
                              TabButton(colour)));
    }

    // Mail icons.
    const std::pair<const char*, std::pair<uint32_t, const char*>> mails[] = {
        {"MailAlert", {0xc83428, "!"}},    {"MailAdvice", {0x5f8a3c, "*"}}, {"MailHelp", {0x3a78e0, "?"}},
        {"MailTutorial", {0xd8ac48, "T"}}, {"MailInfo", {0x50658c, "i"}},   {"MailMail", {0x982424, ""}},
    };
    for (const auto& [name, look] : mails) {
        std::string n = name;
        table.push_back(Entry("../Assets/" + n + ".xml", "HudMail_" + n, "../Assets/" + n + ".png", 96, 48,
                              MailIcon(look.first, look.second)));
    }

    // Skybox faces.
    const std::pair<const char*, std::function<bool(Frame&)>> faces[] = {
        {"top", SkyFace(false, 11u)},  {"bottom", GroundFace},        {"left", SkyFace(true, 23u)},
        {"right", SkyFace(true, 37u)}, {"front", SkyFace(true, 41u)}, {"back", SkyFace(true, 53u)},
    };
    for (const auto& [name, draw] : faces) {
        std::string n = name;
        table.push_back(Entry("../Assets/Textures/Skybox/" + n + ".xml", "Skybox_" + n,
                              "../Assets/Textures/Skybox/" + n + ".png", 128, 128, draw));
    }
}

} // namespace gen
