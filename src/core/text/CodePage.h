#pragma once

#include <string>
#include <string_view>

namespace quendra {

// Link traffic is 8-bit text in Windows-1252. Every byte decodes to one UTF-16 unit (the five
// bytes the code page leaves undefined map to the C1 controls of the same value), so decoding
// never loses or invents characters. Encoding turns each character the code page cannot carry,
// a surrogate pair included, into one '?'.
std::u16string decodeWindows1252(std::string_view bytes);
std::string encodeWindows1252(std::u16string_view text);

// The received text ends at its first NUL byte, as text handed on from a link does.
std::u16string decodeWindows1252UntilNul(std::string_view bytes);

}  // namespace quendra
