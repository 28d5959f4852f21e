#pragma once

#include "features/Feature.h"

#include <QObject>

#include <memory>

namespace quendra {

class CountryResolver;
class FeatureHost;
struct LoadedCountries;

// Countries for every spot: the store works out each spot's country, continent and zone once as
// it arrives, and the list offers them as optional columns and location tips. The country lookup
// is lent to the features after this one. A missing or damaged country file costs only the
// countries; it is mentioned where the operator asked for them.
class CountriesFeature : public QObject, public Feature {
    Q_OBJECT
public:
    explicit CountriesFeature(FeatureHost& host);
    // The list outlives the features: it must not read countries or ask a clock that are gone.
    ~CountriesFeature() override;

private:
    void updateLocationTips();

    FeatureHost& host_;
    std::unique_ptr<LoadedCountries> countries_;
    std::unique_ptr<CountryResolver> resolver_;
};

}  // namespace quendra
