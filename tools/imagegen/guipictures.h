// Pictures of the GUI system: the mouse pointer, the main window's background and the button sheet
// with the resource counters' pictures.
#pragma once

#include "pictures.h"

namespace gen {

bool GuiMousePointer(Frame& f);
// Fully transparent: the main window is drawn over the whole scene of every screen.
bool GuiMainWindow(Frame& f);
bool GuiButtonSheet(Frame& f);
// One single-frame animation per resource counter picture.
std::vector<AnimationRange> GuiButtonSheetAnimations();

inline constexpr int kButtonSheetRows = 4;
inline constexpr int kResourceIconCount = 10;

} // namespace gen
