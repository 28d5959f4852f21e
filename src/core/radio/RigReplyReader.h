#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

enum class RigReplyKind {
    Status,     // to a set command: "RPRT n"
    Frequency,  // to "f": the frequency in Hz
    Mode,       // to "m": the mode token, then the passband in Hz
};

// One complete answer, of the kind its command expected. A non-zero code is the daemon's
// "RPRT -n" error, and then no value came with it.
struct RigReply {
    RigReplyKind kind = RigReplyKind::Status;
    int code = 0;
    std::int64_t hertz = 0;
    std::string mode;
    std::int64_t passband = 0;

    bool operator==(const RigReply&) const = default;
};

// Reads rigctld's answers from bytes as they arrive, cut anywhere. The answers carry no name of
// their own (a frequency and a passband are both a bare number), so the caller says what it
// expects, in the order it sends the commands, and each answer is read as the oldest expectation
// asks. A line that cannot be part of that answer is counted and skipped; the expectation stays,
// and the caller's reply timeout ends a peer that never gives a fitting line.
class RigReplyReader {
public:
    // No answer line comes near this; the rest of a longer line is dropped and the line skipped.
    static constexpr std::size_t kMaxLineLength = 256;
    // The link waits for each answer before it sends the next command; this bound is only a guard.
    static constexpr std::size_t kMaxExpected = 64;

    // False, and nothing expected, when kMaxExpected answers are already awaited.
    bool expect(RigReplyKind kind);
    std::vector<RigReply> feed(std::string_view bytes);
    // Forgets awaited answers and any unfinished line, for a fresh connection.
    void reset();

    std::size_t expectedCount() const { return expected_.size(); }
    std::size_t skippedLines() const { return skippedLines_; }

private:
    void takeLine(std::string_view line, std::vector<RigReply>& replies);

    std::deque<RigReplyKind> expected_;
    std::string line_;
    bool overlong_ = false;
    // Between the two lines of a mode answer: the mode already read.
    bool haveMode_ = false;
    std::string mode_;
    std::size_t skippedLines_ = 0;
};

}  // namespace quendra
