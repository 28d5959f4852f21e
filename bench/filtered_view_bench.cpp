// The list refilled with 200,000 spots stored and every filter of the bar in force must stay
// under 50 ms, like a band switch without filters: the bar decides from each spot's compact
// details and builds the country facts only while a text is set.
#include "QtBenchmarkMain.h"
#include "dxcc/CountryFile.h"
#include "dxcc/CountryLookup.h"
#include "filters/SpotFacts.h"
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "spots/SpotListModel.h"
#include "../tests/support/ManualClock.h"

#include <QApplication>
#include <QFile>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace quendra;
using quendra::testing::ManualClock;

const char16_t* const kFrequencies[] = {u"14025.0", u"7074.0", u"144300", u"14250.0", u"21074",
                                        u"3510", u"28074", u"7150.0"};
const char16_t* const kPrefixes[] = {u"DL", u"K", u"JA", u"G", u"VK", u"PY", u"ZS", u"UA"};
const char16_t* const kSpotters[] = {u"DL1XX", u"W1AW", u"G4ABC", u"JA1ZZ-#", u"VK2AA", u"EA3BB"};
const char16_t* const kComments[] = {u"CW 599", u"FT8 -10", u"SSB 59", u"CW 24 dB 28 WPM CQ"};

std::u16string digits(int number) {
    std::u16string text;
    for (char ch : std::to_string(number))
        text += static_cast<char16_t>(ch);
    return text;
}

// The country file the system installed when there is one; the made-up calls resolve to real
// entities there, as they would for an operator.
CountryLookup installedCountries() {
    QFile file(QStringLiteral("/usr/share/hamradio-files/cty.dat"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    CountryFileResult parsed = parseCountryFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return parsed.file ? CountryLookup(std::move(*parsed.file)) : CountryLookup();
}

struct FilteredView {
    FilteredView(int stored, bool filters, bool text, bool collapse) {
        if (filters) {
            settings.WriteProfileString(u"FILTERS", u"BANDS", u"80m,40m,20m,15m,10m");
            settings.WriteProfileString(u"FILTERS", u"MODES", u"CW,Digital");
            settings.WriteProfileString(u"FILTERS", u"CONTINENTS", u"EU,NA,AS,OC");
            settings.WriteProfileString(u"FILTERS", u"SPOTTER_CONTINENTS", u"EU,NA,OC");
            settings.WriteProfileInt(u"FILTERS", u"SKIMMER", 0);
        }
        if (text)
            settings.WriteProfileString(u"FILTERS", u"TEXT", u"A");
        settings.WriteProfileInt(u"FILTERS", u"COLLAPSE", collapse ? 1 : 0);
        store.setResolver(&resolver);
        for (int i = 0; i < stored; ++i) {
            const std::u16string text = u"1234Z DX de " + std::u16string(kSpotters[i % 6]) + u": " +
                                        kFrequencies[i % 8] + u" " + kPrefixes[(i / 8) % 8] + u"1" + digits(i) +
                                        u" " + kComments[(i / 3) % 4];
            store.parseTimedSpot(text, u"GB7NODE");
        }
        view = std::make_unique<ViewDxClusterFrame>(settings);
        view->model().setCountries(&countries);
        view->setSpotStore(&store);
        view->resize(800, 600);
        view->show();
        view->refillList();
        QApplication::processEvents();
    }
    MemorySettings settings;
    ManualClock clock;
    CountryLookup countries = installedCountries();
    CountryResolver resolver{countries};
    SpotStore store{settings, clock};
    std::unique_ptr<ViewDxClusterFrame> view;
};

// Arguments: stored spots, every mask filter on, the text filter on, repeats collapsed.
void BM_RefillFiltered(benchmark::State& state) {
    FilteredView shown(static_cast<int>(state.range(0)), state.range(1) != 0, state.range(2) != 0, state.range(3) != 0);
    for (auto _ : state) {
        shown.view->refillList();
        QApplication::processEvents();
    }
    state.counters["rows_listed"] = shown.view->spotList()->model()->rowCount();
}
BENCHMARK(BM_RefillFiltered)
    ->Args({200'000, 0, 0, 0})  // baseline: the bar restricts nothing
    ->Args({200'000, 1, 0, 0})
    ->Args({200'000, 1, 1, 0})
    ->Args({200'000, 1, 1, 1})
    ->Args({200'000, 0, 0, 1})
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarksWithApplication(argc, argv); }
