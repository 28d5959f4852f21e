#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quendra {

// Reads the words of a spot announcement one after the other. Each read first skips every
// delimiter, then takes the run up to the next delimiter and steps over exactly that one
// delimiter, so a second delimiter in a row is still there for the next read.
class WordReader {
public:
    explicit WordReader(std::u16string_view text) : text_(text) {}

    // The next word up to a space or the end; nothing when only spaces remain.
    std::optional<std::u16string_view> nextWord() { return next(u" "); }
    // Everything up to the next ':' (spaces included), or the rest of the text.
    std::optional<std::u16string_view> nextAuthor() { return next(u":"); }
    // The rest of the current line, not skipping anything first: a comment never reaches into
    // the following line.
    std::u16string_view restOfLine();

    std::size_t position() const { return pos_; }

private:
    std::optional<std::u16string_view> next(std::u16string_view delimiters);

    std::u16string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace quendra
