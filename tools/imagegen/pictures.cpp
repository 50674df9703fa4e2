#include "pictures.h"

#include "frontpictures.h"
#include "guipictures.h"
#include "hudpictures.h"
#include "kingdompictures.h"
#include "scenepictures.h"
#include "style.h"
#include "unitpictures.h"

#include <cmath>

namespace gen {

using namespace style;

namespace {

// The fallback for anything missing: a checker with a question mark, plain enough to spot at once.
bool DefaultTexture(Frame& f) {
    Canvas& c = f.canvas;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            Rect cell{f.cell.x + x * 8.0f, f.cell.y + y * 8.0f, 8.0f, 8.0f};
            c.Draw(RoundRect(cell, 0.0f), Solid((x + y) % 2 == 0 ? kSlate : kNight));
        }
    }
    Rect plate{f.cell.x + 14.0f, f.cell.y + 14.0f, 36.0f, 36.0f};
    Panel(c, plate, 7.0f, kEmber, Mix(kEmber, kInk, 0.5f));
    return Label(c, "?", 24, plate.x + plate.w * 0.5f, plate.y + plate.h * 0.5f, kParchment);
}

// Aura rings for units, one frame per aura name; the bounding box shows frame 0.
const char* const kAuraNames[] = {"AuraRed",    "AuraOrange", "AuraYellow", "AuraGreen", "AuraBlue",
                                  "AuraIndigo", "AuraViolet", "AuraBlack",  "AuraNone"};
const uint32_t kAuraColours[] = {0xd83a2c, 0xe8862a, 0xeed040, 0x58b848,
                                 0x3a78e0, 0x5a48c0, 0xa850c8, 0x1a1420};

std::vector<AnimationRange> AuraAnimations() {
    std::vector<AnimationRange> out;
    for (int i = 0; i < 9; ++i) {
        out.push_back({kAuraNames[i], i, i});
    }
    return out;
}

bool Aura(Frame& f) {
    if (f.index >= 8) {
        return true; // AuraNone: nothing at all
    }
    float cx = f.cell.x + f.cell.w * 0.5f;
    float cy = f.cell.y + f.cell.h * 0.5f;
    if (f.index == 7) {
        // A black aura needs a pale rim to be seen on dark ground.
        Ring(f.canvas, cx, cy, 11.0f, 4.0f, Hex(0xb8b0c8, 0.7f));
    }
    Ring(f.canvas, cx, cy, 11.0f, 3.0f, Hex(kAuraColours[f.index]));
    return true;
}

// The hover and selection highlight: a gold frame with corner brackets over a faint wash.
bool Overlay(Frame& f) {
    Canvas& c = f.canvas;
    Rect r{f.cell.x + 4.0f, f.cell.y + 4.0f, f.cell.w - 8.0f, f.cell.h - 8.0f};
    c.Draw(RoundRect(r, 6.0f), Solid(WithAlpha(kGoldLight, 0.14f)));
    Shape frame = Outline(RoundRect(r, 6.0f), 2.0f);
    c.Glow(frame, WithAlpha(kGold, 0.7f), 4.0f);
    c.Draw(frame, Solid(kGold));
    const float len = 14.0f;
    for (int corner = 0; corner < 4; ++corner) {
        float x = corner % 2 == 0 ? r.x - 1.5f : r.x + r.w - len + 1.5f;
        float y = corner < 2 ? r.y - 1.5f : r.y + r.h - 4.5f;
        c.Draw(RoundRect({x, y, len, 3.0f}, 1.0f), Solid(kGoldLight));
        float vx = corner % 2 == 0 ? r.x - 1.5f : r.x + r.w - 1.5f;
        float vy = corner < 2 ? r.y - 1.5f : r.y + r.h - len + 1.5f;
        c.Draw(RoundRect({vx, vy, 3.0f, len}, 1.0f), Solid(kGoldLight));
    }
    return true;
}

// Fader frames: 0 to 7 darken from clear to black, 8 to 15 lighten from black back to clear.
constexpr int kFadeSteps = 8;

bool Fade(Frame& f) {
    int step = f.index < kFadeSteps ? f.index : 2 * kFadeSteps - 1 - f.index;
    float alpha = static_cast<float>(step) / static_cast<float>(kFadeSteps - 1);
    f.canvas.Fill(Solid(WithAlpha(kInk, alpha)));
    return true;
}

} // namespace

