#include "filters/ListFilter.h"

#include "filters/SpotFacts.h"
#include "spots/SpotStore.h"

namespace quendra {
namespace {

bool allowed(SpotFilter::Mask set, int value) { return set == 0 || (set & SpotFilter::bit(value)) != 0; }

const CountryLookup& noCountries() {
    static const CountryLookup none;
    return none;
}

}  // namespace

void ListFilter::setFilter(const SpotFilter& filter) {
    filter_ = filter;
    barRestricts_ = !filter_.restrictsNothing();
    textSet_ = !filter_.text().empty();
}

bool ListFilter::inRange(const SpotStore& store, int index) const {
    return range_.contains(store.frequencyKHzAt(index));
}

bool ListFilter::passesBar(const SpotStore& store, int index) const {
    for (const std::function<bool(int)>& shows : conditions_) {
        if (!shows(index))
            return false;
    }
    if (!barRestricts_)
        return true;
    const SpotDetails& details = store.detailsAt(index);
    if (!allowed(filter_.bands(), details.band) ||
        !allowed(filter_.modeGroups(), static_cast<int>(modeGroup(details.mode))) ||
        !allowed(filter_.dxContinents(), static_cast<int>(details.dxContinent)) ||
        !allowed(filter_.spotterContinents(), static_cast<int>(details.spotterContinent)) ||
        (details.skimmer && !filter_.showSkimmers()))
        return false;
    if (!textSet_)
        return true;
    const CountryLookup& countries = countries_ ? *countries_ : noCountries();
    return filter_.matches(factsOf(store.spotAt(index), details, countries));
}

}  // namespace quendra
