#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quendra {

// Why the radio link is not, or no longer, doing what was asked.
enum class RadioFault {
    Refused,          // nothing listens at the host and port, or they cannot be reached
    Lost,             // the daemon ended the connection
    NoReply,          // a command or a connect attempt went unanswered
    BadAddress,       // the settings name no usable host or port
    FrequencyRefused, // "RPRT -n" to F
    ModeRefused,      // "RPRT -n" to M
    ReadRefused,      // "RPRT -n" to f or m
};

// The status bar's texts for the radio, in English like the rest of the program.
// "Radio: 14,025.000 kHz CW"; without a mode, the frequency alone.
std::string radioReadingText(std::int64_t hertz, std::string_view mode);
// "Radio: not connected".
std::string radioNotConnectedText();
// "Radio: not connected (connection refused)", "Radio: frequency refused (RPRT -11)", ...
std::string radioFaultText(RadioFault fault, int code = 0);

}  // namespace quendra
