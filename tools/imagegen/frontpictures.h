// Pictures of the front-end screens: the two splashes, the loading picture, the night backdrop and the
// title, the labelled menu buttons, the story pages and the panels of the credits, how to play, options,
// pause and quit screens.
#pragma once

#include "pictures.h"

#include <vector>

namespace gen {

void AppendFrontPictures(std::vector<Picture>& table);

} // namespace gen
