#include "filters/RepeatCollapser.h"

#include <algorithm>
#include <functional>

namespace quendra {
namespace {

// The call's hash with the band and mode folded in.
std::size_t rowHash(std::u16string_view station, int band, Mode mode) {
    std::uint64_t key = std::hash<std::u16string_view>{}(station);
    key ^= (static_cast<std::uint64_t>(static_cast<std::uint8_t>(band + 1)) << 8 | static_cast<std::uint64_t>(mode)) *
           0x9e3779b97f4a7c15ULL;
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    return static_cast<std::size_t>(key);
}

}  // namespace

RepeatCollapser::Placement RepeatCollapser::add(int spotIndex, const RepeatSpot& spot) {
    const Report report{spotters_.idOf(spot.spotter), spot.seconds};
    const Report source{sources_.idOf(spot.source), spot.seconds};
    const auto [row, added] = rowOfKey_.findOrInsert(
        rowHash(spot.station, spot.band, spot.mode), rowCount(), [&](int known) {
            const Row& candidate = rows_[static_cast<std::size_t>(known)];
            return candidate.band == spot.band && candidate.mode == spot.mode && stationOf(candidate) == spot.station;
        });
    if (added) {
        const auto start = static_cast<std::uint32_t>(stations_.size());
        stations_.append(spot.station);
        rows_.push_back({start, static_cast<std::uint32_t>(spot.station.size()), spot.band, spot.mode, spotIndex,
                         report, {}, source, {}});
        return {row, true};
    }
    Row& existing = rows_[static_cast<std::size_t>(row)];
    existing.newestSpot = spotIndex;
    addReport(existing.firstReport, existing.moreReports, report);
    addReport(existing.firstSource, existing.moreSources, source);
    return {row, false};
}

int RepeatCollapser::rowOf(std::u16string_view station, int band, Mode mode) const {
    return rowOfKey_.find(rowHash(station, band, mode), [&](int known) {
        const Row& candidate = rows_[static_cast<std::size_t>(known)];
        return candidate.band == band && candidate.mode == mode && stationOf(candidate) == station;
    });
}

std::vector<std::u16string_view> RepeatCollapser::sourcesOf(int row) const {
    const Row& found = rows_[static_cast<std::size_t>(row)];
    std::vector<std::u16string_view> sources{sources_.textOf(found.firstSource.id)};
    for (const Report& source : found.moreSources)
        sources.push_back(sources_.textOf(source.id));
    return sources;
}

// Spotters and sources alike: each counts once, with its latest report, while that report is
// younger than the lifetime.
void RepeatCollapser::addReport(Report& first, std::vector<Report>& more, Report report) const {
    // Reports older than the lifetime no longer count, even before the store expires their spots.
    const std::int64_t oldest = report.seconds - lifetime_;
    auto expired = [oldest](const Report& known) { return known.seconds < oldest; };
    std::erase_if(more, expired);
    if (expired(first)) {
        if (more.empty()) {
            first = report;
            return;
        }
        first = more.back();
        more.pop_back();
    }
    if (first.id == report.id) {
        first.seconds = report.seconds;
        return;
    }
    auto same = std::find_if(more.begin(), more.end(), [&](const Report& known) { return known.id == report.id; });
    if (same != more.end())
        same->seconds = report.seconds;
    else
        more.push_back(report);
}

void RepeatCollapser::rebuild(std::span<const RepeatSpot> spots) {
    clear();
    reserve(spots.size());
    for (std::size_t i = 0; i < spots.size(); ++i)
        add(static_cast<int>(i), spots[i]);
}

void RepeatCollapser::reserve(std::size_t spots) {
    // A call sign is rarely longer than eight characters.
    constexpr std::size_t kTypicalCallLength = 8;
    rows_.reserve(spots);
    rowOfKey_.reserve(spots);
    stations_.reserve(spots * kTypicalCallLength);
}

void RepeatCollapser::clear() {
    rows_.clear();
    rowOfKey_.clear();
    stations_.clear();
    spotters_.clear();
    sources_.clear();
}

void RepeatCollapser::release() {
    rows_ = {};
    rowOfKey_.release();
    stations_ = {};
    spotters_.release();
    sources_.release();
}

}  // namespace quendra
