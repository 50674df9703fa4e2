// The house style of every generated picture: one palette, one font, panels with a dark edge, a
// gradient body and a gold trim, and soft glows. New pictures should be built from these.
#pragma once

#include "canvas.h"

#include <string>

namespace gen::style {

// Night blue to parchment, with gold as the accent.
inline const Rgba kInk = Hex(0x0d1120);
inline const Rgba kNight = Hex(0x182038);
inline const Rgba kSlate = Hex(0x2c3a5a);
inline const Rgba kSteel = Hex(0x50658c);
inline const Rgba kParchment = Hex(0xeadcb4);
inline const Rgba kGold = Hex(0xd8ac48);
inline const Rgba kGoldLight = Hex(0xf6dc92);
inline const Rgba kEmber = Hex(0xb8442c);
inline const Rgba kMoss = Hex(0x5f8a3c);

// The one typeface (DejaVu Serif Bold, from fonts-dejavu-core).
const std::string& FontFile();

// A raised panel: dark edge, vertical gradient body, a thin gold trim just inside the edge.
void Panel(Canvas& canvas, Rect r, float radius, Rgba top, Rgba bottom);
// A glowing ring, used for auras and highlights.
// Points given in a 0..1 square, placed in a rectangle.
Points Place(const Rect& r, Points unit);
void Ring(Canvas& canvas, float cx, float cy, float radius, float width, Rgba colour);
// Centred text with a one-pixel dark drop shadow.
bool Label(Canvas& canvas, const std::string& text, int pointSize, float cx, float cy, Rgba colour);

} // namespace gen::style
