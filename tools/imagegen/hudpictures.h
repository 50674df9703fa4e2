// Pictures of the game screens' HUD: the box frames, race logos and mastery badges, the buttons and
// tab buttons the boxes wear, the mail icons and the six faces of the skybox.
#pragma once

#include "pictures.h"

#include <vector>

namespace gen {

void AppendHudPictures(std::vector<Picture>& table);

} // namespace gen
