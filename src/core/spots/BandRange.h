#pragma once

#include <optional>
#include <string_view>

namespace quendra {

// A band as a pair of bounds in kHz.
struct BandRange {
    double low = 0.0;
    double high = 0.0;

    // A frequency lies in a band when low <= kHz <= high: a spot exactly on a bound is listed.
    bool contains(double kHz) const { return kHz >= low && kHz <= high; }
};

inline constexpr BandRange kBandAll{0.0, 1'000'000'000.0};
inline constexpr BandRange kBandHF{0.0, 30'000.0};
inline constexpr BandRange kBandVHF{50'000.0, 146'000.0};
inline constexpr BandRange kBandUHF{430'000.0, 1'300'000.0};

// The band of a band-tree item text ("All", "HF", "VHF", "UHF", compared exactly), if any.
std::optional<BandRange> bandByName(std::u16string_view name);

}  // namespace quendra
