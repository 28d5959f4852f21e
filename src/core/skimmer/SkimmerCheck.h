#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quendra {

class KnownCalls;

// One spot as the check sees it. `serial` names the spot for as long as the store keeps it.
struct SkimmerReport {
    std::uint64_t serial = 0;
    std::u16string call;
    std::u16string spotter;
    double kHz = 0;
    std::int64_t seconds = 0;  // when it was heard, on any steady count of seconds
    bool skimmer = false;
};

struct SkimmerVerdict {
    enum class Kind : std::uint8_t { Verified, Busted };
    Kind kind = Kind::Verified;
    std::u16string likelyCall;  // for a busted spot: the verified call it most likely is
    bool operator==(const SkimmerVerdict&) const = default;
};

// True when `a` becomes `b` by changing, adding or removing one character.
bool oneEditApart(std::u16string_view a, std::u16string_view b);

// Judges skimmer spots against what else was heard near them. A skimmer's call is verified when,
// within 0.3 kHz and 10 minutes of it, two or more skimmers or one human spotter report the same
// call, or when the call is a known one; an unverified skimmer spot one character away from a
// verified call on the same frequency and in the same window is busted, and that call is the
// likely one. A later report can verify or bust earlier spots, so every report re-judges the
// skimmer spots near it that it could concern.
//
// Reports are kept for the window only (and never more than kMaxReports), indexed by frequency
// in buckets of the tolerance's width, so a report costs the same however many are held; the
// verdicts are kept by serial until forget() drops those of spots that are gone.
class SkimmerCheck {
public:
    static constexpr double kToleranceKHz = 0.3;
    static constexpr std::int64_t kWindowSeconds = 600;
    static constexpr std::size_t kMaxReports = 100'000;

    explicit SkimmerCheck(const KnownCalls* known = nullptr) : known_(known) {}

    // Takes a report; the serials whose verdict changed (the report's own among them).
    std::vector<std::uint64_t> add(const SkimmerReport& report);
    // Null when there is nothing to say about this spot.
    const SkimmerVerdict* verdictOf(std::uint64_t serial) const;
    // Drops the verdicts of spots that are gone.
    void forget(const std::function<bool(std::uint64_t serial)>& gone);

    std::size_t reportsHeld() const { return reports_.size(); }
    std::size_t verdictsHeld() const { return verdicts_.size(); }

private:
    struct Held {
        SkimmerReport report;
        std::int64_t hz = 0;
    };
    using Sequence = std::uint64_t;

    void expire(std::int64_t now);
    std::vector<const Held*> near(std::int64_t hz, std::int64_t seconds) const;
    bool verified(std::u16string_view call, const std::vector<const Held*>& around) const;
    bool judge(const Held& held, const std::vector<const Held*>& around);
    const Held& at(Sequence sequence) const { return reports_[static_cast<std::size_t>(sequence - firstSequence_)]; }

    const KnownCalls* known_;
    std::deque<Held> reports_;
    Sequence firstSequence_ = 0;
    std::int64_t newest_ = 0;
    std::unordered_map<std::int64_t, std::deque<Sequence>> buckets_;
    std::unordered_map<std::uint64_t, SkimmerVerdict> verdicts_;
};

}  // namespace quendra
