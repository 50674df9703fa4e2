#include "frontpictures.h"

#include "style.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace gen {

using namespace style;

namespace {

using Points = std::vector<std::pair<float, float>>;

const std::string kFolder = "../Assets/FrontEnd/";
const std::string kBodyFont = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
const std::string kItalicFont = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf";

const Rgba kHill = Hex(0x151a33);
const Rgba kNearHill = Hex(0x0b0e1e);
const Rgba kWindow = Hex(0xf3c56a);
const Rgba kDim = Hex(0x9aa6c4);

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

Points Offset(Points points, float dx, float dy) {
    for (auto& [x, y] : points) {
        x += dx;
        y += dy;
    }
    return points;
}

// Draws only inside `bounds` (and the frame), which keeps small shapes on a large sheet cheap.
void DrawIn(Frame& f, Rect bounds, const Shape& shape, const Paint& paint) {
    const int x0 = std::max(static_cast<int>(std::floor(bounds.x)), static_cast<int>(f.cell.x));
    const int y0 = std::max(static_cast<int>(std::floor(bounds.y)), static_cast<int>(f.cell.y));
    const int x1 =
        std::min(static_cast<int>(std::ceil(bounds.x + bounds.w)), static_cast<int>(f.cell.x + f.cell.w));
    const int y1 =
        std::min(static_cast<int>(std::ceil(bounds.y + bounds.h)), static_cast<int>(f.cell.y + f.cell.h));
    if (x1 > x0 && y1 > y0) {
        f.canvas.SetClip(x0, y0, x1 - x0, y1 - y0);
        f.canvas.Draw(shape, paint);
    }
    f.canvas.SetClip(static_cast<int>(f.cell.x), static_cast<int>(f.cell.y), static_cast<int>(f.cell.w),
                     static_cast<int>(f.cell.h));
}

// The width in pixels of a line of text, 0 when the font cannot be used.
int TextWidth(const std::string& text, const std::string& font, int pointSize) {
    TTF_Font* opened = TTF_OpenFont(font.c_str(), pointSize);
    if (opened == nullptr) {
        return 0;
    }
    TTF_SetFontHinting(opened, TTF_HINTING_NORMAL);
    int w = 0;
    int h = 0;
    if (TTF_SizeUTF8(opened, text.c_str(), &w, &h) != 0) {
        w = 0;
    }
    TTF_CloseFont(opened);
    return w;
}

enum class Align { Left, Centre, Right };

// One line with a soft dark shadow; x is the left edge, the centre or the right edge.
bool Line(Canvas& c, const std::string& text, const std::string& font, int size, float x, float cy,
          Rgba colour, Align align = Align::Centre) {
    float cx = x;
    if (align != Align::Centre) {
        const int w = TextWidth(text, font, size);
        if (w == 0) {
            return false;
        }
        cx = align == Align::Left ? x + w * 0.5f : x - w * 0.5f;
    }
    return c.Text(text, font, size, cx + 1.5f, cy + 1.5f, Solid(WithAlpha(kInk, 0.8f))) &&
           c.Text(text, font, size, cx, cy, Solid(colour));
}

// Centred lines, `step` apart, the first at `top`.
bool Paragraph(Canvas& c, const std::vector<std::string>& lines, const std::string& font, int size, float cx,
               float top, float step, Rgba colour) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty() &&
            !Line(c, lines[i], font, size, cx, top + step * static_cast<float>(i), colour)) {
            return false;
        }
    }
    return true;
}

// A thin gold rule with a diamond in its middle.
void Rule(Frame& f, float cx, float cy, float halfWidth) {
    DrawIn(f, {cx - halfWidth - 2, cy - 2, 2 * halfWidth + 4, 4},
           RoundRect({cx - halfWidth, cy - 0.75f, 2 * halfWidth, 1.5f}, 0.75f),
           Solid(WithAlpha(kGold, 0.9f)));
    Shape diamond = Polygon({{cx, cy - 5}, {cx + 5, cy}, {cx, cy + 5}, {cx - 5, cy}});
    DrawIn(f, {cx - 7, cy - 7, 14, 14}, diamond, Solid(kGoldLight));
}

