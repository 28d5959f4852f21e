#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace quendra {

// What the routing takes from the text of one monitored frame: the sending station and the data
// lines to test for spots. The views point into the text they were taken from.
struct MonitorTokens {
    std::u16string_view nodeName;
    std::vector<std::u16string_view> dataLines;  // every non-empty line after the header line
};

// The engine writes a header line such as " 1:Fm ZZ1AB To CQ <UI pid=F0 Len=70 >[12:34:56]"
// and then the frame's data lines. The header is read as four space-separated words (a word may
// run over a line end) followed by the rest of that line; the second word names the sender.
// Gives nothing when any of these, or the first data line, is missing.
std::optional<MonitorTokens> tokenizeMonitorText(std::u16string_view text);

}  // namespace quendra
