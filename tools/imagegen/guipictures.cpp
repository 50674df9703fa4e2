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

// Plain plates, one per row: night blue, ember, moss and a disabled grey. Labels are the layouts' own.
bool GuiButtonSheet(Frame& f) {
    static const Rgba kTops[kButtonSheetRows] = {kSteel, Mix(kEmber, kGoldLight, 0.25f),
                                                 Mix(kMoss, kGoldLight, 0.2f), Hex(0x6a6a70)};
    static const Rgba kBottoms[kButtonSheetRows] = {kNight, Mix(kEmber, kInk, 0.35f), Mix(kMoss, kInk, 0.4f),
                                                    Hex(0x34343a)};
    const int row = std::clamp(f.index, 0, kButtonSheetRows - 1);
    Rect plate{f.cell.x + 1.0f, f.cell.y + 1.0f, f.cell.w - 2.0f, f.cell.h - 2.0f};
    Panel(f.canvas, plate, 6.0f, kTops[row], kBottoms[row]);
    return true;
}

} // namespace gen
