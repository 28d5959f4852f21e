#include "filters/RepeatCollapser.h"

#include <algorithm>
#include <functional>

namespace quendra {

std::size_t RepeatCollapser::KeyHash::operator()(const Key& key) const {
    const std::size_t text = std::hash<std::u16string>{}(key.station);
    const auto small = static_cast<std::size_t>(key.band) * 31 + static_cast<std::size_t>(key.mode);
    return text ^ (small + 0x9e3779b97f4a7c15ULL + (text << 6) + (text >> 2));
}

RepeatCollapser::Placement RepeatCollapser::add(int spotIndex, const RepeatSpot& spot) {
    Key key{std::u16string(spot.station), spot.band, spot.mode};
    const auto [found, inserted] = rowOfKey_.try_emplace(std::move(key), static_cast<int>(rows_.size()));
    if (inserted) {
        rows_.push_back({spotIndex, {{std::u16string(spot.spotter), spot.seconds}}});
        return {found->second, true};
    }
    Row& row = rows_[static_cast<std::size_t>(found->second)];
    row.newestSpot = spotIndex;
    // Reports older than the lifetime no longer count, even before the store expires their spots.
    const std::int64_t oldest = spot.seconds - lifetime_;
    std::erase_if(row.reports, [&](const Report& report) { return report.seconds < oldest; });
    auto same = std::find_if(row.reports.begin(), row.reports.end(),
                             [&](const Report& report) { return report.spotter == spot.spotter; });
    if (same != row.reports.end())
        same->seconds = spot.seconds;
    else
        row.reports.push_back({std::u16string(spot.spotter), spot.seconds});
    return {found->second, false};
}

void RepeatCollapser::rebuild(std::span<const RepeatSpot> spots) {
    clear();
    reserve(spots.size());
    for (std::size_t i = 0; i < spots.size(); ++i)
        add(static_cast<int>(i), spots[i]);
}

void RepeatCollapser::reserve(std::size_t spots) {
    rows_.reserve(spots);
    rowOfKey_.reserve(spots);
}

void RepeatCollapser::clear() {
    rows_.clear();
    rowOfKey_.clear();
}

}  // namespace quendra
