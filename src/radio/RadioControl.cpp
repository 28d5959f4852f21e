#include "radio/RadioControl.h"

#include "features/FeatureHost.h"
#include "modes/Mode.h"
#include "platform/QtText.h"
#include "radio/RadioLink.h"
#include "radio/RadioStatusText.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"

#include <QAction>
#include <QLabel>

namespace quendra {

RadioControl::RadioControl(FeatureHost& host) : host_(host), link_(new RadioLink(host.settings(), this)) {
    tuneAction_ = new QAction(tr("Tune radio"), this);
    tuneAction_->setObjectName(QStringLiteral("tuneRadio"));
    ViewDxClusterFrame& view = host_.view();
    connect(tuneAction_, &QAction::triggered, this, [this, &view] { tuneTo(view.currentStoreIndex()); });
    host_.addRowAction(tuneAction_);
    connect(&view, &ViewDxClusterFrame::spotActivated, this, [this](int storeIndex) {
        if (!host_.activationClaimed(storeIndex))
            tuneTo(storeIndex);
    });
    connect(link_, &RadioLink::statusChanged, this, [this](const QString& text) {
        showStatus(text);
        if (link_->state() != RadioLink::State::Connected && lastKHz_ > 0) {
            lastKHz_ = 0;
            host_.announceRadioFrequency(0);
        }
    });
    connect(link_, &RadioLink::frequencyRead, this, [this, &view](qint64 hz, const QString&) {
        lastKHz_ = static_cast<double>(hz) / 1000.0;
        view.markNearest(lastKHz_);
        host_.announceRadioFrequency(lastKHz_);
    });
    tuneAction_->setEnabled(enabled());
    if (enabled())
        showStatus(QString::fromStdString(radioNotConnectedText()));
}

RadioControl::~RadioControl() = default;

bool RadioControl::enabled() const { return readSetting(host_.settings(), setting::kRadioEnabled) != 0; }

bool RadioControl::tuneTo(int storeIndex) {
    tuneAction_->setEnabled(enabled());
    const SpotStore& store = host_.store();
    if (!enabled() || storeIndex < 0 || storeIndex >= store.count())
        return false;
    const Spot& spot = store.spotAt(storeIndex);
    const std::string_view mode = rigctldMode(store.detailsAt(storeIndex).mode, store.frequencyKHzAt(storeIndex));
    return link_->tune(toQString(spot.frequency), QString::fromLatin1(mode.data(), static_cast<qsizetype>(mode.size())));
}

void RadioControl::showStatus(const QString& text) {
    if (!statusField_) {
        statusField_ = new QLabel;
        statusField_->setObjectName(QStringLiteral("radioStatus"));
        statusField_->setAccessibleName(tr("Radio"));
        host_.addStatusField(statusField_);
    }
    statusField_->setText(text);
}

}  // namespace quendra
