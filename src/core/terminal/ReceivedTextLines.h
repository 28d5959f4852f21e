#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// Received text as the terminals see it: pieces between line ends, and the colour mark that
// flags the engine's monitor header lines.
namespace received_text {

// The mark is an IRC-style colour code: U+0003 and two digits.
inline constexpr std::size_t kMarkLength = 3;
inline constexpr char16_t kMarkIntroducer = u'\u0003';

inline bool isLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// The pieces between runs of CR and LF, empty pieces left out. They view into text.
std::vector<std::u16string_view> cutPieces(std::u16string_view text);

// At least 5 characters, with "F" and "m" at positions 3 and 4 (the engine's header lines).
bool isMonitorHeader(std::u16string_view piece);

// The line to store for a piece: monitor header lines get U+0003 "02" in front when the call sign
// occurs in them (an empty call sign occurs everywhere), else U+0003 "03"; other pieces stay as
// they are.
std::u16string markedLine(std::u16string_view piece, std::u16string_view callSign);

// The characters of a shown line that are drawn: control characters (a node's BEL, say, or the
// C1 controls the code page gives undefined bytes) have no picture and are left out; a tab is
// drawn as a space. The stored line keeps them.
std::u16string drawnText(std::u16string_view shown);

}  // namespace received_text
}  // namespace quendra
