#pragma once

#include "modes/Mode.h"

#include <span>
#include <string_view>

namespace quendra {

// An amateur band by its usual name, with its edges in kHz over all three IARU regions.
struct AmateurBand {
    std::string_view name;  // "160m" ... "23cm"
    double lowKHz;
    double highKHz;
};

// 160m to 23cm, lowest first.
std::span<const AmateurBand> amateurBands();

// The band holding `kHz` (edges included), or null outside every band.
const AmateurBand* amateurBandAt(double kHz);

// The mode the band plan gives `kHz`: the FT8 calling frequencies first, then the CW, digital
// and phone segments of 160m to 70cm. Unknown outside them.
Mode modeFromBandPlan(double kHz);

}  // namespace quendra