// The table before the HUD pictures join it.
static const std::vector<Picture>& BasePictures() {
    static const std::vector<Picture> pictures = {
        {"../Assets/defaulttexture.xml",
         "DefaultTexture",
         "../Assets/defaulttexture.png",
         64,
         64,
         1,
         1,
         {},
         DefaultTexture},
        {"../Assets/krbcspr.xml", "BoundingBoxSprite", "../Assets/krbcspr.png", 32, 32, 3, 3,
         AuraAnimations(), Aura},
        {"../Assets/overlay.xml", "Overlay", "../Assets/overlay.png", 64, 64, 1, 1, {}, Overlay},
        {"../Assets/Textures/FadeAnimation/fade.xml",
         "FadeAnimation",
         "../Assets/Textures/FadeAnimation/fade.png",
         8,
         8,
         4,
         4,
         {{"FadeToBlack", 0, kFadeSteps - 1}, {"UnfadeFromBlack", kFadeSteps, 2 * kFadeSteps - 1}},
         Fade},
        {"../Assets/fonts.xml",
         "SpriteFontHud",
         "../Assets/Fonts/fonts.png",
         kGlyphCell,
         kGlyphCell,
         kGlyphColumns,
         kGlyphRows,
         {},
         GlyphSheet(kHudGlyphs)},
        {"../Assets/Fonts/bluewhite_font.xml",
         "SpriteFontBlueWhite",
         "../Assets/Fonts/bluewhite_font.png",
         kGlyphCell,
         kGlyphCell,
         kGlyphColumns,
         kGlyphRows,
         {},
         GlyphSheet(kBlueWhiteGlyphs)},
        {"../Assets/Fonts/blackred_font.xml",
         "SpriteFontBlackRed",
         "../Assets/Fonts/blackred_font.png",
         kGlyphCell,
         kGlyphCell,
         kGlyphColumns,
         kGlyphRows,
         {},
         GlyphSheet(kBlackRedGlyphs)},
        {"../Assets/Fonts/purple_font.xml",
         "SpriteFontPurple",
         "../Assets/Fonts/purple_font.png",
         kGlyphCell,
         kGlyphCell,
         kGlyphColumns,
         kGlyphRows,
         {},
         GlyphSheet(kPurpleGlyphs)},
        {"../Assets/Fonts/green_font.xml",
         "SpriteFontGreen",
         "../Assets/Fonts/green_font.png",
         kGlyphCell,
         kGlyphCell,
         kGlyphColumns,
         kGlyphRows,
         {},
         GlyphSheet(kGreenGlyphs)},
        {"../Assets/worldarrow.xml",
         "WorldMarkerArrow",
         "../Assets/worldarrow.png",
         64,
         64,
         1,
         1,
         {},
         WorldArrow},
        {"../Assets/worldselect.xml",
         "WorldMarkerSelect",
         "../Assets/worldselect.png",
         32,
         128,
         kSelectGlowFrames,
         1,
         {{"UnitSelectGlow", 0, kSelectGlowFrames - 1}},
         WorldSelectGlow},
        {"../Assets/camera.xml", "CameraSprite", "../Assets/camera.png", 32, 32, 1, 1, {}, CameraIcon},
        {"../Assets/krguimouseptr.xml",
         "GUIMousePointer",
         "../Assets/krguimouseptr.png",
         32,
         32,
         1,
         1,
         {},
         GuiMousePointer},
        {"../Assets/krguibgtest.xml",
         "GUIMainWindow",
         "../Assets/krguibgtest.png",
         8,
         8,
         1,
         1,
         {},
         GuiMainWindow},
        {"../Assets/guibuttonsheet.xml", "GUIButtonSheet", "../Assets/guibuttonsheet.png", 128, 32, 1,
         kButtonSheetRows + kResourceIconCount, GuiButtonSheetAnimations(), GuiButtonSheet},
    };
    return pictures;
}

const std::vector<Picture>& Pictures() {
    static const std::vector<Picture> pictures = [] {
        std::vector<Picture> table = BasePictures();
        AppendHudPictures(table);
        AppendKingdomPictures(table);
        AppendFrontPictures(table);
        AppendUnitPictures(table);
        return table;
    }();
    return pictures;
}

} // namespace gen
