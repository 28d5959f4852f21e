#include "dxcc/CountriesFeature.h"

#include "dxcc/CountryFileLoader.h"
#include "spots/Clock.h"
#include "features/FeatureHost.h"
#include "filters/SpotFacts.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"

#include <QStatusBar>

#include <algorithm>

namespace quendra {

CountriesFeature::CountriesFeature(FeatureHost& host)
    : host_(host), countries_(std::make_unique<LoadedCountries>(loadCountries(host.settings()))),
      resolver_(std::make_unique<CountryResolver>(countries_->lookup)) {
    host_.provide<const CountryLookup>(countries_->lookup);
    host_.store().setResolver(resolver_.get());
    SpotListModel& model = host_.view().model();
    model.setCountries(&countries_->lookup);
    model.setClock([&clock = host_.clock()] { return secondsSince1970(clock.now()); });
    updateLocationTips();
    connect(&host_.view(), &ViewDxClusterFrame::extraColumnsChanged, this, &CountriesFeature::updateLocationTips);
}

CountriesFeature::~CountriesFeature() {
    host_.store().setResolver(nullptr);
    SpotListModel& model = host_.view().model();
    model.setCountries(nullptr);
    model.setClock({});
    model.setLocationTips(false, {});
}

void CountriesFeature::updateLocationTips() {
    const std::u16string locator = readSetting(host_.settings(), setting::kLocator);
    const std::vector<ExtraColumn> shown = host_.view().shownExtraColumns();
    const bool wanted = !locator.empty() || !shown.empty();
    host_.view().model().setLocationTips(wanted, std::string(locator.begin(), locator.end()));
    // Mode and age need no country file: only a column that does makes its absence worth a word.
    const bool countriesShown = std::any_of(shown.begin(), shown.end(), [](ExtraColumn column) {
        return column != ExtraColumn::Mode && column != ExtraColumn::Age;
    });
    if ((countriesShown || !locator.empty()) && !countries_->problem.isEmpty())
        host_.statusBar().showMessage(countries_->problem);
}

}  // namespace quendra
