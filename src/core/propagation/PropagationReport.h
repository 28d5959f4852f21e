#pragma once

#include "links/TelnetLineJoiner.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// A node's propagation report: "WWV de ZZ0MU <18>:   SFI=150, A=5, K=2, No Storms -> No Storms"
// or "WCY de ZZ0WCY-1 <19> : K=2 expK=3 A=8 R=58 SFI=147 SA=qui GMF=qui Au=no".
struct PropagationReport {
    enum class Kind { Wwv, Wcy };
    Kind kind = Kind::Wwv;
    std::u16string source;  // the reporting station
    int hour = 0;           // the hour (UTC) the report is for
    int sfi = 0;            // solar flux index
    int a = 0;              // planetary A index
    int k = 0;              // planetary K index
    bool operator==(const PropagationReport&) const = default;
};

// A report read from one line; nothing for any other text, or for one that lacks SFI, A or K
// or has a value no report carries.
std::optional<PropagationReport> parsePropagationLine(std::u16string_view line);

// Reports in text a link received in pieces cut anywhere: the lines are joined first.
class PropagationReader {
public:
    std::vector<PropagationReport> feed(std::u16string_view text);

private:
    TelnetLineJoiner lines_;
};

// The reports of the last 24 hours, oldest first, with the time each arrived.
class PropagationHistory {
public:
    static constexpr std::int64_t kSpanSeconds = 24 * 3600;
    // Nodes send a report an hour or so; this bounds what a node repeating them costs.
    static constexpr std::size_t kMaxSamples = 2000;

    struct Sample {
        std::int64_t seconds = 0;  // since 1970, when it arrived
        PropagationReport report;
    };

    void add(std::int64_t seconds, const PropagationReport& report);
    // Drops what is older than 24 hours before `now`.
    void prune(std::int64_t now);
    const std::deque<Sample>& samples() const { return samples_; }
    const Sample* latest() const { return samples_.empty() ? nullptr : &samples_.back(); }

private:
    std::deque<Sample> samples_;
};

// "SFI 150 A 5 K 2 (18Z)"
std::u16string propagationStatusText(const PropagationReport& report);

}  // namespace quendra
