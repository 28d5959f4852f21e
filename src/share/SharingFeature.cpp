#include "share/SharingFeature.h"

#include "features/FeatureHost.h"
#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"
#include "share/LocalNode.h"
#include "share/NodeLines.h"
#include "share/SpotBroadcast.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"

#include <QHostAddress>

namespace quendra {

SharingFeature::SharingFeature(FeatureHost& host) : host_(host) {
    Settings& settings = host.settings();
    filtered_ = readSetting(settings, setting::kShareFiltered) != 0;
    const int port = readSetting(settings, setting::kSharePort);
    if (port > 0 && port < 65536) {
        const QString address = toQString(readSetting(settings, setting::kShareAddress)).trimmed();
        auto* node = new LocalNode(host.store(), host.clock(), this);
        QHostAddress listenAddress(address);
        if (address.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            listenAddress = QHostAddress::LocalHost;
        if (!listenAddress.isNull() && node->listen(listenAddress, static_cast<quint16>(port))) {
            node_ = node;
        } else {
            const QString why = listenAddress.isNull() ? tr("not an address") : node->errorString();
            host_.sayOnTelnet(toU16(tr("***Local node cannot listen on %1:%2 (%3).").arg(address).arg(port).arg(why)));
            delete node;
        }
    }
    UdpTarget target;
    if (parseUdpTarget(readSetting(settings, setting::kShareUdp), target))
        broadcast_ = new SpotBroadcast(host.store(), target, this);
}

SharingFeature::~SharingFeature() = default;

bool SharingFeature::shared(int storeIndex) const {
    return !filtered_ || host_.view().passesFilterBar(storeIndex);
}

void SharingFeature::spotsListed(LinkKind /*from*/, const std::vector<int>& storeIndexes) {
    if (broadcast_)
        broadcast_->spotsStored(storeIndexes, [this](int index) { return shared(index); });
    if (!node_)
        return;
    const SpotStore& store = host_.store();
    for (int index : storeIndexes) {
        if (index < 0 || index >= store.count() || !shared(index))
            continue;
        node_->announce(announcementLine(store.spotAt(index), store.frequencyKHzAt(index)));
    }
}

}  // namespace quendra
