#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quendra {

// A cluster node's address as typed in the Connect dialog: "host:port", "host" or "host:".
struct TelnetAddress {
    std::u16string host;  // empty: no connection is to be made
    int port = 0;
};

// The caller's host buffer holds 999 characters and a terminating NUL; a longer host (a long
// history entry) is cut to this length rather than refused, so the user still gets a connection
// attempt and sees it fail instead of a dialog that silently does nothing.
inline constexpr std::size_t kMaxTelnetHostLength = 999;
inline constexpr int kDefaultTelnetPort = 23;

// Leading ':'s are skipped; the host runs to the next ':'. After that ':' any CR, LF and blanks are
// skipped and the port text runs to the next CR, LF, blank or the end: none gives port 23, else its
// leading number (no digits give 0, so "http://node" is host "http", port 0).
TelnetAddress parseTelnetAddress(std::u16string_view text);

}  // namespace quendra
