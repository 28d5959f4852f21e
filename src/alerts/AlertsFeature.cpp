#include "alerts/AlertsFeature.h"

#include "alerts/AlertCenter.h"
#include "dxcc/CountryLookup.h"
#include "features/NeedOfSpot.h"
#include "features/FeatureHost.h"
#include "spots/ViewDxClusterFrame.h"

#include <QMainWindow>

namespace quendra {
namespace {

const CountryLookup& countriesOf(FeatureHost& host, std::unique_ptr<CountryLookup>& fallback) {
    if (const CountryLookup* lent = host.find<const CountryLookup>())
        return *lent;
    fallback = std::make_unique<CountryLookup>();
    return *fallback;
}

}  // namespace

AlertsFeature::AlertsFeature(FeatureHost& host)
    : host_(host), alerts_(std::make_unique<AlertCenter>(host.settings(), host.clock(), host.store(),
                                            countriesOf(host, noCountries_))) {
    alerts_->attach(host.view().model());
    alerts_->addToTools(&host.toolsSection(), &host.window());
}

AlertsFeature::~AlertsFeature() = default;

// The operator's log, when one is kept, lends what it says of each spot.
void AlertsFeature::featuresBuilt() { alerts_->setNeeds(host_.find<const NeedOfSpot>()); }

void AlertsFeature::spotStored(int storeIndex) { alerts_->spotArrived(storeIndex); }

}  // namespace quendra
