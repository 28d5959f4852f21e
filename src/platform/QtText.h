#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quendra {

// The program's text is UTF-16 throughout, so these conversions copy and never re-encode.
inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string toU16(const QString& text) { return text.toStdU16String(); }

// Typed call signs and upper-case fields: folded exactly as call signs are folded everywhere else,
// one character for one, so a caret or a selection keeps its place.
QString upperCased(QString text);

}  // namespace quendra