// A dark, slightly see-through panel with the gold trim of the house style.
void TextPanel(Frame& f, Rect r) {
    Canvas& c = f.canvas;
    c.Glow(RoundRect(r, 14.0f), WithAlpha(kInk, 0.55f), 10.0f);
    c.Draw(RoundRect(r, 14.0f), Solid(WithAlpha(kInk, 0.92f)));
    Rect body{r.x + 1.5f, r.y + 1.5f, r.w - 3.0f, r.h - 3.0f};
    c.Draw(RoundRect(body, 12.5f),
           VerticalGradient(body, WithAlpha(Hex(0x1c2444), 0.9f), WithAlpha(kInk, 0.9f)));
    Rect trim{r.x + 5.0f, r.y + 5.0f, r.w - 10.0f, r.h - 10.0f};
    c.Draw(Outline(RoundRect(trim, 10.0f), 1.2f), VerticalGradient(trim, kGoldLight, kGold));
}

// Small stars scattered by a fixed sequence, so that every run draws the same sky.
void Stars(Frame& f, Rect area, int count, uint32_t seed) {
    uint32_t state = seed;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>((state >> 8) & 0xFFFF) / 65535.0f;
    };
    for (int i = 0; i < count; ++i) {
        float x = area.x + next() * area.w;
        float y = area.y + next() * next() * area.h;
        float r = 0.6f + next() * 1.1f;
        float bright = 0.45f + next() * 0.55f;
        DrawIn(f, {x - 4, y - 4, 8, 8}, Circle(x, y, r), Solid(WithAlpha(Hex(0xf4ecd8), bright)));
    }
}

void Sky(Frame& f, Rgba top, Rgba middle, Rgba horizon) {
    const Rect r = f.cell;
    Rect upper{r.x, r.y, r.w, r.h * 0.55f};
    Rect lower{r.x, r.y + r.h * 0.55f, r.w, r.h * 0.45f};
    f.canvas.Fill([=](float x, float y) {
        (void)x;
        return y < lower.y ? Mix(top, middle, (y - upper.y) / upper.h)
                           : Mix(middle, horizon, (y - lower.y) / lower.h);
    });
}

void Moon(Frame& f, float cx, float cy, float radius) {
    f.canvas.Glow(Circle(cx, cy, radius), WithAlpha(Hex(0xe8e0c8), 0.35f), radius * 1.6f);
    DrawIn(
        f, {cx - radius - 2, cy - radius - 2, 2 * radius + 4, 2 * radius + 4}, Circle(cx, cy, radius),
        RadialGradient(cx - radius * 0.3f, cy - radius * 0.3f, radius * 1.6f, Hex(0xfbf6e6), Hex(0xcfc6a8)));
    // A few darker seas.
    const float seas[][3] = {{0.25f, -0.2f, 0.22f}, {-0.3f, 0.25f, 0.18f}, {0.1f, 0.4f, 0.12f}};
    for (const auto& s : seas) {
        float x = cx + s[0] * radius;
        float y = cy + s[1] * radius;
        float r = s[2] * radius;
        DrawIn(f, {x - r - 2, y - r - 2, 2 * r + 4, 2 * r + 4}, Circle(x, y, r),
               Solid(WithAlpha(Hex(0xb8ae90), 0.55f)));
    }
}

// A hill line across the frame: a sum of slow waves above `base`, filled down to the bottom.
void Hills(Frame& f, float base, float amplitude, float phase, Rgba colour) {
    const Rect r = f.cell;
    Shape hill = [=](float x, float y) {
        float u = (x - r.x) / r.w;
        float top = base - amplitude * (0.6f * std::sin(u * 6.2832f * 1.3f + phase) +
                                        0.4f * std::sin(u * 6.2832f * 2.7f + phase * 1.7f));
        return top - y;
    };
    f.canvas.Draw(hill, Solid(colour));
}

