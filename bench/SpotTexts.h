#pragma once

#include <string>

// Announcements in the time-first form, each with its own station so none is a duplicate of
// another author's; odd numbers fall on HF, even ones on VHF.
inline std::u16string spotText(const char16_t* author, int number) {
    std::u16string station = u"ST";
    for (char ch : std::to_string(number))
        station += static_cast<char16_t>(ch);
    return u"1234Z DX de " + std::u16string(author) + u": " +
           std::u16string(number % 2 ? u"14025.0" : u"144300.5") + u" " + station + u" CW 599 up 2";
}
