#pragma once

#include <string_view>

namespace quendra {

// What the link commands and typed lines need of a link, whichever peer it reaches.
class Link {
public:
    virtual ~Link() = default;
    // 1 from a successful connect notification until the close notification, else 0.
    virtual int connected() const = 0;
    // Starts connecting to the link's address; the outcome arrives later as a notification.
    virtual void connectLink() = 0;
    // Ends our sending direction after what is queued; the link stays connected until the peer
    // closes its side.
    virtual void shutDown() = 0;
    // Sends one typed line, already in the link's code page, when connected; dropped otherwise.
    virtual void sendTyped(std::string_view bytes) = 0;
};

}  // namespace quendra
