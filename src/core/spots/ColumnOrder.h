#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace quendra {

// A list's column order as it is kept in the settings: one little-endian 32-bit integer per
// column, entry k naming the column shown at position k.
std::vector<std::uint8_t> encodeColumnOrder(const std::vector<int>& order);

// The order for `columns` columns, or nothing when the bytes are too few (extra bytes are
// ignored) or the entries are not each column exactly once: such a value cannot have come from
// a list of that many columns, and applying it would hide or duplicate columns.
std::optional<std::vector<int>> decodeColumnOrder(const std::vector<std::uint8_t>& bytes,
                                                  int columns);

}  // namespace quendra
