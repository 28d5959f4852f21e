#pragma once

#include "dxcc/CountryLookup.h"
#include "filters/SpotFilter.h"
#include "spots/BandRange.h"

#include <functional>
#include <vector>

namespace quendra {

class SpotStore;

// Whether the list shows one stored spot: the band tree's range, then the filter bar. Decided
// from the compact details every stored spot carries, so a refill of a large store costs a few
// bit tests per spot; the country facts are built only while a text is set, since only the text
// needs the call's country name.
class ListFilter {
public:
    void setFilter(const SpotFilter& filter);
    void setRange(BandRange range) { range_ = range; }
    // Names countries for the text; not owned, null for none.
    void setCountries(const CountryLookup* countries) { countries_ = countries; }

    // A feature's own test, asked after the bar's; a spot it refuses counts as hidden by the bar.
    void addCondition(std::function<bool(int storeIndex)> shows) { conditions_.push_back(std::move(shows)); }

    const SpotFilter& filter() const { return filter_; }
    BandRange range() const { return range_; }

    bool inRange(const SpotStore& store, int index) const;
    // Within the range, whether the bar lets the spot through.
    bool passesBar(const SpotStore& store, int index) const;
    bool shows(const SpotStore& store, int index) const { return inRange(store, index) && passesBar(store, index); }

private:
    SpotFilter filter_;
    BandRange range_ = kBandAll;
    const CountryLookup* countries_ = nullptr;
    std::vector<std::function<bool(int)>> conditions_;
    bool barRestricts_ = false;
    bool textSet_ = false;
};

}  // namespace quendra
