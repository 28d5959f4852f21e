#pragma once

#include <string_view>

namespace quendra {

// How a received line announces a spot: "DX" at its start (column form), four digits and 'Z'
// at its start (time-first form), or not at all.
enum class SpotForm { None, Column, Timed };

SpotForm detectSpotForm(std::u16string_view line);

}  // namespace quendra
