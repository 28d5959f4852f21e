#pragma once

#include "dxcc/CountryLookup.h"

#include <string_view>
#include <utility>

namespace quendra::testing {

// Made-up entities in the country file's layout; ZZ and ZY stand for no real country.
inline constexpr std::string_view kTwoCountries =
    "Zedland:     14:  28:  EU:   51.00:   -10.00:    -1.0:  ZZ:\n"
    "    ZZ;\n"
    "Ypsiland:    05:  08:  NA:   37.60:    91.87:     5.0:  ZY:\n"
    "    ZY;\n";

inline CountryLookup twoCountries() { return CountryLookup(std::move(*parseCountryFile(kTwoCountries).file)); }

}  // namespace quendra::testing
