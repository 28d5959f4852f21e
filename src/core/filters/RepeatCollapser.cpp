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
    const auto [row, added] = rowOfKey_.findOrInsert(
        rowHash(spot.station, spot.band, spot.mode), rowCount(), [&](int known) {
            const Row& candidate = rows_[static_cast<std::size_t>(known)];
            return candidate.band == spot.band && candidate.mode == spot.mode && stationOf(candidate) == spot.station;
        });
    if (added) {
        const auto start = static_cast<std::uint32_t>(stations_.size());
        stations_.append(spot.station);
        rows_.push_back({start, static_cast<std::uint32_t>(spot.station.size()), spot.band, spot.mode, spotIndex,
                         report, {}});
        return {row, true};
    }
    Row& existing = rows_[static_cast<std::size_t>(row)];
    existing.newestSpot = spotIndex;
    addReport(existing, report);
    return {row, false};
}

void RepeatCollapser::addReport(Row& row, Report report) const {
    // Reports older than the lifetime no longer count, even before the store expires their spots.
    const std::int64_t oldest = report.seconds - lifetime_;
    auto expired = [oldest](const Report& known) { return known.seconds < oldest; };
    std::erase_if(row.moreReports, expired);
    if (expired(row.firstReport)) {
        if (row.moreReports.empty()) {
            row.firstReport = report;
            return;
        }
        row.firstReport = row.moreReports.back();
        row.moreReports.pop_back();
    }
    if (row.firstReport.spotter == report.spotter) {
        row.firstReport.seconds = report.seconds;
        return;
    }
    auto same = std::find_if(row.moreReports.begin(), row.moreReports.end(),
                             [&](const Report& known) { return known.spotter == report.spotter; });
    if (same != row.moreReports.end())
        same->seconds = report.seconds;
    else
        row.moreReports.push_back(report);
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
}

void RepeatCollapser::release() {
    rows_ = {};
    rowOfKey_.release();
    stations_ = {};
    spotters_.release();
}

}  // namespace quendra
