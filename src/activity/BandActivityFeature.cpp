#include "activity/BandActivityFeature.h"

#include "activity/BandActivityModel.h"
#include "activity/BandActivityWindow.h"
#include "features/FeatureHost.h"
#include "filters/FilterBar.h"
#include "settings/SettingsCatalogue.h"
#include "spots/Clock.h"
#include "spots/ViewDxClusterFrame.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

namespace quendra {
namespace {

// While the window is open its counts follow the clock this often.
constexpr int kRefreshMs = 10'000;

}  // namespace

BandActivityFeature::BandActivityFeature(FeatureHost& host)
    : host_(host), model_(new BandActivityModel(this)), timer_(new QTimer(this)) {
    windowAction_ = host.toolsSection().addAction(tr("Band &Band activity...activity..."));
    windowAction_->setObjectName(QStringLiteral("showBandActivity"));
    connect(windowAction_, &QAction::triggered, this, &BandActivityFeature::showWindow);
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (window_ && window_->isVisible())
            refresh();
        else
            timer_->stop();
    });
}

BandActivityFeature::~BandActivityFeature() = default;

BandActivityWindow* BandActivityFeature::window() const { return window_; }

void BandActivityFeature::spotStored(int storeIndex) { activity_.recordSpot(host_.store(), storeIndex); }

std::int64_t BandActivityFeature::windowSeconds() const {
    return readSetting(host_.settings(), setting::kActivityHour) != 0 ? 3600 : 900;
}

void BandActivityFeature::refresh() {
    const std::int64_t now = secondsSince1970(host_.clock().now());
    activity_.prune(now);
    model_->setGrid(activity_.count(now, windowSeconds()), static_cast<int>(windowSeconds() / 60));
}

void BandActivityFeature::choose(int band, int column) {
    const Continent continent = BandActivity::continentOfColumn(column);
    host_.view().filterBar().setBandsAndDxContinents(
        SpotFilter::bit(band), continent == Continent::Unknown ? 0 : SpotFilter::bit(static_cast<int>(continent)));
    host_.view().filterBar().setBarShown(true);
}

void BandActivityFeature::showWindow() {
    if (!window_) {
        window_ = new BandActivityWindow(*model_, windowSeconds() == 3600, &host_.window());
        connect(window_, &BandActivityWindow::cellChosen, this, &BandActivityFeature::choose);
        connect(window_, &BandActivityWindow::lastHourChanged, this, [this](bool lastHour) {
            writeSetting(host_.settings(), setting::kActivityHour, lastHour ? 1 : 0);
            window_->setWindowMinutes(lastHour ? 60 : 15);
            refresh();
        });
    }
    refresh();
    timer_->start();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace quendra
