#pragma once

#include "spots/Clock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quendra {

// One client of the local node, from its first byte to its last: it is asked "login: ", any call
// logs it in, and from then on it is sent spots and may ask for `sh/dx [n]`; every other command
// is answered with a prompt. The session reads what the client sends in pieces cut anywhere,
// skips telnet negotiation, and tells the server to drop a client that floods or sends garbage.
// It owns no socket: what it answers is returned as bytes.
class NodeSession {
public:
    // What the server may have queued for one client and not yet sent: beyond it the client is
    // not reading and is dropped, so one stuck client costs at most this much memory.
    static constexpr std::size_t kMaxBacklog = 64 * 1024;
    // A typed line longer than this is no command.
    static constexpr std::size_t kMaxLineLength = 256;
    // Lines a client may send at once, and how many more it earns each second.
    static constexpr int kLineBurst = 40;
    static constexpr int kLinesPerSecond = 4;
    // Bytes other than text and telnet negotiation a client may send before it counts as garbage.
    static constexpr int kMaxStrayBytes = 16;
    static constexpr int kDefaultListing = 10;
    static constexpr int kMaxListing = 100;

    struct Answer {
        std::string reply;      // bytes to send, possibly none
        bool close = false;     // the client said goodbye or is dropped after the reply
        std::string_view why;   // why it is dropped; empty for a goodbye
    };

    // `listing(n)` gives the newest n spots in the listing form.
    using Listing = std::function<std::string(int count)>;

    static std::string_view greeting() { return "login: "; }

    Answer receive(std::string_view bytes, const SystemTime& now, const Listing& listing);

    bool loggedIn() const { return !call_.empty(); }
    const std::string& call() const { return call_; }

private:
    enum class Telnet { Data, Command, Option, Sub, SubCommand };

    void takeLine(const SystemTime& now, const Listing& listing, Answer& answer);
    bool spendLine(const SystemTime& now);

    std::string call_;
    std::string line_;
    Telnet telnet_ = Telnet::Data;
    bool lastWasCr_ = false;
    int stray_ = 0;
    std::size_t subLength_ = 0;
    double lineTokens_ = kLineBurst;
    std::int64_t lastRefill_ = -1;
};

}  // namespace quendra