// The keep of Thornvale on its hill: towers with battlements, a spire, lit windows.
void Castle(Frame& f, float cx, float base, float scale) {
    const Rgba body = Hex(0x0a0c18);
    auto s = [scale](float v) { return v * scale; };
    struct Tower {
        float x, w, h;
    };
    const Tower towers[] = {{-95, 34, 120}, {-48, 40, 160}, {8, 56, 205}, {70, 40, 150}, {112, 30, 110}};
    Rect bounds{cx - s(140), base - s(290), s(280), s(360)};
    // The curtain wall.
    DrawIn(f, bounds, RoundRect({cx - s(110), base - s(80), s(240), s(140)}, 0.0f), Solid(body));
    for (const Tower& t : towers) {
        float left = cx + s(t.x);
        float top = base - s(t.h);
        DrawIn(f, bounds, RoundRect({left, top, s(t.w), s(t.h) + s(60)}, 0.0f), Solid(body));
        // Battlements.
        const int teeth = std::max(2, static_cast<int>(t.w / 10.0f));
        const float tooth = s(t.w) / (2.0f * teeth - 1.0f);
        for (int k = 0; k < teeth; ++k) {
            DrawIn(f, bounds, RoundRect({left + 2.0f * k * tooth, top - s(9), tooth, s(10)}, 0.0f),
                   Solid(body));
        }
        // Lit windows.
        for (float wy = top + s(22); wy < base - s(30); wy += s(38)) {
            Rect window{left + s(t.w) * 0.5f - s(3), wy, s(6), s(11)};
            f.canvas.Glow(RoundRect(window, s(2)), WithAlpha(kWindow, 0.35f), s(6));
            DrawIn(f, bounds, RoundRect(window, s(2)), Solid(kWindow));
        }
    }
    // The spire of the keep, and its banner.
    float keepLeft = cx + s(8);
    float keepTop = base - s(205) - s(9);
    DrawIn(
        f, bounds,
        Polygon(
            {{keepLeft - s(4), keepTop}, {keepLeft + s(28), keepTop - s(62)}, {keepLeft + s(60), keepTop}}),
        Solid(body));
    float poleX = keepLeft + s(28);
    float poleTop = keepTop - s(62);
    DrawIn(f, bounds, RoundRect({poleX - s(1), poleTop - s(26), s(2), s(28)}, 0.0f), Solid(body));
    DrawIn(f, bounds,
           Polygon({{poleX + s(1), poleTop - s(26)},
                    {poleX + s(24), poleTop - s(20)},
                    {poleX + s(1), poleTop - s(13)}}),
           Solid(kEmber));
    // The gate.
    DrawIn(f, bounds, RoundRect({cx - s(14), base - s(38), s(28), s(40)}, s(12)), Solid(Hex(0x3a2a1a)));
}

// Thorny brambles along the bottom edge, the vale's own.
void Thorns(Frame& f, float base, uint32_t seed) {
    uint32_t state = seed;
    auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return static_cast<float>((state >> 8) & 0xFFFF) / 65535.0f;
    };
    const Rect r = f.cell;
    for (float x = r.x - 20.0f; x < r.x + r.w + 20.0f; x += 26.0f + next() * 18.0f) {
        float h = 18.0f + next() * 34.0f;
        float lean = (next() - 0.5f) * 16.0f;
        Points spike = {{x - 5.0f, base + 4.0f}, {x + lean, base - h}, {x + 5.0f, base + 4.0f}};
        DrawIn(f, {x - 30, base - h - 4, 60, h + 10}, Polygon(spike), Solid(kNearHill));
    }
    f.canvas.Draw(RoundRect({r.x - 4.0f, base, r.w + 8.0f, r.h}, 0.0f), Solid(kNearHill));
}

