#pragma once

#include <string>
#include <string_view>

namespace quendra {

// Spots the node asking for the user's call sign in the received text, so that an unattended
// link can log in: "login:", "call:", "callsign:", or "Please enter your call...", in any letter
// case. The first prompt usually comes without a line end and may be cut across reads.
class LoginPrompt {
public:
    // True exactly once per connection: on the read that completes the prompt.
    bool feed(std::u16string_view received);
    // A new connection: the next prompt is answered again.
    void reset();

private:
    bool lineIsPrompt() const;

    // The end of the line being received, lower case; a prompt is short, so a bounded tail holds
    // it whatever the node sends.
    std::u16string tail_;
    bool answered_ = false;
};

}  // namespace quendra
