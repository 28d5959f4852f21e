#include "dxcc/Continent.h"

#include <array>

namespace quendra {

namespace {

constexpr std::array<std::string_view, 8> kCodes{"", "AF", "AN", "AS", "EU", "NA", "OC", "SA"};

}  // namespace

std::string_view continentCode(Continent continent) {
    const auto index = static_cast<std::size_t>(continent);
    return index < kCodes.size() ? kCodes[index] : std::string_view{};
}

std::optional<Continent> continentFromCode(std::string_view code) {
    for (std::size_t i = 1; i < kCodes.size(); ++i) {
        if (kCodes[i] == code)
            return static_cast<Continent>(i);
    }
    return std::nullopt;
}

}  // namespace quendra
