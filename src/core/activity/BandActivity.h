#pragma once

#include "dxcc/Continent.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace quendra {

class SpotStore;

// How busy each band is towards each continent: the spots heard per band and continent of the
// spotted station in the last window (15 or 60 minutes) and in the window before it, for a trend.
// It keeps its own record of when spots arrived, since the store may age them out sooner than
// two windows.
class BandActivity {
public:
    static constexpr std::int64_t kLongestWindow = 3600;
    // At 10 spots a second two hours hold 72,000; this bounds a flood.
    static constexpr std::size_t kMaxRecords = 250'000;
    // Columns: the seven continents in Continent's order, then spots of no known continent.
    static constexpr int kColumns = 8;

    struct Cell {
        int now = 0;
        int before = 0;
        bool operator==(const Cell&) const = default;
    };
    enum class Trend { Steady, Up, Down };

    struct Grid {
        int rows = 0;  // one per amateurBands() entry
        std::vector<Cell> cells;
        int busiest = 0;  // the highest count of the window, for shading
        const Cell& at(int band, int column) const { return cells[static_cast<std::size_t>(band * kColumns + column)]; }
    };

    // The spot at this store index, at the time it carries.
    void recordSpot(const SpotStore& store, int index);
    void record(std::int64_t seconds, int band, Continent continent);

    // Counts over [now - window, now] and the window before it; spots outside every band are not
    // counted.
    Grid count(std::int64_t now, std::int64_t windowSeconds) const;
    // Forgets what no window can reach any more.
    void prune(std::int64_t now);
    std::size_t records() const { return records_.size(); }

    static int columnOf(Continent continent);
    static Continent continentOfColumn(int column);  // Unknown for the last column
    static Trend trendOf(const Cell& cell);

private:
    struct Record {
        std::int64_t seconds;
        std::int8_t band;
        std::uint8_t column;
    };
    std::deque<Record> records_;
};

}  // namespace quendra