// The night over the vale, shared by the menu and every screen above it.
bool Backdrop(Frame& f) {
    Sky(f, Hex(0x070a18), Hex(0x1a2046), Hex(0x4a3a5c));
    Stars(f, {f.cell.x, f.cell.y, f.cell.w, f.cell.h * 0.62f}, 150, 7u);
    Moon(f, f.cell.x + 680.0f, f.cell.y + 235.0f, 34.0f);
    Hills(f, f.cell.y + 455.0f, 26.0f, 0.6f, Hex(0x1f2446));
    Hills(f, f.cell.y + 500.0f, 20.0f, 2.1f, kHill);
    Castle(f, f.cell.x + 520.0f, f.cell.y + 505.0f, 0.95f);
    Thorns(f, f.cell.y + 560.0f, 11u);
    return true;
}

// The first splash: the Corvessa crest, a ring around a raven's wing.
bool CorvessaSplash(Frame& f) {
    Canvas& c = f.canvas;
    const float cx = f.cell.x + 400.0f;
    const float cy = f.cell.y + 250.0f;
    c.Fill(VerticalGradient(f.cell, Hex(0x08070f), Hex(0x1a1226)));
    c.Glow(Circle(cx, cy, 40.0f), WithAlpha(Hex(0x6a3c8a), 0.35f), 170.0f);
    Ring(c, cx, cy, 92.0f, 5.0f, kGold);
    Points wing = {{-58, 38}, {-20, -10}, {10, -48}, {52, -70}, {34, -40}, {60, -44},
                   {30, -14}, {54, -14},  {20, 8},   {40, 14},  {0, 26},   {-26, 44}};
    Shape feathers = Polygon(Offset(wing, cx, cy));
    c.Glow(feathers, WithAlpha(kGoldLight, 0.4f), 8.0f);
    c.Draw(feathers, VerticalGradient({cx - 60, cy - 70, 120, 120}, kGoldLight, kGold));
    DrawIn(f, {cx - 50, cy + 20, 40, 40}, Circle(cx - 30, cy + 34, 6.0f), Solid(Hex(0x08070f)));
    return Line(c, "C O R V E S S A", FontFile(), 50, cx, f.cell.y + 420.0f, kGoldLight) &&
           Line(c, "games for long evenings", kItalicFont, 20, cx, f.cell.y + 470.0f, kDim);
}

// The second splash: the makers' lantern.
bool LumbrakeSplash(Frame& f) {
    Canvas& c = f.canvas;
    const float cx = f.cell.x + 400.0f;
    const float cy = f.cell.y + 235.0f;
    c.Fill(VerticalGradient(f.cell, Hex(0x060c10), Hex(0x10222a)));
    c.Glow(Circle(cx, cy + 10.0f, 30.0f), WithAlpha(Hex(0xf0b050), 0.45f), 150.0f);
    // The lantern: a ring to hang it by, a cap, a glass with the flame, a base.
    DrawIn(f, {cx - 30, cy - 110, 60, 50}, Outline(Circle(cx, cy - 92.0f, 12.0f), 4.0f), Solid(kGold));
    Points cap = {{cx - 46, cy - 48}, {cx, cy - 80}, {cx + 46, cy - 48}};
    c.Draw(Polygon(cap), VerticalGradient({cx - 46, cy - 80, 92, 32}, kGoldLight, kGold));
    Rect glass{cx - 38, cy - 48, 76, 104};
    c.Draw(RoundRect(glass, 8.0f), Solid(WithAlpha(Hex(0xf6d890), 0.28f)));
    c.Draw(Outline(RoundRect(glass, 8.0f), 4.0f), Solid(kGold));
    Points flame = {{cx, cy - 30}, {cx + 16, cy + 6},  {cx + 10, cy + 28},
                    {cx, cy + 34}, {cx - 10, cy + 28}, {cx - 16, cy + 6}};
    c.Glow(Polygon(flame), WithAlpha(Hex(0xffd070), 0.7f), 14.0f);
    c.Draw(Polygon(flame), VerticalGradient({cx - 16, cy - 30, 32, 64}, Hex(0xfff4c0), Hex(0xf08a30)));
    c.Draw(RoundRect({cx - 46, cy + 56, 92, 16}, 4.0f),
           VerticalGradient({cx - 46, cy + 56, 92, 16}, kGoldLight, kGold));
    return Line(c, "TEAM LUMBRAKE", FontFile(), 48, cx, f.cell.y + 410.0f, kGoldLight) &&
           Line(c, "presents", kItalicFont, 24, cx, f.cell.y + 462.0f, kParchment);
}

