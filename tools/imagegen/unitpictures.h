// Pictures of the units: one soldier sheet per race, standing, warping in, striking and falling.
#pragma once

#include "pictures.h"

#include <vector>

namespace gen {

// Every sheet has the same grid: frame 0 stands, then the warp-in, the attack and the death.
inline constexpr int kUnitFrame = 48;
inline constexpr int kUnitColumns = 4;
inline constexpr int kUnitRows = 3;

void AppendUnitPictures(std::vector<Picture>& table);

} // namespace gen
