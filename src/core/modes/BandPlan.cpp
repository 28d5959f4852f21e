#include "modes/BandPlan.h"

#include <array>
#include <cmath>

namespace quendra {

namespace {

constexpr std::array<AmateurBand, 15> kBands{{
    {"160m", 1800, 2000},
    {"80m", 3500, 4000},
    {"60m", 5330, 5410},
    {"40m", 7000, 7300},
    {"30m", 10100, 10150},
    {"20m", 14000, 14350},
    {"17m", 18068, 18168},
    {"15m", 21000, 21450},
    {"12m", 24890, 24990},
    {"10m", 28000, 29700},
    {"6m", 50000, 54000},
    {"4m", 70000, 70500},
    {"2m", 144000, 148000},
    {"70cm", 420000, 450000},
    {"23cm", 1240000, 1300000},
}};

// Dial frequencies of FT8, whose signals sit up to 3 kHz above; spots are given at the signal,
// and some spotters round to the dial, hence the margin on both sides.
constexpr std::array<double, 12> kFt8Frequencies{1840,  3573,  5357,  7074,  10136, 14074,
                                                 18100, 21074, 24915, 28074, 50313, 144174};
constexpr double kFt8Margin = 3.0;

struct Segment {
    double lowKHz;
    double highKHz;
    Mode mode;
};

// IARU Region 1 segments, widened where the other regions' phone segments reach lower. On 60 m
// the shared segment has its narrow part, and the channels outside it are worked in USB. A
// segment holds its low edge; its high edge only where no segment starts there.
constexpr std::array<Segment, 52> kSegments{{
    {1800, 1838, Mode::CW},       {1838, 1843, Mode::Data},     {1843, 2000, Mode::SSB},
    {3500, 3570, Mode::CW},       {3570, 3600, Mode::Data},     {3600, 4000, Mode::SSB},
    {5330, 5351.5, Mode::SSB},    {5351.5, 5354, Mode::CW},     {5354, 5410, Mode::SSB},
    {7000, 7040, Mode::CW},       {7040, 7060, Mode::Data},     {7060, 7300, Mode::SSB},
    {10100, 10130, Mode::CW},     {10130, 10150, Mode::Data},
    {14000, 14070, Mode::CW},     {14070, 14100, Mode::Data},   {14100, 14350, Mode::SSB},
    {18068, 18095, Mode::CW},     {18095, 18111, Mode::Data},   {18111, 18168, Mode::SSB},
    {21000, 21070, Mode::CW},     {21070, 21150, Mode::Data},   {21150, 21450, Mode::SSB},
    {24890, 24915, Mode::CW},     {24915, 24931, Mode::Data},   {24931, 24990, Mode::SSB},
    {28000, 28070, Mode::CW},     {28070, 28190, Mode::Data},   {28190, 28300, Mode::CW},
    {28300, 29000, Mode::SSB},    {29000, 29200, Mode::AM},     {29200, 29510, Mode::SSB},
    {29510, 29700, Mode::FM},
    {50000, 50100, Mode::CW},     {50100, 50300, Mode::SSB},    {50300, 50400, Mode::Data},
    {50400, 50500, Mode::CW},     {50500, 54000, Mode::FM},
    {70000, 70090, Mode::CW},     {70090, 70250, Mode::SSB},    {70250, 70500, Mode::FM},
    {144000, 144150, Mode::CW},   {144150, 144400, Mode::SSB},  {144400, 144500, Mode::CW},
    {144500, 144800, Mode::Data}, {144800, 148000, Mode::FM},
    {420000, 432000, Mode::FM},   {432000, 432100, Mode::CW},   {432100, 432400, Mode::SSB},
    {432400, 432500, Mode::CW},   {432500, 433000, Mode::Data}, {433000, 450000, Mode::FM},
}};

Mode segmentMode(double kHz) {
    for (const Segment& segment : kSegments) {
        if (kHz >= segment.lowKHz && kHz < segment.highKHz)
            return segment.mode;
    }
    // The top edge of a band belongs to the segment that ends there.
    for (const Segment& segment : kSegments) {
        if (kHz == segment.highKHz)
            return segment.mode;
    }
    return Mode::Unknown;
}

}  // namespace

std::span<const AmateurBand> amateurBands() { return kBands; }

const AmateurBand* amateurBandAt(double kHz) {
    for (const AmateurBand& band : kBands) {
        if (kHz >= band.lowKHz && kHz <= band.highKHz)
            return &band;
    }
    return nullptr;
}

Mode modeFromBandPlan(double kHz) {
    if (!std::isfinite(kHz))
        return Mode::Unknown;
    for (const double dial : kFt8Frequencies) {
        if (std::abs(kHz - dial) <= kFt8Margin)
            return Mode::FT8;
    }
    return segmentMode(kHz);
}

}  // namespace quendra
