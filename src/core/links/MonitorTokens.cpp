#include "links/MonitorTokens.h"

namespace quendra {
namespace {

// A cursor over the text that takes tokens the way the monitor text has always been cut: skip
// delimiters, take up to the next delimiter, step one past the delimiter that ended the token.
class TokenCursor {
public:
    explicit TokenCursor(std::u16string_view text) : text_(text) {}

    std::u16string_view take(std::u16string_view delimiters) {
        const auto start = text_.find_first_not_of(delimiters, position_);
        if (start == std::u16string_view::npos) {
            position_ = text_.size();
            return {};
        }
        const auto end = std::min(text_.find_first_of(delimiters, start), text_.size());
        position_ = end < text_.size() ? end + 1 : end;
        return text_.substr(start, end - start);
    }

private:
    std::u16string_view text_;
    std::size_t position_ = 0;
};

constexpr std::u16string_view kWordDelimiters = u" ";
constexpr std::u16string_view kLineDelimiters = u"\r\n";

}  // namespace

std::optional<MonitorTokens> tokenizeMonitorText(std::u16string_view text) {
    if (text.find_first_not_of(kLineDelimiters) == std::u16string_view::npos)
        return std::nullopt;
    TokenCursor cursor(text);
    MonitorTokens tokens;
    for (int word = 1; word <= 4; ++word) {
        const auto token = cursor.take(kWordDelimiters);
        if (token.empty())
            return std::nullopt;
        if (word == 2)
            tokens.nodeName = token;
    }
    if (cursor.take(kLineDelimiters).empty())
        return std::nullopt;
    // A frame holds a handful of lines at most: the engine's frames are short.
    for (auto line = cursor.take(kLineDelimiters); !line.empty(); line = cursor.take(kLineDelimiters))
        tokens.dataLines.push_back(line);
    if (tokens.dataLines.empty())
        return std::nullopt;
    return tokens;
}

}  // namespace quendra