bool LoadingPicture(Frame& f) {
    Canvas& c = f.canvas;
    const float cx = f.cell.x + 400.0f;
    Sky(f, Hex(0x070a18), Hex(0x141a3a), Hex(0x2a2848));
    Stars(f, {f.cell.x, f.cell.y, f.cell.w, f.cell.h * 0.34f}, 90, 23u);
    Hills(f, f.cell.y + 520.0f, 18.0f, 1.3f, kHill);
    Thorns(f, f.cell.y + 570.0f, 5u);
    if (!Line(c, "Thornvale Oriskar", FontFile(), 54, cx, f.cell.y + 230.0f, kGoldLight)) {
        return false;
    }
    Rule(f, cx, f.cell.y + 280.0f, 170.0f);
    return Line(c, "Loading...", FontFile(), 28, cx, f.cell.y + 330.0f, kParchment) &&
           Line(c, "the vale awakens", kItalicFont, 18, cx, f.cell.y + 370.0f, kDim);
}

bool Title(Frame& f) {
    Canvas& c = f.canvas;
    const float cx = f.cell.x + f.cell.w * 0.5f;
    c.Glow(RoundRect({cx - 250, f.cell.y + 30, 500, 50}, 25.0f), WithAlpha(kInk, 0.5f), 24.0f);
    if (!c.Text("Thornvale Oriskar", FontFile(), 58, cx + 2.0f, f.cell.y + 56.0f,
                Solid(WithAlpha(kInk, 0.9f))) ||
        !c.Text("Thornvale Oriskar", FontFile(), 58, cx, f.cell.y + 54.0f,
                VerticalGradient({f.cell.x, f.cell.y + 20, f.cell.w, 70}, kGoldLight, kGold))) {
        return false;
    }
    Rule(f, cx, f.cell.y + 104.0f, 200.0f);
    return true;
}

// The labelled buttons of every front-end layout; each frame is played by the button of its name.
struct ButtonFace {
    const char* item;
    const char* label;
};

const ButtonFace kButtons[] = {
    {"NewGame", "New Game"},
    {"LoadGame", "Load Game"},
    {"Options", "Options"},
    {"HowToPlay", "How to Play"},
    {"Credits", "Credits"},
    {"Quit", "Quit"},
    {"Back", "Back"},
    {"Resume", "Resume"},
    {"MainMenu", "Main Menu"},
    {"Leave", "Leave"},
    {"Stay", "Stay"},
    {"Resolution800x600", "800 x 600"},
    {"Resolution1024x768", "1024 x 768"},
    {"Resolution1440X900", "1440 x 900"},
    {"FullScreenToggle", "Full Screen"},
    {"ToggleMuteMusic", "Music On / Off"},
    {"ToggleDisplayDebugInfo", "Frame Info"},
};
constexpr int kButtonCount = static_cast<int>(sizeof(kButtons) / sizeof(kButtons[0]));

std::vector<AnimationRange> ButtonAnimations() {
    std::vector<AnimationRange> out;
    for (int i = 0; i < kButtonCount; ++i) {
        out.push_back({kButtons[i].item, i, i});
    }
    return out;
}

