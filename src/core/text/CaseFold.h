#pragma once

#include <string>

namespace quendra {

// Call signs are folded to upper case, the same way for the author and the station, so that the
// duplicate test compares them whatever case the node used. Every lower-case letter that
// Windows-1252 can carry gets its capital; letters without a capital in the code page (sharp s,
// micro sign) and every other character stay as they are.
char16_t toUpperFolded(char16_t ch);
void foldToUpper(std::u16string& text);

}  // namespace quendra
