#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace quendra {

// Calls known to be on the air, as the Super Check Partial file lists them (MASTER.SCP: one call
// a line, '#' lines are comments).
class KnownCalls {
public:
    static KnownCalls fromText(std::string_view text);

    // A portable call ("ZZ2CD/P", "EA8/ZZ2CD") is known when its longest part is.
    bool contains(std::u16string_view call) const;
    std::size_t size() const { return calls_.size(); }

private:
    std::unordered_set<std::u16string> calls_;
};

}  // namespace quendra
