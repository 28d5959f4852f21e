#pragma once

#include "geo/LatLon.h"

#include <optional>
#include <string_view>

namespace quendra {

// The centre of a Maidenhead square given as 4 ("JO65") or 6 ("JN58td") characters, in any
// case; nothing for any other text, including blanks around it.
std::optional<LatLon> locatorCentre(std::string_view locator);

}  // namespace quendra
