#pragma once

#include "modes/Mode.h"
#include "spots/Spot.h"

#include <string>

namespace quendra {

// What a logger is told about one spot, kept from the announcement so the spot can still be
// named when it is taken back after it aged out.
struct SpotPacketFields {
    std::u16string dxCall;
    std::u16string spotter;
    std::u16string comment;
    double kHz = 0;
    Mode mode = Mode::Unknown;
    SystemTime received{};
};

SpotPacketFields packetFieldsOf(const Spot& spot, double kHz, Mode mode);

enum class SpotAction { Add, Delete };

// The XML spot packet contest loggers read, one UDP datagram per spot, in UTF-8:
// <?xml version="1.0" encoding="utf-8"?><spot><app>Quendra</app><dxcall>ZZ2CD</dxcall>
// <frequency>14025.0</frequency><spottercall>ZZ1AB</spottercall><comment>CW 599</comment>
// <mode>CW</mode><timestamp>2026/12/07 12:34:00</timestamp><action>add</action></spot>
// Texts are escaped, the frequency is in kHz, the time is when the spot arrived (UTC).
std::string spotPacket(const SpotPacketFields& fields, SpotAction action);

// "host:port" as SHARE/UDP holds it; a port outside 1..65535 or no host gives nothing.
struct UdpTarget {
    std::u16string host;
    int port = 0;
};
bool parseUdpTarget(std::u16string_view text, UdpTarget& target);

}  // namespace quendra
