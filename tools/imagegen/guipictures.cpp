#include "guipictures.h"

#include "style.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace gen {

using namespace style;

bool GuiMousePointer(Frame& f) {
    const float x0 = f.cell.x, y0 = f.cell.y;
    std::vector<std::pair<float, float>> arrow = {{4, 2},      {4, 25},     {10, 19.5f},   {14.5f, 29},
                                                  {18.5f, 27}, {14, 17.5f}, {21.5f, 17.5f}};
    for (auto& [x, y] : arrow) {
        x += x0;
        y += y0;
    }
    Shape shape = Polygon(arrow);
    f.canvas.Glow(shape, WithAlpha(kInk, 0.5f), 2.0f);
    f.canvas.Draw(shape, Solid(kInk));
    f.canvas.Draw([shape](float x, float y) { return shape(x, y) + 1.5f; },
                  VerticalGradient(f.cell, kGoldLight, kGold));
    return true;
}

bool GuiMainWindow(Frame&) {
    return true;
}

namespace {

Shape Cut(Shape shape, Shape hole) {
    return [=](float x, float y) { return std::max(shape(x, y), -hole(x, y)); };
}

// The pictures of the ten resources, in resource order, each filling the square r.
void ResourceIcon(Canvas& c, const Rect& r, int resource) {
    const float cx = r.x + r.w * 0.5f, cy = r.y + r.h * 0.5f, u = r.w;
    switch (resource) {
    case 0: { // fire: a flame with a bright heart
        Shape outer = Polygon(Place(r, {{0.5f, 0.0f},
                                        {0.78f, 0.38f},
                                        {0.88f, 0.7f},
                                        {0.7f, 0.95f},
                                        {0.3f, 0.95f},
                                        {0.12f, 0.7f},
                                        {0.25f, 0.45f},
                                        {0.38f, 0.55f}}));
        c.Glow(outer, WithAlpha(kEmber, 0.6f), 2.0f);
        c.Draw(outer, VerticalGradient(r, Hex(0xf08a30), kEmber));
        c.Draw(
            Polygon(Place(r, {{0.52f, 0.4f}, {0.7f, 0.72f}, {0.6f, 0.92f}, {0.4f, 0.92f}, {0.32f, 0.74f}})),
            Solid(kGoldLight));
        break;
    }
    case 1: // earth: a brown hill of stone
        c.Draw(
            Polygon(Place(r, {{0.0f, 0.95f}, {0.3f, 0.3f}, {0.45f, 0.45f}, {0.65f, 0.15f}, {1.0f, 0.95f}})),
            VerticalGradient(r, Hex(0xb08a58), Hex(0x5a4028)));
        c.Draw(Polygon(Place(r, {{0.56f, 0.3f}, {0.65f, 0.15f}, {0.74f, 0.32f}, {0.65f, 0.28f}})),
               Solid(kParchment));
        break;
    case 2: // light: a sun with eight rays
        for (int i = 0; i < 8; ++i) {
            const float a = static_cast<float>(i) * 0.785398f;
            c.Draw(Segment(cx + std::cos(a) * u * 0.3f, cy + std::sin(a) * u * 0.3f,
                           cx + std::cos(a) * u * 0.46f, cy + std::sin(a) * u * 0.46f, 2.0f),
                   Solid(kGoldLight));
        }
        c.Glow(Circle(cx, cy, u * 0.22f), WithAlpha(kGoldLight, 0.8f), 2.0f);
        c.Draw(Circle(cx, cy, u * 0.22f), Solid(Hex(0xfff2b0)));
        break;
    case 3: { // nature: a leaf and its vein
        Shape leaf = [=](float x, float y) {
            return std::max(Circle(r.x + r.w * 0.3f, r.y + r.h * 0.6f, u * 0.45f)(x, y),
                            Circle(r.x + r.w * 0.7f, r.y + r.h * 0.4f, u * 0.45f)(x, y));
        };
        c.Draw(leaf, Solid(Hex(0x7ec850)));
        c.Draw(Segment(r.x + r.w * 0.15f, r.y + r.h * 0.85f, r.x + r.w * 0.8f, r.y + r.h * 0.2f, 1.5f),
               Solid(kMoss));
        break;
    }
    case 4: // ice: a six-armed frost star
        for (int i = 0; i < 3; ++i) {
            const float a = 0.523599f + static_cast<float>(i) * 1.047198f;
            const float dx = std::cos(a) * u * 0.45f, dy = std::sin(a) * u * 0.45f;
            c.Draw(Segment(cx - dx, cy - dy, cx + dx, cy + dy, 2.5f), Solid(Hex(0xc8ecff)));
        }
        c.Draw(Circle(cx, cy, u * 0.1f), Solid(Hex(0x78c0f0)));
        break;
    case 5: // metal: an ingot with a lit top
        c.Draw(Polygon(Place(r, {{0.2f, 0.35f}, {0.8f, 0.35f}, {1.0f, 0.8f}, {0.0f, 0.8f}})),
               Solid(Hex(0x6c7486)));
        c.Draw(Polygon(Place(r, {{0.2f, 0.35f}, {0.8f, 0.35f}, {0.86f, 0.5f}, {0.14f, 0.5f}})),
               Solid(Hex(0xc0c8d8)));
        break;
    case 6: { // psychic: an open eye
        Shape eye = [=](float x, float y) {
            return std::max(Circle(cx, cy - u * 0.35f, u * 0.55f)(x, y),
                            Circle(cx, cy + u * 0.35f, u * 0.55f)(x, y));
        };
        c.Glow(eye, WithAlpha(Hex(0x9a78e0), 0.7f), 2.0f);
        c.Draw(eye, Solid(Hex(0xe8dcff)));
        c.Draw(Circle(cx, cy, u * 0.16f), Solid(Hex(0x7a50d0)));
        c.Draw(Circle(cx, cy, u * 0.06f), Solid(kInk));
        break;
    }
    case 7: { // darkness: a black moon with a violet rim
        Shape moon = Cut(Circle(cx, cy, u * 0.42f), Circle(cx + u * 0.2f, cy - u * 0.12f, u * 0.34f));
        c.Glow(moon, WithAlpha(Hex(0xa850c8), 0.8f), 2.5f);
        c.Draw(moon, Solid(Hex(0x1a1420)));
        break;
    }
    case 8: // money: a gold coin
        c.Draw(Circle(cx, cy, u * 0.44f), Solid(Mix(kGold, kInk, 0.3f)));
        c.Draw(Circle(cx, cy, u * 0.38f), VerticalGradient(r, kGoldLight, kGold));
        c.Draw(Outline(Circle(cx, cy, u * 0.24f), 1.5f), Solid(Mix(kGold, kInk, 0.3f)));
        break;
    default: // population: a figure
        c.Draw(Circle(cx, r.y + r.h * 0.28f, u * 0.17f), Solid(kParchment));
        c.Draw(RoundRect({r.x + r.w * 0.22f, r.y + r.h * 0.5f, r.w * 0.56f, r.h * 0.45f}, u * 0.2f),
               Solid(kParchment));
        break;
    }
}

// The animation names the counters start, in resource order.
const char* const kResourceIconNames[kResourceIconCount] = {
    "FireResource",  "EarthResource",   "LightResource", "NatureResource", "IceResource",
    "MetalResource", "PsychicResource", "Force",         "Money",          "Unit"};

} // namespace

