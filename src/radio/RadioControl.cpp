#include "radio/RadioControl.h"

#include "modes/Mode.h"
#include "platform/QtText.h"
#include "radio/RadioLink.h"
#include "radio/RadioStatusText.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>

namespace quendra {

RadioControl::RadioControl(Settings& settings, const SpotStore& store, ViewDxClusterFrame& view,
                           std::function<QStatusBar*()> statusBar, QObject* parent)
    : QObject(parent), settings_(settings), store_(store), view_(view), statusBar_(std::move(statusBar)),
      link_(new RadioLink(settings, this)) {
    tuneAction_ = new QAction(tr("Tune radio"), this);
    tuneAction_->setObjectName(QStringLiteral("tuneRadio"));
    connect(tuneAction_, &QAction::triggered, this, [this] { tuneTo(view_.currentStoreIndex()); });
    view_.addRowAction(tuneAction_);
    connect(&view_, &ViewDxClusterFrame::spotActivated, this, &RadioControl::tuneTo);
    connect(link_, &RadioLink::statusChanged, this, &RadioControl::showStatus);
    connect(link_, &RadioLink::frequencyRead, this,
            [this](qint64 hz, const QString&) {
                lastKHz_ = static_cast<double>(hz) / 1000.0;
                view_.markNearest(lastKHz_);
            });
    tuneAction_->setEnabled(enabled());
    if (enabled())
        showStatus(QString::fromStdString(radioNotConnectedText()));
}

RadioControl::~RadioControl() = default;

bool RadioControl::enabled() const { return readSetting(settings_, setting::kRadioEnabled) != 0; }

bool RadioControl::tuneTo(int storeIndex) {
    tuneAction_->setEnabled(enabled());
    if (!enabled() || storeIndex < 0 || storeIndex >= store_.count())
        return false;
    const Spot& spot = store_.spotAt(storeIndex);
    const std::string_view mode = rigctldMode(store_.detailsAt(storeIndex).mode, store_.frequencyKHzAt(storeIndex));
    return link_->tune(toQString(spot.frequency), QString::fromLatin1(mode.data(), static_cast<qsizetype>(mode.size())));
}

void RadioControl::showStatus(const QString& text) {
    if (!statusField_) {
        QStatusBar* bar = statusBar_();
        statusField_ = new QLabel(bar);
        statusField_->setObjectName(QStringLiteral("radioStatus"));
        statusField_->setAccessibleName(tr("Radio"));
        bar->addPermanentWidget(statusField_);
    }
    statusField_->setText(text);
}

}  // namespace quendra
