#include "activity/BandActivity.h"

#include "modes/BandPlan.h"
#include "spots/SpotStore.h"

#include <algorithm>

namespace quendra {

int BandActivity::columnOf(Continent continent) {
    return continent == Continent::Unknown ? kColumns - 1 : static_cast<int>(continent) - 1;
}

Continent BandActivity::continentOfColumn(int column) {
    return column >= 0 && column < kColumns - 1 ? static_cast<Continent>(column + 1) : Continent::Unknown;
}

BandActivity::Trend BandActivity::trendOf(const Cell& cell) {
    return cell.now > cell.before ? Trend::Up : cell.now < cell.before ? Trend::Down : Trend::Steady;
}

void BandActivity::recordSpot(const SpotStore& store, int index) {
    if (index < 0 || index >= store.count())
        return;
    const SpotDetails& details = store.detailsAt(index);
    record(secondsSince1970(store.spotAt(index).received), details.band, details.dxContinent);
}

void BandActivity::record(std::int64_t seconds, int band, Continent continent) {
    if (band < 0 || band >= static_cast<int>(amateurBands().size()))
        return;
    if (records_.size() >= kMaxRecords)
        records_.pop_front();
    records_.push_back({seconds, static_cast<std::int8_t>(band), static_cast<std::uint8_t>(columnOf(continent))});
}

BandActivity::Grid BandActivity::count(std::int64_t now, std::int64_t windowSeconds) const {
    Grid grid;
    grid.rows = static_cast<int>(amateurBands().size());
    grid.cells.resize(static_cast<std::size_t>(grid.rows * kColumns));
    for (const Record& record : records_) {
        const std::int64_t age = now - record.seconds;
        if (age < 0 || age > 2 * windowSeconds)
            continue;
        Cell& cell = grid.cells[static_cast<std::size_t>(record.band * kColumns + record.column)];
        ++(age <= windowSeconds ? cell.now : cell.before);
    }
    for (const Cell& cell : grid.cells)
        grid.busiest = std::max(grid.busiest, cell.now);
    return grid;
}

void BandActivity::prune(std::int64_t now) {
    // Spots from a node's listing may come with older times than those before them; they wait
    // behind newer ones, and the bound on records still holds.
    while (!records_.empty() && now - records_.front().seconds > 2 * kLongestWindow)
        records_.pop_front();
}

}  // namespace quendra
