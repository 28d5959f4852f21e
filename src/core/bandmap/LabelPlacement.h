#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quendra {

// Where a call would stand: the pixel row of its frequency, and how new it is (a larger number is
// newer, as the store's serials are).
struct LabelWish {
    double y;
    std::uint64_t newness;
};

inline constexpr double kLabelNotPlaced = -1.0;

// Places calls of `labelHeight` pixels between `top` and `bottom` so that none overlaps another,
// they stand in the order given (the wishes must come in frequency order, so y never decreases),
// and each stays as near its frequency as that allows: a crowd spreads evenly about its
// frequencies and leaves calls far from it where they are. When there is room for fewer calls
// than are wished, the newest ones are placed and the others get kLabelNotPlaced. Returns the
// centre row of each call, in the order of the wishes.
std::vector<double> placeLabels(std::span<const LabelWish> wishes, double labelHeight, double top, double bottom);

}  // namespace quendra
