// Pictures of the kingdom: the ground tiles seen from above, the buildings standing on them, the
// rotating selection ring and the demolish marker.
#pragma once

#include "pictures.h"

#include <vector>

namespace gen {

void AppendKingdomPictures(std::vector<Picture>& table);

} // namespace gen
