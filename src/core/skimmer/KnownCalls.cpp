#include "skimmer/KnownCalls.h"

namespace quendra {
namespace {

bool isCallCharacter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '/'; }

}  // namespace

KnownCalls KnownCalls::fromText(std::string_view text) {
    KnownCalls known;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#' || line.size() > 16)
            continue;
        std::u16string call;
        bool usable = true;
        for (char ch : line) {
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 'a' + 'A');
            if (!isCallCharacter(ch)) {
                usable = false;
                break;
            }
            call.push_back(static_cast<char16_t>(ch));
        }
        if (usable)
            known.calls_.insert(std::move(call));
    }
    return known;
}

bool KnownCalls::contains(std::u16string_view call) const {
    if (calls_.contains(std::u16string(call)))
        return true;
    if (call.find(u'/') == std::u16string_view::npos)
        return false;
    std::u16string_view longest;
    std::size_t at = 0;
    while (at <= call.size()) {
        std::size_t end = call.find(u'/', at);
        if (end == std::u16string_view::npos)
            end = call.size();
        if (end - at > longest.size())
            longest = call.substr(at, end - at);
        at = end + 1;
    }
    return !longest.empty() && calls_.contains(std::u16string(longest));
}

}  // namespace quendra
