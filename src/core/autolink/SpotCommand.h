#pragma once

#include <string>
#include <string_view>

namespace quendra {

struct SpotCommandResult {
    std::u16string command;  // "DX 14025.0 ZZ1AB tnx qso", empty when refused
    std::string refusal;     // why, for the user; empty when built
    bool ok() const { return refusal.empty(); }
};

// The command that announces a spot through the node. The call must have the shape of an amateur
// call (letters, digits and '/', with at least one of each letter and digit, 3 to 15 characters)
// and the frequency be a positive number of kHz, with a decimal point or a comma. The comment
// goes on the same line: line ends in it become blanks, so it can never send a second command.
SpotCommandResult buildSpotCommand(std::u16string_view kHz, std::u16string_view call, std::u16string_view comment);

}  // namespace quendra
