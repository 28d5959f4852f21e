#pragma once

#include "spots/Clock.h"
#include "spots/SpotParsers.h"

#include <optional>
#include <string_view>

namespace quendra {

// One line of a node's `sh/dx` listing, with the full date the line carries.
struct ListedSpot {
    ParsedSpot spot;
    SystemTime time{};
    bool operator==(const ListedSpot& other) const;
};

// "  14025.0 ZZ2CD        7-Dec-2026 1234Z CW 599             <ZZ1AB>": frequency in kHz, the
// spotted call, d-Mon-yyyy, hhmmZ, the comment and the spotter in angle brackets. Anything else
// (a live "DX de" announcement, a prompt, a date that does not exist) gives nothing.
std::optional<ListedSpot> parseSpotListing(std::u16string_view line);

}  // namespace quendra
