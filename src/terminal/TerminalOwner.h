#pragma once

#include <string>
#include <string_view>

namespace quendra {

// What a terminal needs from the window that owns it.
class TerminalOwner {
public:
    virtual ~TerminalOwner() = default;
    virtual std::u16string callSign() const = 0;  // the frame's copy of MYCALL
    virtual void SendTypedLine(std::u16string_view line) = 0;
};

}  // namespace quendra
