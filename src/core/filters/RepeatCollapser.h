#pragma once

#include "modes/Mode.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quendra {

// What the collapser needs of one stored spot.
struct RepeatSpot {
    std::u16string_view station;  // upper case
    int band = -1;
    Mode mode = Mode::Unknown;
    std::u16string_view spotter;
    std::int64_t seconds = 0;     // when it arrived, seconds since 1970
};

// Folds repeated spots of one station on one band in one mode into a single row that shows the
// newest spot and how many distinct spotters reported it within the lifetime. Rows keep the order
// in which their first spot arrived. Adding a spot is one hash probe plus a scan of that row's
// spotters (a handful, a few dozen for a rare station heard by every skimmer).
//
// The collapser holds spot indexes, so when the store removes spots (expiry, clearing) the
// indexes move and the rows must be rebuilt from the remaining spots, in one pass.
class RepeatCollapser {
public:
    explicit RepeatCollapser(int lifetimeSeconds) : lifetime_(lifetimeSeconds) {}

    struct Placement {
        int row;
        bool newRow;  // false: row `row` now shows this spot and is to be redrawn in place
        bool operator==(const Placement&) const = default;
    };

    // Spots come in arrival order; spotIndex is the spot's index in the store.
    Placement add(int spotIndex, const RepeatSpot& spot);
    // `spots[i]` is the store's spot i.
    void rebuild(std::span<const RepeatSpot> spots);
    void clear();
    // Room for this many rows, so a rebuild of a large store does not grow its tables step by step.
    void reserve(std::size_t spots);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    int newestSpot(int row) const { return rows_[static_cast<std::size_t>(row)].newestSpot; }
    int spotterCount(int row) const { return static_cast<int>(rows_[static_cast<std::size_t>(row)].reports.size()); }

private:
    struct Report {
        std::u16string spotter;
        std::int64_t seconds;
    };
    struct Row {
        int newestSpot;
        std::vector<Report> reports;  // one per distinct spotter
    };
    struct Key {
        std::u16string station;
        int band;
        Mode mode;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };

    int lifetime_;
    std::vector<Row> rows_;
    std::unordered_map<Key, int, KeyHash> rowOfKey_;
};

}  // namespace quendra
