#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quendra {

enum class Continent : std::uint8_t {
    Unknown, Africa, Antarctica, Asia, Europe, NorthAmerica, Oceania, SouthAmerica
};

// The two-letter code the country file and the award lists use ("EU"), "" for Unknown.
std::string_view continentCode(Continent continent);

// The continent of an upper-case two-letter code, nothing for any other text.
std::optional<Continent> continentFromCode(std::string_view code);

}  // namespace quendra
