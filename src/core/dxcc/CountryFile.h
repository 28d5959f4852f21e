#pragma once

#include "dxcc/Continent.h"
#include "geo/LatLon.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// Bounds on what a country file may hold. The real file is a third of a megabyte with about 350
// entities and 30,000 items, prefixes of at most 5 characters and calls of at most 14; anything
// far beyond these is not a country file, and stopping early keeps a damaged one cheap.
inline constexpr std::size_t kMaxCountryFileBytes = 16u * 1024u * 1024u;
inline constexpr std::size_t kMaxCountryEntities = 5000;
inline constexpr std::size_t kMaxCountryItems = 1'000'000;
inline constexpr std::size_t kMaxCountryPrefixLength = 12;
inline constexpr std::size_t kMaxCallLength = 24;
inline constexpr std::size_t kMaxCountryNameLength = 100;

struct CountryEntity {
    std::string name;
    std::string primaryPrefix;  // without the '*' that marks a contest-only entity
    bool contestOnly = false;   // counts only for one contest award list (WAE), not for DXCC
    int cqZone = 0;
    int ituZone = 0;
    Continent continent = Continent::Unknown;
    LatLon position;            // east-positive: the file's longitude with its sign turned
    double utcOffsetHours = 0;  // local time = UTC + this (the file states UTC - local)
};

// What an item changes for the calls it matches; unset fields take the entity's value.
struct CountryOverrides {
    std::optional<int> cqZone;
    std::optional<int> ituZone;
    std::optional<Continent> continent;
    std::optional<LatLon> position;        // east-positive, like the entity's
    std::optional<double> utcOffsetHours;  // local time = UTC + this
};

struct CountryItem {
    std::string text;        // upper case, without the '=' or overrides
    bool exactCall = false;  // "=CALL": matches that whole call only
    std::uint32_t entity = 0;
    CountryOverrides overrides;
};

struct CountryFile {
    std::vector<CountryEntity> entities;
    std::vector<CountryItem> items;  // in file order
};

struct CountryFileError {
    int line = 0;  // 1-based; 0 when the fault is the file as a whole
    std::string message;

    // "line 12: ...", for the user and the log.
    std::string describe() const;
};

struct CountryFileResult {
    std::optional<CountryFile> file;
    CountryFileError error;  // meaningful when there is no file

    bool ok() const { return file.has_value(); }
};

// Reads a country file in the common `cty.dat` layout. Damaged text gives the first fault found,
// never a partial table; the work is linear in the text's length.
CountryFileResult parseCountryFile(std::string_view text);

}  // namespace quendra
