#pragma once

#include "terminal/MonitorBuffer.h"
#include "text/LineLimits.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quendra {

// Where a terminal's text comes from. The telnet link delivers a byte stream cut at arbitrary read
// boundaries; the engine delivers each monitored frame as a whole.
enum class TerminalStream { Telnet, Packet };

// Cuts received text into lines, marks the monitor header lines and stores them in a buffer.
// On the telnet stream a line whose end has not arrived yet is shown at once and completed in
// place when the rest comes; on the packet stream every text stands on its own lines.
class ReceivedTextWriter {
public:
    // A line is completed in place only while it is shorter than this; why it differs from the
    // cap of spot detection: text/LineLimits.h.
    static constexpr std::size_t kMaxJoinedLength = kMaxShownLineLength;

    ReceivedTextWriter(MonitorBuffer& buffer, TerminalStream stream);

    void append(std::u16string_view text, std::u16string_view callSign);

private:
    // Whether the newest stored line is still the unfinished one this writer added.
    bool unfinishedLineStored() const;
    void completeUnfinishedLine(std::u16string_view rest, std::u16string_view callSign);
    void storeLine(std::u16string_view piece, std::u16string_view callSign);

    MonitorBuffer& buffer_;
    TerminalStream stream_;
    // The only thing remembered between texts: which stored line is unfinished and how long its
    // mark is. Its text is read back from the buffer, so nothing is held twice.
    bool lineOpen_ = false;
    std::uint64_t openLineSerial_ = 0;
    std::size_t openLineMarkLength_ = 0;
};

}  // namespace quendra
