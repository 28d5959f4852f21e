#include "links/TelnetLineJoiner.h"

#include <algorithm>

namespace quendra {

std::vector<std::u16string> TelnetLineJoiner::feed(std::u16string_view chunk) {
    std::vector<std::u16string> lines;
    while (!chunk.empty()) {
        const auto end = chunk.find_first_of(u"\r\n");
        if (end == std::u16string_view::npos) {
            append(chunk);
            break;
        }
        append(chunk.substr(0, end));
        finishLine(lines);
        chunk.remove_prefix(end + 1);
    }
    return lines;
}

void TelnetLineJoiner::clear() {
    tail_.clear();
    truncated_ = false;
}

void TelnetLineJoiner::finishLine(std::vector<std::u16string>& lines) {
    if (!tail_.empty())
        lines.push_back(std::move(tail_));
    clear();
}

void TelnetLineJoiner::append(std::u16string_view piece) {
    if (truncated_)
        return;
    const std::size_t room = kMaxLineLength - tail_.size();
    tail_.append(piece.substr(0, std::min(room, piece.size())));
    truncated_ = piece.size() > room;
}

}  // namespace quendra
