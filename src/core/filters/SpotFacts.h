#pragma once

#include "dxcc/Continent.h"
#include "modes/Mode.h"
#include "spots/Spot.h"
#include "spots/SpotDetails.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quendra {

class CountryLookup;

// What a spot resolves to, worked out once when it arrives so that filters and watch entries
// only compare small values: the country lookup and the mode rules never run per filter.
struct SpotFacts {
    int band = -1;  // index into amateurBands(), -1 outside every band
    Mode mode = Mode::Unknown;
    ModeGroup modeGroup = ModeGroup::Unknown;
    Continent dxContinent = Continent::Unknown;
    Continent spotterContinent = Continent::Unknown;
    bool skimmer = false;
    std::u16string station;       // upper case
    std::string country;          // the country file's name, "" when unknown
    std::string countryPrefix;    // the country's primary prefix ("DL"), "" when unknown
    bool needed = false;          // the operator's log still needs the spot (set by its reader)
};

// A skimmer's automatic report: its spotter call ends in "-#", or its comment has the skimmer
// shape, a mode word, a signal report and "dB" ("CW 24 dB 28 WPM CQ", "FT8 -12 dB").
bool isSkimmerSpot(std::u16string_view spotter, std::u16string_view comment);

SpotFacts resolveSpotFacts(std::u16string_view station, std::u16string_view spotter, double kHz,
                           std::u16string_view comment, const CountryLookup& countries);
SpotFacts resolveSpotFacts(const Spot& spot, double kHz, const CountryLookup& countries);

// The compact form kept with every stored spot, and the facts made from it again on demand.
SpotDetails resolveSpotDetails(std::u16string_view station, std::u16string_view spotter, double kHz,
                               std::u16string_view comment, const CountryLookup& countries);
SpotFacts factsOf(const Spot& spot, const SpotDetails& details, const CountryLookup& countries);

// Resolves every stored spot through one country lookup, which must outlive it.
class CountryResolver : public SpotResolver {
public:
    explicit CountryResolver(const CountryLookup& countries) : countries_(countries) {}
    SpotDetails resolve(const Spot& spot, double kHz) const override;

private:
    const CountryLookup& countries_;
};

}  // namespace quendra
