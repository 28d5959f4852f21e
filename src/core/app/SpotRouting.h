#pragma once

#include "spots/SpotStore.h"

#include <string_view>

namespace quendra {

// Tests one received line for a spot announcement and, when it begins like one, hands it to the
// parser of its form. Returns the stored spot's index, or -1 when the line gave no new spot.
int parseSpotLine(SpotStore& store, std::u16string_view line, std::u16string_view nodeName);

}  // namespace quendra
