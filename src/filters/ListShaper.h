#pragma once

#include "filters/ListFilter.h"
#include "filters/RepeatCollapser.h"

#include <string_view>
#include <vector>

namespace quendra {

class SpotStore;

// Turns the store into the list's rows: the spots the filter shows, one row each, or with
// repeats collapsed one row per station, band and mode holding its newest spot. It also counts
// the spots of the selected range that the bar hides, for the bar to tell.
class ListShaper {
public:
    explicit ListShaper(int lifetimeSeconds) : collapser_(lifetimeSeconds) {}

    ListFilter& filter() { return filter_; }
    const ListFilter& filter() const { return filter_; }
    void setCollapse(bool on);
    bool collapses() const { return collapse_; }
    // Merging sources: rows are keyed by station, band and mode whatever the bar's choice, so the
    // same station heard from two sources is one row with the reports of both.
    void setMerge(bool on);
    bool merges() const { return merge_; }
    // The sources the row of the spot at `index` holds reports from; empty unless rows are keyed.
    std::vector<std::u16string_view> sourcesOf(const SpotStore& store, int index) const;
    void setLifetime(int lifetimeSeconds);

    struct Rows {
        std::vector<int> storeIndexes;
        std::vector<int> spotters;  // per row while collapsing, else empty
    };
    Rows refill(const SpotStore& store);

    enum class Change { None, Appended, Updated };
    struct Placement {
        Change change = Change::None;
        int row = -1;
        int spotters = 0;
    };
    // The spot the store has just appended; the rows must stand as the last refill left them.
    Placement add(const SpotStore& store, int index);

    int hiddenCount() const { return hidden_; }

private:
    RepeatSpot repeatOf(const SpotStore& store, int index) const;
    bool keysRows() const { return collapse_ || merge_; }

    ListFilter filter_;
    RepeatCollapser collapser_;
    bool collapse_ = false;
    bool merge_ = false;
    int hidden_ = 0;
};

}  // namespace quendra
