#pragma once

#include "dxcc/CountryFile.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quendra {

// The country of one call, with the item's overrides already applied.
struct CountryMatch {
    int entityIndex = -1;  // into CountryLookup::entities(); -1: no country
    int cqZone = 0;
    int ituZone = 0;
    Continent continent = Continent::Unknown;
    LatLon position;
    double utcOffsetHours = 0;

    bool known() const { return entityIndex >= 0; }
};

// Resolves calls to countries. A lookup tries the exact calls, then the prefixes from the
// longest the file holds down to one character, each a hash probe, so its cost does not grow
// with the size of the file.
class CountryLookup {
public:
    // The entities counted only for a contest award list (a '*' before the primary prefix, WAE)
    // repeat calls and areas of a DXCC entity. Left out, a call resolves to its DXCC entity;
    // taken in, their items win over the DXCC entity's for the same text.
    enum class ContestOnly { Ignore, Include };

    CountryLookup() = default;  // knows no country
    explicit CountryLookup(CountryFile file, ContestOnly contestOnly = ContestOnly::Ignore);

    // Any case, blanks around it allowed. Portable forms: a suffix /P /M /A /QRP /QRPP /LH /B
    // is ignored, /MM and /AM (at sea, in the air) have no country, a single digit /3 moves the
    // call to that call area, and of two parts the shorter one is taken for a location prefix
    // (ZY/ZZ1AB), a longer second part only when it is a known prefix (ZZ1AB/ZY).
    CountryMatch find(std::string_view call) const;
    CountryMatch find(std::u16string_view call) const;

    const std::vector<CountryEntity>& entities() const { return file_.entities; }
    const CountryEntity* entity(const CountryMatch& match) const;

private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    using Index = std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>>;

    CountryMatch matchOf(const CountryItem& item) const;
    const CountryItem* exactCall(std::string_view call) const;
    const CountryItem* longestPrefix(std::string_view call) const;
    CountryMatch locate(std::string_view call) const;

    CountryFile file_;
    Index calls_;
    Index prefixes_;
    std::size_t longestPrefix_ = 0;
};

}  // namespace quendra
