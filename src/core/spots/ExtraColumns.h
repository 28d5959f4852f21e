#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// The list's optional columns, after the six it always has. Hidden until the operator asks for
// them; the settings name them by their titles, so the list survives a reordering here.
enum class ExtraColumn : std::uint8_t {
    Country,
    Continent,
    CqZone,
    Mode,
    Age,
    SpotterCountry,
    SpotterContinent,
};
inline constexpr int kExtraColumnCount = 7;

std::u16string_view extraColumnTitle(ExtraColumn column);

// Titles separated by commas, blanks around them allowed; an unknown or repeated title is
// skipped, so a damaged value loses only what is damaged.
std::vector<ExtraColumn> parseExtraColumns(std::u16string_view text);
std::u16string extraColumnsText(const std::vector<ExtraColumn>& columns);

// The same list by titles alone, for columns the features add as well as the ones above: blanks
// around a title dropped, an empty or repeated one skipped.
std::vector<std::u16string> parseColumnTitles(std::u16string_view text);
std::u16string columnTitlesText(const std::vector<std::u16string>& titles);

// Whole numbers separated by commas, for the widths of the shown extra columns; anything else
// reads as -1 (no width kept).
std::vector<int> parseWidthList(std::u16string_view text);
std::u16string widthListText(const std::vector<int>& widths);

}  // namespace quendra
