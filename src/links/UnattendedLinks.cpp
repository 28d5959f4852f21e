#include "links/UnattendedLinks.h"

#include "app/StreamIntake.h"
#include "features/FeatureHost.h"
#include "links/EngineReconnect.h"
#include "links/LinkStatusPanel.h"
#include "links/NorrvelSocket.h"
#include "links/TelnetAutomation.h"
#include "links/TelnetSocket.h"
#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"

namespace quendra {

UnattendedLinks::UnattendedLinks(FeatureHost& host) : host_(host) {
    TelnetAutomation::Hooks hooks;
    hooks.say = [this](std::u16string_view line) { host_.sayOnTelnet(line); };
    hooks.addressChosen = [this](const QString& node, int port) {
        host_.telnetAddressChosen(node, port);
        if (linkStatus_)
            linkStatus_->setNode(LinkStatusPanel::Telnet, node);
    };
    telnetAutomation_ = std::make_unique<TelnetAutomation>(host_.settings(), host_.telnet(), std::move(hooks));
    engineReconnect_ = std::make_unique<EngineReconnect>(host_.settings(), host_.engine());
    connect(&host_.telnet(), &AsyncSocket::connectFinished, this, [this](int error) {
        if (error == 0)
            host_.intake().setReadListings(readSetting(host_.settings(), setting::kReadSpotListings) != 0);
    });
    if (anyOptionOn())
        showLinkStatus();
}

UnattendedLinks::~UnattendedLinks() = default;

bool UnattendedLinks::anyOptionOn() const {
    Settings& settings = host_.settings();
    return readSetting(settings, setting::kAutoLogin) != 0 || readSetting(settings, setting::kAutoReconnect) != 0 ||
           readSetting(settings, setting::kAutoEngineReconnect) != 0 ||
           readSetting(settings, setting::kReadSpotListings) != 0;
}

void UnattendedLinks::showLinkStatus() {
    linkStatus_ = new LinkStatusPanel(host_.statusBar(), host_.telnet(), host_.engine(), this);
    linkStatus_->setNode(LinkStatusPanel::Engine, toQString(readSetting(host_.settings(), setting::kEngineHost)));
    for (AsyncSocket* link : {static_cast<AsyncSocket*>(&host_.telnet()), static_cast<AsyncSocket*>(&host_.engine())}) {
        connect(link, &AsyncSocket::connectFinished, linkStatus_, &LinkStatusPanel::refresh);
        connect(link, &AsyncSocket::closed, linkStatus_, &LinkStatusPanel::refresh);
    }
}

void UnattendedLinks::linkReceived(LinkKind link, std::u16string_view text) {
    if (link == LinkKind::Telnet)
        telnetAutomation_->received(text);
}

void UnattendedLinks::spotsListed(LinkKind from, const std::vector<int>& storeIndexes) {
    if (!linkStatus_ || from == LinkKind::FeatureLink)
        return;
    const LinkStatusPanel::Which which = from == LinkKind::Telnet ? LinkStatusPanel::Telnet : LinkStatusPanel::Engine;
    for (std::size_t i = 0; i < storeIndexes.size(); ++i)
        linkStatus_->spotReceived(which);
}

void UnattendedLinks::userConnects(LinkKind link) {
    if (link == LinkKind::Telnet)
        telnetAutomation_->userConnected();
    else
        engineReconnect_->userConnected();
}

void UnattendedLinks::userDisconnects(LinkKind link) {
    if (link == LinkKind::Telnet)
        telnetAutomation_->userDisconnected();
    else
        engineReconnect_->userDisconnected();
}

bool UnattendedLinks::retrying(LinkKind link) const {
    return link == LinkKind::Telnet ? telnetAutomation_->retrying() : engineReconnect_->retrying();
}

}  // namespace quendra
