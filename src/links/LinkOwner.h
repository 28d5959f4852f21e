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
    // A status line of the telnet link's own ("***Connected. ", "***Disconnected. "). The link
    // says so itself, so a node that sends the same text is never taken for the link.
    virtual void RouteTelnetStatus(std::u16string_view text) {
        RouteTelnetText(text, static_cast<int>(text.size()));
    }
    // A link was connected, failed to connect, or was closed.
    virtual void OnLinkStateChanged() {}
};

}  // namespace quendra
