#include "filters/ListShaper.h"

#include "spots/SpotStore.h"

namespace quendra {

void ListShaper::setCollapse(bool on) {
    collapse_ = on;
    // The rows of a large store take megabytes, kept between refills only while they are used.
    if (!on)
        collapser_.release();
}

void ListShaper::setLifetime(int lifetimeSeconds) { collapser_ = RepeatCollapser(lifetimeSeconds); }

RepeatSpot ListShaper::repeatOf(const SpotStore& store, int index) const {
    const Spot& spot = store.spotAt(index);
    const SpotDetails& details = store.detailsAt(index);
    return {spot.station, details.band, details.mode, spot.author, secondsSince1970(spot.received)};
}

ListShaper::Rows ListShaper::refill(const SpotStore& store) {
    Rows rows;
    hidden_ = 0;
    collapser_.clear();
    const int count = store.count();
    if (collapse_)
        collapser_.reserve(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        if (!filter_.inRange(store, index))
            continue;
        if (!filter_.passesBar(store, index)) {
            ++hidden_;
            continue;
        }
        if (collapse_)
            collapser_.add(index, repeatOf(store, index));
        else
            rows.storeIndexes.push_back(index);
    }
    if (collapse_) {
        const int rowCount = collapser_.rowCount();
        rows.storeIndexes.reserve(static_cast<std::size_t>(rowCount));
        rows.spotters.reserve(static_cast<std::size_t>(rowCount));
        for (int row = 0; row < rowCount; ++row) {
            rows.storeIndexes.push_back(collapser_.newestSpot(row));
            rows.spotters.push_back(collapser_.spotterCount(row));
        }
    }
    return rows;
}

ListShaper::Placement ListShaper::add(const SpotStore& store, int index) {
    if (!filter_.inRange(store, index))
        return {};
    if (!filter_.passesBar(store, index)) {
        ++hidden_;
        return {};
    }
    if (!collapse_)
        return {Change::Appended, -1, 0};
    const RepeatCollapser::Placement placed = collapser_.add(index, repeatOf(store, index));
    return {placed.newRow ? Change::Appended : Change::Updated, placed.row, collapser_.spotterCount(placed.row)};
}

}  // namespace quendra
