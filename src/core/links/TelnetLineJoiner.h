#pragma once

#include "text/LineLimits.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// A node may split a line across reads: the joiner keeps the unfinished tail of each chunk until
// its line end arrives, and hands on every complete line without its line end. CR LF, a lone CR
// and a lone LF each end a line; empty lines are dropped.
class TelnetLineJoiner {
public:
    // Why this differs from the terminal's cap: text/LineLimits.h.
    static constexpr std::size_t kMaxLineLength = kMaxDetectedLineLength;

    std::vector<std::u16string> feed(std::u16string_view chunk);
    const std::u16string& pendingTail() const { return tail_; }
    void clear();

private:
    void finishLine(std::vector<std::u16string>& lines);
    void append(std::u16string_view piece);

    std::u16string tail_;
    bool truncated_ = false;
};

}  // namespace quendra
