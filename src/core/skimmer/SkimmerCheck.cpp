#include "skimmer/SkimmerCheck.h"

#include "skimmer/KnownCalls.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace quendra {
namespace {

constexpr std::int64_t kToleranceHz = 300;

std::int64_t bucketOf(std::int64_t hz) { return hz >= 0 ? hz / kToleranceHz : (hz - kToleranceHz + 1) / kToleranceHz; }

}  // namespace

bool oneEditApart(std::u16string_view a, std::u16string_view b) {
    if (a.size() < b.size())
        std::swap(a, b);
    if (a.size() - b.size() > 1 || a == b)
        return false;
    std::size_t i = 0;
    while (i < b.size() && a[i] == b[i])
        ++i;
    if (a.size() == b.size())
        return a.substr(i + 1) == b.substr(i + 1);
    return a.substr(i + 1) == b.substr(i);
}

void SkimmerCheck::expire(std::int64_t now) {
    newest_ = std::max(newest_, now);
    while (!reports_.empty() &&
           (reports_.front().report.seconds < newest_ - kWindowSeconds || reports_.size() > kMaxReports)) {
        // Reports enter the buckets in sequence order, so the oldest one is at its bucket's front.
        const auto bucket = buckets_.find(bucketOf(reports_.front().hz));
        if (bucket != buckets_.end()) {
            if (!bucket->second.empty() && bucket->second.front() == firstSequence_)
                bucket->second.pop_front();
            if (bucket->second.empty())
                buckets_.erase(bucket);
        }
        reports_.pop_front();
        ++firstSequence_;
    }
}

std::vector<const SkimmerCheck::Held*> SkimmerCheck::near(std::int64_t hz, std::int64_t seconds) const {
    std::vector<const Held*> found;
    const std::int64_t middle = bucketOf(hz);
    for (std::int64_t b = middle - 1; b <= middle + 1; ++b) {
        const auto bucket = buckets_.find(b);
        if (bucket == buckets_.end())
            continue;
        for (Sequence sequence : bucket->second) {
            const Held& held = at(sequence);
            if (std::abs(held.hz - hz) <= kToleranceHz && std::abs(held.report.seconds - seconds) <= kWindowSeconds)
                found.push_back(&held);
        }
    }
    return found;
}

bool SkimmerCheck::verified(std::u16string_view call, const std::vector<const Held*>& around) const {
    if (known_ && known_->contains(call))
        return true;
    const std::u16string* firstSkimmer = nullptr;
    for (const Held* held : around) {
        if (held->report.call != call)
            continue;
        if (!held->report.skimmer)
            return true;
        if (!firstSkimmer)
            firstSkimmer = &held->report.spotter;
        else if (*firstSkimmer != held->report.spotter)
            return true;
    }
    return false;
}

bool SkimmerCheck::judge(const Held& held, const std::vector<const Held*>& around) {
    std::optional<SkimmerVerdict> verdict;
    if (verified(held.report.call, around)) {
        verdict = SkimmerVerdict{SkimmerVerdict::Kind::Verified, {}};
    } else {
        // The likeliest call is the verified neighbour reported most often.
        std::vector<std::pair<std::u16string_view, int>> tried;
        for (const Held* other : around) {
            const std::u16string_view call = other->report.call;
            if (!oneEditApart(held.report.call, call))
                continue;
            auto seen = std::find_if(tried.begin(), tried.end(), [call](const auto& t) { return t.first == call; });
            if (seen != tried.end()) {
                if (seen->second > 0)
                    ++seen->second;
                continue;
            }
            tried.emplace_back(call, verified(call, around) ? 1 : 0);
        }
        const auto best = std::max_element(tried.begin(), tried.end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        if (best != tried.end() && best->second > 0)
            verdict = SkimmerVerdict{SkimmerVerdict::Kind::Busted, std::u16string(best->first)};
    }
    const auto old = verdicts_.find(held.report.serial);
    if (!verdict) {
        if (old == verdicts_.end())
            return false;
        verdicts_.erase(old);
        return true;
    }
    if (old != verdicts_.end() && old->second == *verdict)
        return false;
    verdicts_[held.report.serial] = std::move(*verdict);
    return true;
}

std::vector<std::uint64_t> SkimmerCheck::add(const SkimmerReport& report) {
    expire(report.seconds);
    const std::int64_t hz = std::llround(report.kHz * 1000.0);
    reports_.push_back(Held{report, hz});
    const Sequence sequence = firstSequence_ + reports_.size() - 1;
    buckets_[bucketOf(hz)].push_back(sequence);

    std::vector<std::uint64_t> changed;
    const Held& added = reports_.back();
    const std::vector<const Held*> around = near(hz, report.seconds);
    if (added.report.skimmer && judge(added, around))
        changed.push_back(report.serial);
    // This report can change the verdict of a skimmer spot near it whose call is its own or one
    // character away; a verified spot stays verified.
    for (const Held* other : around) {
        if (other == &added || !other->report.skimmer)
            continue;
        if (other->report.call != report.call && !oneEditApart(other->report.call, report.call))
            continue;
        const SkimmerVerdict* now = verdictOf(other->report.serial);
        if (now && now->kind == SkimmerVerdict::Kind::Verified)
            continue;
        if (judge(*other, near(other->hz, other->report.seconds)))
            changed.push_back(other->report.serial);
    }
    return changed;
}

const SkimmerVerdict* SkimmerCheck::verdictOf(std::uint64_t serial) const {
    const auto found = verdicts_.find(serial);
    return found == verdicts_.end() ? nullptr : &found->second;
}

void SkimmerCheck::forget(const std::function<bool(std::uint64_t serial)>& gone) {
    std::erase_if(verdicts_, [&gone](const auto& entry) { return gone(entry.first); });
}

}  // namespace quendra
