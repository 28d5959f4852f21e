#pragma once

#include <string>
#include <string_view>

namespace quendra {

// A frequency in kHz as the band map reads it out: thousands grouped by commas and one decimal,
// "14,025.0". Rounded to the nearest 100 Hz.
std::u16string bandMapFrequencyText(double kHz);

// A spot as one line of the map's list: frequency, call, mode and status, each left out when
// empty, "14,025.0 ZZ2CD CW New DXCC".
std::u16string bandMapItemText(double kHz, std::u16string_view call, std::u16string_view mode,
                               std::u16string_view status);

}  // namespace quendra
