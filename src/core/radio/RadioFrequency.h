#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendra {

// Radios stop far below this; a spot above it is a typing error, not a frequency to send.
inline constexpr std::int64_t kMaxRadioHertz = 1'000'000'000'000;  // 1 THz

// The frequency of a spot as a node writes it, in kHz ("14025.0", "7001,25", "  3525.1"), in Hz.
// Worked out digit by digit, so "7001.25" is exactly 7001250 and never 7001249 through a double.
// Digits past the Hz place round half up. Blanks around the number are allowed; anything else
// (signs, letters, two separators, zero, more than kMaxRadioHertz) gives no frequency.
std::optional<std::int64_t> hertzFromKilohertzText(std::u16string_view text);

// "14,025.000" for 14025000 Hz: kHz with thousands commas and three decimals.
std::string kilohertzDisplayText(std::int64_t hertz);

}  // namespace quendra
