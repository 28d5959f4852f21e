#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendra {

// The lines sent to rigctld, each ended by LF, in its default (not extended) protocol.
inline constexpr std::string_view kReadFrequencyCommand = "f\n";
inline constexpr std::string_view kReadModeCommand = "m\n";

// Longest Hamlib mode token we pass on; the real ones are six characters or fewer.
inline constexpr std::size_t kMaxModeTokenLength = 16;

// "F 14025000\n".
std::string setFrequencyCommand(std::int64_t hertz);

// "M CW 0\n": passband 0 asks for the radio's own default width. rigctld only knows upper-case
// tokens and answers RPRT 0 to one it does not know without changing the mode, so the token is
// put in upper case here. A token that is empty, too long or holds anything but letters, digits
// and '_' gives no command: it could otherwise end the line and smuggle in a command of its own.
std::optional<std::string> setModeCommand(std::string_view modeToken);

}  // namespace quendra