// Plain plates, one per row: night blue, ember, moss and a disabled grey. Labels are the layouts' own.
// Below them the resource counters: a night-blue plate with the resource's picture at its right end,
// leaving the left for the number.
bool GuiButtonSheet(Frame& f) {
    static const Rgba kTops[kButtonSheetRows] = {kSteel, Mix(kEmber, kGoldLight, 0.25f),
                                                 Mix(kMoss, kGoldLight, 0.2f), Hex(0x6a6a70)};
    static const Rgba kBottoms[kButtonSheetRows] = {kNight, Mix(kEmber, kInk, 0.35f), Mix(kMoss, kInk, 0.4f),
                                                    Hex(0x34343a)};
    const bool counter = f.index >= kButtonSheetRows;
    const int row = counter ? 0 : std::clamp(f.index, 0, kButtonSheetRows - 1);
    Rect plate{f.cell.x + 1.0f, f.cell.y + 1.0f, f.cell.w - 2.0f, f.cell.h - 2.0f};
    Panel(f.canvas, plate, 6.0f, kTops[row], kBottoms[row]);
    if (counter) {
        const float side = plate.h - 10.0f;
        ResourceIcon(f.canvas, {plate.x + plate.w - side - 7.0f, plate.y + 5.0f, side, side},
                     f.index - kButtonSheetRows);
    }
    return true;
}

std::vector<AnimationRange> GuiButtonSheetAnimations() {
    std::vector<AnimationRange> out;
    for (int k = 0; k < kResourceIconCount; ++k) {
        out.push_back({kResourceIconNames[k], kButtonSheetRows + k, kButtonSheetRows + k});
    }
    return out;
}

} // namespace gen
