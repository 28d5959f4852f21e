#include "modes/Mode.h"

#include "modes/BandPlan.h"

#include <array>

namespace quendra {

namespace {

struct ModeFacts {
    std::string_view name;
    ModeGroup group;
    std::string_view rigMode;  // empty for SSB, whose sideband depends on the frequency
};

// In the order of the enumeration.
constexpr std::array<ModeFacts, 14> kModes{{
    {"", ModeGroup::Unknown, ""},
    {"CW", ModeGroup::CW, "CW"},
    {"SSB", ModeGroup::Phone, ""},
    {"USB", ModeGroup::Phone, "USB"},
    {"LSB", ModeGroup::Phone, "LSB"},
    {"AM", ModeGroup::Phone, "AM"},
    {"FM", ModeGroup::Phone, "FM"},
    {"RTTY", ModeGroup::Digital, "RTTY"},
    {"PSK", ModeGroup::Digital, "PKTUSB"},
    {"FT8", ModeGroup::Digital, "PKTUSB"},
    {"FT4", ModeGroup::Digital, "PKTUSB"},
    {"JT65", ModeGroup::Digital, "PKTUSB"},
    {"JT9", ModeGroup::Digital, "PKTUSB"},
    {"DATA", ModeGroup::Digital, "PKTUSB"},
}};

const ModeFacts& factsOf(Mode mode) {
    const auto index = static_cast<std::size_t>(mode);
    return index < kModes.size() ? kModes[index] : kModes[0];
}

}  // namespace

std::string_view modeName(Mode mode) { return factsOf(mode).name; }

ModeGroup modeGroup(Mode mode) { return factsOf(mode).group; }

std::string_view modeGroupName(ModeGroup group) {
    switch (group) {
    case ModeGroup::CW:
        return "CW";
    case ModeGroup::Phone:
        return "Phone";
    case ModeGroup::Digital:
        return "Digital";
    case ModeGroup::Unknown:
        break;
    }
    return "";
}

std::string_view rigctldMode(Mode mode, double kHz) {
    if (mode != Mode::SSB)
        return factsOf(mode).rigMode;
    const AmateurBand* band = amateurBandAt(kHz);
    const bool sixtyMetres = band != nullptr && band->name == "60m";
    return (kHz >= 10'000.0 || sixtyMetres) ? "USB" : "LSB";
}

}  // namespace quendra