bool MenuButton(Frame& f) {
    if (f.index >= kButtonCount) {
        return true;
    }
    Rect plate{f.cell.x + 2.0f, f.cell.y + 2.0f, f.cell.w - 4.0f, f.cell.h - 4.0f};
    Panel(f.canvas, plate, 10.0f, Hex(0x3a4a72), Hex(0x141a32));
    return Line(f.canvas, kButtons[f.index].label, FontFile(), 22, plate.x + plate.w * 0.5f,
                plate.y + plate.h * 0.5f, kParchment);
}

struct StoryPage {
    const char* heading;
    std::vector<std::string> lines;
};

const StoryPage kStory[8] = {
    {"The Vale of Thornvale",
     {"Long ago the free folk of the vale", "raised one keep where the old roads meet,",
      "and planted thorn hedges against the wild.", "",
      "Around its walls a kingdom grew:", "fields and houses, forges and spires."}},
    {"The Oath of Oriskar",
     {"Queen Oriskar, the first of the vale,",
      "bound the eight races by one oath:", "elvenkind and dragonkin, leviathians and golems,",
      "elementals and taipen, demons and angels.", "", "For a hundred years the vale knew peace."}},
    {"The Breaking",
     {"When the last of her line was laid to rest,", "the oath broke with her.", "",
      "Beyond the hills fifteen warlords rose,", "each hungry for the vale and its riches."}},
    {"A New Ruler",
     {"Now the vale turns to you.", "", "Lay roads, raise farms and houses,", "and let your people grow.",
      "Every building feeds the realm with fire, earth,", "light, nature, magic, metal, psychic might",
      "and darkness; gold and people follow."}},
    {"Merchants of the Roads",
     {"Traders still walk the old roads.", "", "Buy the secrets of their peoples,",
      "and you may train warriors of every race.", "Shape each unit in the unit editor",
      "before you send it out."}},
    {"Heralds of War",
     {"The warlords send heralds before them.", "", "When a host is announced, the countdown begins.",
      "Mind it well: when it runs out,", "the battle comes to your gates."}},
    {"The Capital",
     {"Should the capital fall, Thornvale falls with it.", "", "Defend it, and each victory brings",
      "new land to build on and a point of mastery", "to make your whole kingdom stronger."}},
    {"The Oath Renewed",
     {"Build, trade, train and stand firm.", "", "Renew the oath of Oriskar,", "and the vale will endure.",
      "", "Your reign begins."}},
};

bool StoryPageFrame(Frame& f) {
    if (f.index >= 8) {
        return true;
    }
    Canvas& c = f.canvas;
    const StoryPage& page = kStory[f.index];
    Rect r{f.cell.x + 6.0f, f.cell.y + 6.0f, f.cell.w - 12.0f, f.cell.h - 12.0f};
    TextPanel(f, r);
    const float cx = r.x + r.w * 0.5f;
    if (!Line(c, page.heading, FontFile(), 30, cx, r.y + 48.0f, kGoldLight)) {
        return false;
    }
    Rule(f, cx, r.y + 84.0f, 150.0f);
    if (!Paragraph(c, page.lines, kBodyFont, 19, cx, r.y + 125.0f, 30.0f, kParchment)) {
        return false;
    }
    const std::string number = std::to_string(f.index + 1) + " / 8";
    return Line(c, number, kItalicFont, 15, r.x + r.w - 24.0f, r.y + r.h - 24.0f, kDim, Align::Right) &&
           Line(c, "Click, Enter or Space: next page     Esc: begin at once", kItalicFont, 14, cx,
                r.y + r.h - 24.0f, kDim);
}

