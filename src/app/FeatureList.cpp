// The one place that names the features. A new feature is a folder under src/core for its plain
// logic, a folder under src for its windows and sockets, and one line here; the order is the
// order features are built, heard and shown (a feature that borrows from another comes after it).
#include "app/FeatureRoom.h"

#include "alerts/AlertsFeature.h"
#include "bandmap/BandMapFeature.h"
#include "dxcc/CountriesFeature.h"
#include "links/SpottingFeature.h"
#include "links/UnattendedLinks.h"
#include "radio/RadioControl.h"

namespace quendra {
namespace {

template <class Made>
std::unique_ptr<Feature> make(FeatureHost& host) {
    return std::make_unique<Made>(host);
}

}  // namespace

const std::vector<FeatureMaker>& featureList() {
    static const std::vector<FeatureMaker> features = {
        make<CountriesFeature>,  // lends the country lookup
        make<RadioControl>,      // announces the radio's frequency
        make<BandMapFeature>,
        make<SpottingFeature>,
        make<AlertsFeature>,
        make<UnattendedLinks>,
    };
    return features;
}

}  // namespace quendra
