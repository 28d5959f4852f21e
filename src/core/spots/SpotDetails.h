#pragma once

#include "dxcc/Continent.h"
#include "modes/Mode.h"
#include "spots/Spot.h"

#include <cstdint>

namespace quendra {

// What a stored spot resolves to beyond its text, worked out once when it arrives so that views,
// filters and alerts never look a call up again. Small on purpose: every stored spot has one.
struct SpotDetails {
    std::int16_t dxEntity = -1;       // into the country lookup's entities; -1: unknown
    std::int16_t spotterEntity = -1;
    std::int8_t band = -1;            // into amateurBands(); -1: outside every band
    std::uint8_t cqZone = 0;          // 0: unknown
    std::uint8_t ituZone = 0;
    Continent dxContinent = Continent::Unknown;
    Continent spotterContinent = Continent::Unknown;
    Mode mode = Mode::Unknown;
    bool skimmer = false;
};

// Works the details of a spot out; the store asks it once per spot.
class SpotResolver {
public:
    virtual ~SpotResolver() = default;
    virtual SpotDetails resolve(const Spot& spot, double kHz) const = 0;
};

}  // namespace quendra