bool CreditsPanel(Frame& f) {
    Canvas& c = f.canvas;
    Rect r{f.cell.x + 6.0f, f.cell.y + 6.0f, f.cell.w - 12.0f, f.cell.h - 12.0f};
    TextPanel(f, r);
    const float cx = r.x + r.w * 0.5f;
    if (!Line(c, "Credits", FontFile(), 34, cx, r.y + 46.0f, kGoldLight)) {
        return false;
    }
    Rule(f, cx, r.y + 84.0f, 150.0f);
    struct Entry {
        const char* role;
        std::vector<std::string> names;
    };
    const Entry entries[] = {
        {"Thornvale Oriskar", {"made by the Thornvale Oriskar team"}},
        {"Design, programming, pictures and sound", {"the Thornvale Oriskar team"}},
        {"Typefaces", {"DejaVu Serif and Liberation Serif"}},
        {"Built with",
         {"SDL2, SDL2_image, SDL2_ttf and SDL2_mixer,", "OpenGL through libepoxy, GLM and TinyXML"}},
    };
    float y = r.y + 122.0f;
    for (const Entry& e : entries) {
        if (!Line(c, e.role, FontFile(), 20, cx, y, kGold)) {
            return false;
        }
        y += 28.0f;
        if (!Paragraph(c, e.names, kBodyFont, 18, cx, y, 25.0f, kParchment)) {
            return false;
        }
        y += 25.0f * static_cast<float>(e.names.size()) + 14.0f;
    }
    return Line(c, "Thank you for playing.", kItalicFont, 19, cx, r.y + r.h - 36.0f, kDim);
}

bool HowToPlayPanel(Frame& f) {
    Canvas& c = f.canvas;
    Rect r{f.cell.x + 6.0f, f.cell.y + 6.0f, f.cell.w - 12.0f, f.cell.h - 12.0f};
    TextPanel(f, r);
    const float cx = r.x + r.w * 0.5f;
    if (!Line(c, "How to Play", FontFile(), 32, cx, r.y + 42.0f, kGoldLight)) {
        return false;
    }
    Rule(f, cx, r.y + 76.0f, 150.0f);
    const std::vector<std::string> goal = {"Lay roads and raise buildings to gather the ten resources,",
                                           "buy unit technologies from passing merchants, train your army,",
                                           "and defend the capital when the invaders arrive."};
    if (!Paragraph(c, goal, kBodyFont, 17, cx, r.y + 106.0f, 25.0f, kParchment)) {
        return false;
    }
    const std::pair<const char*, const char*> controls[] = {
        {"Left click", "press a button or box; build with the chosen tool"},
        {"Hold and drag", "keep building along the way, such as a road"},
        {"Right click", "pick a unit to look at it"},
        {"W  A  S  D", "move the camera"},
        {"Up  /  Down", "tilt the perspective view"},
        {"C", "switch between the top view and perspective"},
        {"H", "toggle the unit and tile painters (twice at first)"},
        {"K", "skip the tutorial"},
        {"Esc", "pause the game, or go back"},
    };
    const float keyRight = r.x + 190.0f;
    const float textLeft = r.x + 215.0f;
    float y = r.y + 198.0f;
    for (const auto& [key, what] : controls) {
        if (!Line(c, key, FontFile(), 17, keyRight, y, kGold, Align::Right) ||
            !Line(c, what, kBodyFont, 17, textLeft, y, kParchment, Align::Left)) {
            return false;
        }
        y += 26.0f;
    }
    return Line(c, "The Kingdom, Unit and War tabs switch between the kingdom,", kItalicFont, 16, cx,
                r.y + r.h - 48.0f, kDim) &&
           Line(c, "the unit editor and the battle.", kItalicFont, 16, cx, r.y + r.h - 26.0f, kDim);
}

