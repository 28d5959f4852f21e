#include "spots/ColumnOrder.h"

namespace quendra {

std::vector<std::uint8_t> encodeColumnOrder(const std::vector<int>& order) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(order.size() * 4);
    for (int column : order) {
        const auto value = static_cast<std::uint32_t>(column);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return bytes;
}

std::optional<std::vector<int>> decodeColumnOrder(const std::vector<std::uint8_t>& bytes,
                                                  int columns) {
    if (columns <= 0 || bytes.size() / 4 < static_cast<std::size_t>(columns))
        return std::nullopt;
    std::vector<int> order;
    std::vector<bool> seen(static_cast<std::size_t>(columns), false);
    for (std::size_t k = 0; k < static_cast<std::size_t>(columns); ++k) {
        std::uint32_t value = 0;
        for (std::size_t b = 0; b < 4; ++b)
            value |= std::uint32_t{bytes[k * 4 + b]} << (8 * b);
        const auto column = static_cast<std::int32_t>(value);
        if (column < 0 || column >= columns || seen[static_cast<std::size_t>(column)])
            return std::nullopt;
        seen[static_cast<std::size_t>(column)] = true;
        order.push_back(column);
    }
    return order;
}

}  // namespace quendra
