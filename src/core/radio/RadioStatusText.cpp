#include "radio/RadioStatusText.h"

#include "radio/RadioFrequency.h"

namespace quendra {
namespace {

std::string withCode(std::string text, int code) {
    return text + " (RPRT " + std::to_string(code) + ")";
}

}  // namespace

std::string radioReadingText(std::int64_t hertz, std::string_view mode) {
    std::string text = "Radio: " + kilohertzDisplayText(hertz) + " kHz";
    if (!mode.empty()) {
        text += ' ';
        text += mode;
    }
    return text;
}

std::string radioNotConnectedText() {
    return "Radio: not connected";
}

std::string radioFaultText(RadioFault fault, int code) {
    switch (fault) {
    case RadioFault::Refused:
        return radioNotConnectedText() + " (connection refused)";
    case RadioFault::Lost:
        return radioNotConnectedText() + " (connection lost)";
    case RadioFault::NoReply:
        return radioNotConnectedText() + " (no reply)";
    case RadioFault::BadAddress:
        return radioNotConnectedText() + " (no host or port set)";
    case RadioFault::FrequencyRefused:
        return withCode("Radio: frequency refused", code);
    case RadioFault::ModeRefused:
        return withCode("Radio: mode refused", code);
    case RadioFault::ReadRefused:
        return withCode("Radio: reading refused", code);
    }
    return radioNotConnectedText();
}

}  // namespace quendra