// Panel coordinates of the options layout: its buttons sit on the rows labelled here.
bool OptionsPanel(Frame& f) {
    Canvas& c = f.canvas;
    Rect r{f.cell.x + 6.0f, f.cell.y + 6.0f, f.cell.w - 12.0f, f.cell.h - 12.0f};
    TextPanel(f, r);
    const float cx = f.cell.x + f.cell.w * 0.5f;
    if (!Line(c, "Options", FontFile(), 34, cx, f.cell.y + 40.0f, kGoldLight)) {
        return false;
    }
    Rule(f, cx, f.cell.y + 72.0f, 140.0f);
    return Line(c, "Screen size", FontFile(), 19, cx, f.cell.y + 100.0f, kGold) &&
           Line(c, "Display and sound", FontFile(), 19, cx, f.cell.y + 250.0f, kGold);
}

bool PausePanel(Frame& f) {
    Canvas& c = f.canvas;
    Rect r{f.cell.x + 6.0f, f.cell.y + 6.0f, f.cell.w - 12.0f, f.cell.h - 12.0f};
    TextPanel(f, r);
    const float cx = f.cell.x + f.cell.w * 0.5f;
    if (!Line(c, "Paused", FontFile(), 34, cx, f.cell.y + 44.0f, kGoldLight)) {
        return false;
    }
    Rule(f, cx, f.cell.y + 78.0f, 100.0f);
    return Line(c, "Esc: back to the game", kItalicFont, 15, cx, f.cell.y + f.cell.h - 30.0f, kDim);
}

bool QuitPanel(Frame& f) {
    Canvas& c = f.canvas;
    Rect r{f.cell.x + 6.0f, f.cell.y + 6.0f, f.cell.w - 12.0f, f.cell.h - 12.0f};
    TextPanel(f, r);
    const float cx = f.cell.x + f.cell.w * 0.5f;
    if (!Line(c, "Leave Thornvale Oriskar?", FontFile(), 27, cx, f.cell.y + 52.0f, kGoldLight)) {
        return false;
    }
    Rule(f, cx, f.cell.y + 86.0f, 120.0f);
    return Line(c, "Space: leave          Esc: stay", kItalicFont, 17, cx, f.cell.y + 118.0f, kParchment);
}

Picture Single(const std::string& name, const std::string& type, int width, int height,
               std::function<bool(Frame&)> draw) {
    return {kFolder + name + ".xml", type, kFolder + name + ".png", width, height, 1, 1, {}, std::move(draw)};
}

} // namespace

void AppendFrontPictures(std::vector<Picture>& table) {
    table.push_back(Single("splashcorvessa", "FrontCorvessaSplash", 800, 600, CorvessaSplash));
    table.push_back(Single("splashlumbrake", "FrontLumbrakeSplash", 800, 600, LumbrakeSplash));
    table.push_back(Single("loading", "FrontLoading", 800, 600, LoadingPicture));
    table.push_back(Single("backdrop", "FrontBackdrop", 800, 600, Backdrop));
    table.push_back(Single("title", "FrontTitle", 640, 128, Title));
    table.push_back({kFolder + "menubuttons.xml", "FrontMenuButtons", kFolder + "menubuttons.png", 256, 56, 1,
                     kButtonCount, ButtonAnimations(), MenuButton});
    std::vector<AnimationRange> pages;
    for (int i = 0; i < 8; ++i) {
        pages.push_back({"Story" + std::to_string(i + 1), i, i});
    }
    table.push_back({kFolder + "storypages.xml", "FrontStoryPages", kFolder + "storypages.png", 640, 400, 4,
                     2, pages, StoryPageFrame});
    table.push_back(Single("credits", "FrontCredits", 600, 500, CreditsPanel));
    table.push_back(Single("howtoplay", "FrontHowToPlay", 680, 520, HowToPlayPanel));
    table.push_back(Single("options", "FrontOptions", 500, 400, OptionsPanel));
    table.push_back(Single("pause", "FrontPause", 300, 330, PausePanel));
    table.push_back(Single("quit", "FrontQuit", 460, 260, QuitPanel));
}

} // namespace gen
