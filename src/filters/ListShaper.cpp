#include "filters/ListShaper.h"

#include "spots/SpotStore.h"

namespace quendra {

void ListShaper::setCollapse(bool on) {
    collapse_ = on;
    // The rows of a large store take megabytes, kept between refills only while they are used.
    if (!keysRows())
        collapser_.release();
}

void ListShaper::setMerge(bool on) {
    merge_ = on;
    if (!keysRows())
        collapser_.release();
}

std::vector<std::u16string_view> ListShaper::sourcesOf(const SpotStore& store, int index) const {
    if (!keysRows() || index < 0 || index >= store.count())
        return {};
    const RepeatSpot spot = repeatOf(store, index);
    const int row = collapser_.rowOf(spot.station, spot.band, spot.mode);
    return row < 0 ? std::vector<std::u16string_view>{} : collapser_.sourcesOf(row);
}

void ListShaper::setLifetime(int lifetimeSeconds) { collapser_ = RepeatCollapser(lifetimeSeconds); }

namespace {

// Merged sources are keyed by mode group, since nodes name one mode differently ("SSB", "USB"):
// each group stands as one mode of its own.
Mode groupKey(Mode mode) {
    switch (modeGroup(mode)) {
    case ModeGroup::CW: return Mode::CW;
    case ModeGroup::Phone: return Mode::SSB;
    case ModeGroup::Digital: return Mode::Data;
    case ModeGroup::Unknown: break;
    }
    return Mode::Unknown;
}

}  // namespace

RepeatSpot ListShaper::repeatOf(const SpotStore& store, int index) const {
    const Spot& spot = store.spotAt(index);
    const SpotDetails& details = store.detailsAt(index);
    const Mode mode = merge_ ? groupKey(details.mode) : details.mode;
    return {spot.station, details.band, mode, spot.author, secondsSince1970(spot.received), spot.dxNode};
}

ListShaper::Rows ListShaper::refill(const SpotStore& store) {
    Rows rows;
    hidden_ = 0;
    collapser_.clear();
    const int count = store.count();
    const bool keyed = keysRows();
    if (keyed)
        collapser_.reserve(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        if (!filter_.inRange(store, index))
            continue;
        if (!filter_.passesBar(store, index)) {
            ++hidden_;
            continue;
        }
        if (keyed)
            collapser_.add(index, repeatOf(store, index));
        else
            rows.storeIndexes.push_back(index);
    }
    if (keyed) {
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
    if (!keysRows())
        return {Change::Appended, -1, 0};
    const RepeatCollapser::Placement placed = collapser_.add(index, repeatOf(store, index));
    return {placed.newRow ? Change::Appended : Change::Updated, placed.row, collapser_.spotterCount(placed.row)};
}

}  // namespace quendra
