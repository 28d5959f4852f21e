#pragma once

#include "spots/SpotParsers.h"
#include "wsjtx/WsjtxMessages.h"

#include <optional>
#include <string>
#include <string_view>

namespace quendra::wsjtx {

// The station a decoded message shows calling: "CQ ZZ2CD JN48", "CQ DX ZZ2CD JN48",
// "CQ NA ZZ2CD", "CQ 290 ZZ2CD" and "QRZ ZZ2CD" all give ZZ2CD. Nothing for any other message,
// and nothing when the call is one WSJT-X could not resolve ("<...>").
std::optional<std::u16string> callingStation(std::string_view message);

// The spot a decode makes, heard by WSJT-X while it reported `status`: the calling station on the
// dial frequency plus the audio offset (kHz to 0.1, as nodes send it), the mode and the
// signal report as the comment ("FT8 -12 dB"), the decode's time, and the operator as spotter.
// Nothing when the decode calls nobody, came from a recording, or WSJT-X has no dial frequency.
std::optional<ParsedSpot> spotFromDecode(const Status& status, const Decode& decode, std::u16string_view myCall);

// Frequency in Hz as the list shows it: kHz with one decimal ("14075.5").
std::u16string kHzText(std::uint64_t hz);

}  // namespace quendra::wsjtx
