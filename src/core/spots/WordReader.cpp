#include "spots/WordReader.h"

namespace quendra {

std::optional<std::u16string_view> WordReader::next(std::u16string_view delimiters) {
    auto isDelimiter = [&](char16_t ch) { return delimiters.find(ch) != std::u16string_view::npos; };
    while (pos_ < text_.size() && isDelimiter(text_[pos_]))
        ++pos_;
    if (pos_ >= text_.size())
        return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isDelimiter(text_[pos_]))
        ++pos_;
    const std::u16string_view word = text_.substr(start, pos_ - start);
    if (pos_ < text_.size())
        ++pos_;
    return word;
}

std::u16string_view WordReader::restOfLine() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != u'\r' && text_[pos_] != u'\n')
        ++pos_;
    return text_.substr(start, pos_ - start);
}

}  // namespace quendra
