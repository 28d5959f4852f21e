// The one place that names the features. A new feature is a folder under src/core for its plain
// logic, a folder under src for its windows and sockets, and one line here; the order is the
// order features are built, heard and shown (a feature that borrows from another comes after it).
#include "app/FeatureRoom.h"

#include "activity/BandActivityFeature.h"
#include "alerts/AlertsFeature.h"
#include "bandmap/BandMapFeature.h"
#include "dxcc/CountriesFeature.h"
#include "links/SpottingFeature.h"
#include "links/UnattendedLinks.h"
#include "log/LogFeature.h"
#include "propagation/PropagationFeature.h"
#include "radio/RadioControl.h"
#include "share/SharingFeature.h"
#include "skimmer/SkimmerCheckFeature.h"
#include "sources/MoreSources.h"
#include "wsjtx/WsjtxFeature.h"

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
        make<LogFeature>,        // lends the QSO sink and each spot's need, which alerts use
        make<AlertsFeature>,
        make<UnattendedLinks>,
        make<MoreSources>,
        make<SharingFeature>,
        make<PropagationFeature>,
        make<BandActivityFeature>,
        make<WsjtxFeature>,
        make<SkimmerCheckFeature>,  // lends the skimmer spots' status remark
    };
    return features;
}

}  // namespace quendra
