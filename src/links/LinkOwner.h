#pragma once

#include <string_view>

namespace quendra {

// The window that receives what the links deliver: the main frame in the program, a recorder in
// tests.
class LinkOwner {
public:
    virtual ~LinkOwner() = default;
    virtual void RouteTelnetText(std::u16string_view text, int length) = 0;
    virtual void RouteMonitorText(std::u16string_view text, int length, int port, int reserved, int tFlag) = 0;
};

}  // namespace quendra
