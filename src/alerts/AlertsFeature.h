#pragma once

#include "features/Feature.h"

#include <memory>

namespace quendra {

class AlertCenter;
class CountryLookup;
class FeatureHost;

// The watch list in the program: every stored spot is checked against it, matches are drawn
// highlighted, and the Tools menu edits the list and the alert switches.
class AlertsFeature : public Feature {
public:
    explicit AlertsFeature(FeatureHost& host);
    ~AlertsFeature() override;

    void featuresBuilt() override;
    void spotStored(int storeIndex) override;
    AlertCenter& alerts() const { return *alerts_; }

private:
    std::unique_ptr<CountryLookup> noCountries_;  // only when no feature lends a country lookup
    FeatureHost& host_;
    std::unique_ptr<AlertCenter> alerts_;
};

}  // namespace quendra
