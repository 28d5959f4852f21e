#include "app/FrameExtensions.h"

#include "alerts/AlertCenter.h"
#include "app/CommandIds.h"
#include "app/LinkStatusPanel.h"
#include "app/StreamIntake.h"
#include "dxcc/CountryFileLoader.h"
#include "filters/SpotFacts.h"
#include "links/EngineReconnect.h"
#include "links/NorrvelSocket.h"
#include "links/SpotDialog.h"
#include "links/TelnetAutomation.h"
#include "links/TelnetSocket.h"
#include "platform/QtText.h"
#include "radio/RadioControl.h"
#include "radio/RadioLink.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "text/CodePage.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>

#include <algorithm>

namespace quendra {

FrameExtensions::FrameExtensions(Parts parts) : parts_(std::move(parts)) {
    setUpCountries();
    radio_ = std::make_unique<RadioControl>(parts_.settings, parts_.store, parts_.view,
                                            [this] { return parts_.window.statusBar(); });
    spotCommand_ = parts_.tools.addAction(tr("&Spot..."));
    spotCommand_->setObjectName(QStringLiteral("spotCommand"));
    connect(spotCommand_, &QAction::triggered, this, &FrameExtensions::OnSpot);
    parts_.view.addRowAction(spotCommand_);
    alerts_ = std::make_unique<AlertCenter>(parts_.settings, parts_.clock, parts_.store, countries_->lookup);
    alerts_->attach(parts_.view.model());
    parts_.tools.addSeparator();
    alerts_->addToTools(&parts_.tools, &parts_.window);
    setUpUnattendedLinks();
}

// The list outlives the additions: it must not read countries or ask a clock that are gone.
FrameExtensions::~FrameExtensions() {
    parts_.store.setResolver(nullptr);
    SpotListModel& model = parts_.view.model();
    model.setCountries(nullptr);
    model.setClock({});
    model.setLocationTips(false, {});
}

// Countries are worked out once per spot as it arrives. A missing or damaged country file costs
// only the countries; it is mentioned where the operator asked for them.
void FrameExtensions::setUpCountries() {
    countries_ = std::make_unique<LoadedCountries>(loadCountries(parts_.settings));
    countryResolver_ = std::make_unique<CountryResolver>(countries_->lookup);
    parts_.store.setResolver(countryResolver_.get());
    SpotListModel& model = parts_.view.model();
    model.setCountries(&countries_->lookup);
    model.setClock([this] { return secondsSince1970(parts_.clock.now()); });
    updateLocationTips();
    connect(&parts_.view, &ViewDxClusterFrame::extraColumnsChanged, this, &FrameExtensions::updateLocationTips);
}

void FrameExtensions::updateLocationTips() {
    const std::u16string locator = readSetting(parts_.settings, setting::kLocator);
    const std::vector<ExtraColumn> shown = parts_.view.shownExtraColumns();
    const bool wanted = !locator.empty() || !shown.empty();
    parts_.view.model().setLocationTips(wanted, std::string(locator.begin(), locator.end()));
    // Mode and age need no country file: only a column that does makes its absence worth a word.
    const bool countriesShown = std::any_of(shown.begin(), shown.end(), [](ExtraColumn column) {
        return column != ExtraColumn::Mode && column != ExtraColumn::Age;
    });
    if ((countriesShown || !locator.empty()) && !countries_->problem.isEmpty())
        parts_.window.statusBar()->showMessage(countries_->problem);
}

// Logging in, coming back and the link fields are the operator's choice (AUTOLINK); with every
// option off the objects stay idle and no status bar appears.
void FrameExtensions::setUpUnattendedLinks() {
    TelnetAutomation::Hooks hooks;
    hooks.say = parts_.sayOnTelnet;
    hooks.addressChosen = [this](const QString& host, int port) {
        parts_.telnetAddressChosen(host, port);
        if (linkStatus_)
            linkStatus_->setNode(LinkStatusPanel::Telnet, host);
    };
    telnetAutomation_ = std::make_unique<TelnetAutomation>(parts_.settings, parts_.telnet, std::move(hooks));
    engineReconnect_ = std::make_unique<EngineReconnect>(parts_.settings, parts_.engine);
    connect(&parts_.telnet, &AsyncSocket::connectFinished, this, [this](int error) {
        if (error == 0)
            parts_.intake.setReadListings(readSetting(parts_.settings, setting::kReadSpotListings) != 0);
    });
    Settings& settings = parts_.settings;
    const bool unattended = readSetting(settings, setting::kAutoLogin) != 0 ||
                            readSetting(settings, setting::kAutoReconnect) != 0 ||
                            readSetting(settings, setting::kAutoEngineReconnect) != 0 ||
                            readSetting(settings, setting::kReadSpotListings) != 0;
    if (!unattended)
        return;
    linkStatus_ = new LinkStatusPanel(*parts_.window.statusBar(), parts_.telnet, parts_.engine, this);
    linkStatus_->setNode(LinkStatusPanel::Engine, toQString(readSetting(settings, setting::kEngineHost)));
    for (AsyncSocket* link : {static_cast<AsyncSocket*>(&parts_.telnet), static_cast<AsyncSocket*>(&parts_.engine)}) {
        connect(link, &AsyncSocket::connectFinished, linkStatus_, &LinkStatusPanel::refresh);
        connect(link, &AsyncSocket::closed, linkStatus_, &LinkStatusPanel::refresh);
    }
}

void FrameExtensions::telnetReceived(std::u16string_view text) { telnetAutomation_->received(text); }

void FrameExtensions::spotArriving(int storeIndex) { alerts_->spotArrived(storeIndex); }

void FrameExtensions::spotsStored(bool fromTelnet, std::size_t count) {
    if (!linkStatus_)
        return;
    for (std::size_t i = 0; i < count; ++i)
        linkStatus_->spotReceived(fromTelnet ? LinkStatusPanel::Telnet : LinkStatusPanel::Engine);
}

void FrameExtensions::userConnects(int tab) {
    if (tab == kTabTelnet)
        telnetAutomation_->userConnected();
    else if (tab == kTabPacket)
        engineReconnect_->userConnected();
}

void FrameExtensions::userDisconnects(int tab) {
    if (tab == kTabTelnet)
        telnetAutomation_->userDisconnected();
    else if (tab == kTabPacket)
        engineReconnect_->userDisconnected();
}

bool FrameExtensions::retrying(int tab) const {
    switch (tab) {
    case kTabTelnet: return telnetAutomation_->retrying();
    case kTabPacket: return engineReconnect_->retrying();
    default: return false;
    }
}

void FrameExtensions::OnSpot() {
    QString call;
    QString kHz;
    if (const int index = parts_.view.currentStoreIndex(); index >= 0 && parts_.clusterViewActive()) {
        call = toQString(parts_.store.spotAt(index).station);
        kHz = toQString(parts_.store.spotAt(index).frequency).trimmed();
    }
    if (radio_->link().state() == RadioLink::State::Connected && radio_->lastKHz() > 0)
        kHz = QString::number(radio_->lastKHz(), 'f', 1);
    SpotDialog dialog(call, kHz, &parts_.window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (parts_.telnet.connected() == 0) {
        QMessageBox::warning(&parts_.window, QStringLiteral("Quendra"), tr("Not connected to a cluster node."));
        return;
    }
    parts_.telnet.sendTyped(encodeWindows1252(toU16(dialog.command() + QStringLiteral("\r\n"))));
}

}  // namespace quendra
