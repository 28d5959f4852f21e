#pragma once

#include "filters/IdTable.h"
#include "filters/TextIds.h"
#include "modes/Mode.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// What the collapser needs of one stored spot.
struct RepeatSpot {
    std::u16string_view station;  // upper case
    int band = -1;
    Mode mode = Mode::Unknown;
    std::u16string_view spotter;
    std::int64_t seconds = 0;     // when it arrived, seconds since 1970
    std::u16string_view source;   // the node or link it came by (its DX-Node)
};

// Folds repeated spots of one station on one band in one mode into a single row that shows the
// newest spot and how many distinct spotters reported it within the lifetime. Rows keep the order
// in which their first spot arrived. Adding a spot is two probes of flat hash tables (the row by
// its call, band and mode; the spotter) plus a scan of that row's spotters (a handful, a few dozen for a rare
// station heard by every skimmer); a row with one spotter holds no memory of its own.
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
    // Forgets the rows and keeps the room, for the next rebuild.
    void clear();
    // Forgets the rows and gives the room back.
    void release();
    // Room for this many rows, so a rebuild of a large store does not grow its tables step by step.
    void reserve(std::size_t spots);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    int newestSpot(int row) const { return rows_[static_cast<std::size_t>(row)].newestSpot; }
    int spotterCount(int row) const {
        return 1 + static_cast<int>(rows_[static_cast<std::size_t>(row)].moreReports.size());
    }
    // The row of this station, band and mode, or -1.
    int rowOf(std::u16string_view station, int band, Mode mode) const;
    // The distinct sources the row's counted reports came by, the first report's first.
    std::vector<std::u16string_view> sourcesOf(int row) const;

private:
    // The latest report of one spotter (an id in spotters_) or by one source (in sources_).
    struct Report {
        int id;
        std::int64_t seconds;
    };
    struct Row {
        std::uint32_t stationStart;  // the call, in stations_
        std::uint32_t stationLength;
        int band;
        Mode mode;
        int newestSpot;
        Report firstReport;
        std::vector<Report> moreReports;  // one per further distinct spotter
        Report firstSource;
        std::vector<Report> moreSources;  // one per further distinct source
    };

    std::u16string_view stationOf(const Row& row) const {
        return std::u16string_view(stations_).substr(row.stationStart, row.stationLength);
    }
    void addReport(Report& first, std::vector<Report>& more, Report report) const;

    int lifetime_;
    std::vector<Row> rows_;
    // Rows by call, band and mode; the calls are kept end to end in one string.
    IdTable rowOfKey_;
    std::u16string stations_;
    TextIds spotters_;
    TextIds sources_;
};

}  // namespace quendra
