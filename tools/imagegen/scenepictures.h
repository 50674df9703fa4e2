// Pictures of the scene objects: the glyph sheets of the sprite fonts, the two world markers and the
// camera's sprite.
#pragma once

#include "pictures.h"

namespace gen {

// Glyph sheets are 16 x 6 frames: frame k holds the character 33 + k ('!' to '~'), frames 94 (code
// 127) and 95 (the space, the sheet's last frame) are blank.
inline constexpr int kGlyphCell = 32;
inline constexpr int kGlyphColumns = 16;
inline constexpr int kGlyphRows = 6;

struct GlyphStyle {
    Rgba fill;
    Rgba edge;
};

inline const GlyphStyle kHudGlyphs{Hex(0xeadcb4), Hex(0x0d1120)};
inline const GlyphStyle kBlueWhiteGlyphs{Hex(0xffffff), Hex(0x2a5ec8)};
inline const GlyphStyle kBlackRedGlyphs{Hex(0x101010), Hex(0xc02a24)};
inline const GlyphStyle kPurpleGlyphs{Hex(0xb878e8), Hex(0x1e0c30)};
inline const GlyphStyle kGreenGlyphs{Hex(0x78d048), Hex(0x0c2008)};

std::function<bool(Frame&)> GlyphSheet(GlyphStyle style);

// A gold arrow pointing down at what to look at.
bool WorldArrow(Frame& f);
// A column of light under the selected unit; its frames shimmer upwards.
inline constexpr int kSelectGlowFrames = 8;
bool WorldSelectGlow(Frame& f);
bool CameraIcon(Frame& f);

} // namespace gen
