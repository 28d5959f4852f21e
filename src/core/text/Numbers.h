#pragma once

#include <cstdint>
#include <string_view>

namespace quendra {

// The decimal digits '0' to '9'; no other character counts as a digit.
bool isDecimalDigit(char16_t ch);

// White space as the number readers skip it: space, tab, LF, VT, FF and CR.
bool isNumberSpace(char16_t ch);

// Reads the integer at the start of a text the way C's integer conversion does: optional white
// space, an optional sign, decimal digits, stopping at the first other character. No digits give 0;
// a value beyond the 32-bit range is held at the nearest limit.
std::int32_t readLeadingInt(std::u16string_view text);

// Whether the text begins, after optional white space, with an optional sign and at least one
// decimal digit: the test a dialog field must pass to count as an integer.
bool beginsWithInteger(std::u16string_view text);

// Reads the decimal number at the start of a text: optional white space, an optional sign, digits
// with an optional '.', and an optional exponent, stopping at the first other character; no number
// at the start gives 0. Infinities, NaN and hexadecimal forms are not numbers here: a spot's
// frequency is always written in decimal.
double readLeadingDouble(std::u16string_view text);

}  // namespace quendra
