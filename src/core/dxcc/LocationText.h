#pragma once

#include "dxcc/CountryLookup.h"

#include <string>
#include <string_view>

namespace quendra {

// Where a station is, as a few lines for a tooltip: its country and primary prefix, continent,
// zones, and the bearing and distance from the operator's locator when one is given and valid.
// Empty when the call has no country.
std::u16string locationText(std::u16string_view station, const CountryLookup& countries,
                            std::string_view homeLocator);

}  // namespace quendra
