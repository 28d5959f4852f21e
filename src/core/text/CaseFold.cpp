#include "text/CaseFold.h"

namespace quendra {

char16_t toUpperFolded(char16_t ch) {
    if (ch >= u'a' && ch <= u'z')
        return static_cast<char16_t>(ch - 0x20);
    if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7)  // à..þ without the division sign
        return static_cast<char16_t>(ch - 0x20);
    switch (ch) {
    case 0x00FF: return 0x0178;  // ÿ
    case 0x0161: return 0x0160;  // š
    case 0x0153: return 0x0152;  // œ
    case 0x017E: return 0x017D;  // ž
    default: return ch;
    }
}

void foldToUpper(std::u16string& text) {
    for (char16_t& ch : text)
        ch = toUpperFolded(ch);
}

}  // namespace quendra
