#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quendra {

// What the entry line does once Enter has put its line break into the box. The box text uses
// '\n' between lines; positions count UTF-16 units of that text.
struct EntryLineTrim {
    std::size_t removeLength = 0;  // from the start: the first line and its line break
    std::size_t caretAfter = 0;    // the end of the text once that is removed
};

struct EntryLineOutcome {
    std::u16string lineToSend;  // the finished line with CR LF, or empty: send nothing
    std::optional<EntryLineTrim> trim;
};

namespace entry_line {

inline constexpr std::size_t kMaxSentLength = 250;
inline constexpr std::size_t kMaxKeptLines = 12;

// The finished line is the one before the caret's line, cut to 250 units. An empty one sends
// nothing and leaves the box alone; so does a caret on the first line, where no line was finished.
// Each sent line trims the box by its first line while it holds more than 12 lines.
EntryLineOutcome afterEnter(std::u16string_view boxText, std::size_t caret);

}  // namespace entry_line
}  // namespace quendra
