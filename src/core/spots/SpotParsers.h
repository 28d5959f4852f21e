#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quendra {

// The fields an announcement carries, read from its text alone. Author and station come folded to
// upper case; the frequency is the text as sent, in kHz by cluster convention.
struct ParsedSpot {
    std::u16string station;
    std::u16string author;
    std::u16string frequency;
    std::u16string info;
    std::u16string gmt;  // "hh:mm", or empty when the text holds no time
    bool operator==(const ParsedSpot&) const = default;
};

// "DX de AUTHOR:  FREQUENCY  STATION  comment ... hhmmZ" with the comment and the time at fixed
// columns.
std::optional<ParsedSpot> parseColumnForm(std::u16string_view text);
// "hhmmZ DX de AUTHOR: FREQUENCY STATION comment", words separated by spaces.
std::optional<ParsedSpot> parseTimedForm(std::u16string_view text);

}  // namespace quendra
