#include "bandmap/BandMapFeature.h"

#include "bandmap/BandMapCanvas.h"
#include "features/FeatureHost.h"
#include "modes/BandPlan.h"
#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotListModel.h"
#include "spots/ViewDxClusterFrame.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QVBoxLayout>

namespace quendra {
namespace {

QString bandName(const AmateurBand& band) { return QString::fromLatin1(band.name.data(), static_cast<qsizetype>(band.name.size())); }

int regionFrom(Settings& settings) {
    const int region = readSetting(settings, setting::kBandMapRegion);
    return region >= 1 && region <= 3 ? region : 1;
}

}  // namespace

BandMapFeature::BandMapFeature(FeatureHost& host) : host_(host) {
    showAction_ = new QAction(tr("&Band map"), this);
    showAction_->setObjectName(QStringLiteral("showBandMap"));
    showAction_->setCheckable(true);
    showAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    showAction_->setShortcutContext(Qt::WindowShortcut);
    host_.toolsSection().addAction(showAction_);
    // The shortcut works wherever the focus is in the window, menu open or not.
    host_.window().addAction(showAction_);
    connect(showAction_, &QAction::toggled, this, &BandMapFeature::setShown);
    if (readSetting(host_.settings(), setting::kBandMapShown) != 0)
        showAction_->setChecked(true);
}

BandMapFeature::~BandMapFeature() { savePlace(); }

void BandMapFeature::setShown(bool shown) {
    if (shown && !dock_)
        makePane();
    if (dock_)
        dock_->setVisible(shown);
    writeSetting(host_.settings(), setting::kBandMapShown, shown ? 1 : 0);
}

void BandMapFeature::makePane() {
    dock_ = new QDockWidget(tr("Band map"), &host_.window());
    dock_->setObjectName(QStringLiteral("bandMapDock"));
    dock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                       QDockWidget::DockWidgetFloatable);

    auto* pane = new QWidget(dock_);
    pane->setObjectName(QStringLiteral("bandMapPane"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    bandSelector_ = new QComboBox(pane);
    bandSelector_->setObjectName(QStringLiteral("bandMapBand"));
    bandSelector_->setAccessibleName(tr("Band"));
    for (const AmateurBand& band : amateurBands())
        bandSelector_->addItem(bandName(band));
    const int saved = bandSelector_->findText(toQString(readSetting(host_.settings(), setting::kBandMapBand)));
    bandSelector_->setCurrentIndex(saved >= 0 ? saved : bandSelector_->findText(QStringLiteral("20m")));
    connect(bandSelector_, &QComboBox::activated, this, [this] {
        writeSetting(host_.settings(), setting::kBandMapBand, toU16(bandSelector_->currentText()));
        showBand();
    });
    layout->addWidget(bandSelector_);

    ViewDxClusterFrame& view = host_.view();
    canvas_ = new BandMapCanvas({host_.store(), view.model(), host_.clock(),
                                 readSetting(host_.settings(), setting::kSpotLifetimeSeconds),
                                 [&view](int storeIndex) { view.selectStoreIndex(storeIndex); },
                                 [&view](int storeIndex) { view.activateStoreIndex(storeIndex); }},
                                pane);
    layout->addWidget(canvas_, 1);
    dock_->setWidget(pane);
    dock_->hide();
    host_.addDock(dock_);
    restorePlace();

    // The dock's own close button hides it; the menu's entry and the setting follow.
    connect(dock_->toggleViewAction(), &QAction::toggled, this, [this](bool shown) {
        if (showAction_->isChecked() != shown)
            showAction_->setChecked(shown);
    });
    connect(dock_, &QDockWidget::topLevelChanged, this, [this] { savePlace(); });
    canvas_->setRadioKHz(radioKHz_);
    showBand();
}

void BandMapFeature::restorePlace() {
    Settings& settings = host_.settings();
    if (readSetting(settings, setting::kBandMapFloating) != 0) {
        dock_->setFloating(true);
        if (const auto geometry = readSetting(settings, setting::kBandMapGeometry))
            dock_->restoreGeometry(QByteArray(reinterpret_cast<const char*>(geometry->data()),
                                              static_cast<qsizetype>(geometry->size())));
    }
    if (const int width = readSetting(settings, setting::kBandMapWidth); width > 0)
        host_.window().resizeDocks({dock_}, {width}, Qt::Horizontal);
}

// Only a map that was ever shown writes where it stood.
void BandMapFeature::savePlace() const {
    if (!dock_)
        return;
    Settings& settings = host_.settings();
    writeSetting(settings, setting::kBandMapFloating, dock_->isFloating() ? 1 : 0);
    if (dock_->isFloating()) {
        const QByteArray geometry = dock_->saveGeometry();
        writeSetting(settings, setting::kBandMapGeometry, std::vector<std::uint8_t>(geometry.begin(), geometry.end()));
    } else if (!dock_->isHidden()) {
        writeSetting(settings, setting::kBandMapWidth, dock_->width());
    }
}

bool BandMapFeature::radioDecides() const {
    return readSetting(host_.settings(), setting::kRadioEnabled) != 0 && amateurBandAt(radioKHz_) != nullptr;
}

void BandMapFeature::showBand() {
    if (!canvas_)
        return;
    const AmateurBand* band = nullptr;
    if (radioDecides()) {
        band = amateurBandAt(radioKHz_);
        bandSelector_->setCurrentIndex(bandSelector_->findText(bandName(*band)));
    } else {
        const auto bands = amateurBands();
        const int picked = bandSelector_->currentIndex();
        band = &bands[static_cast<std::size_t>(picked >= 0 ? picked : 0)];
    }
    // While the radio decides, the selector only shows its band.
    bandSelector_->setEnabled(!radioDecides());
    canvas_->setBand({band->lowKHz, band->highKHz}, regionFrom(host_.settings()));
}

void BandMapFeature::radioFrequency(double kHz) {
    radioKHz_ = kHz;
    if (!canvas_)
        return;
    showBand();
    canvas_->setRadioKHz(kHz);
}

}  // namespace quendra
