#include "share/SpotBroadcast.h"

#include "platform/QtText.h"
#include "spots/SpotStore.h"

#include <QHostInfo>
#include <QTimer>
#include <QUdpSocket>

namespace quendra {

SpotBroadcast::SpotBroadcast(const SpotStore& store, const UdpTarget& target, QObject* parent)
    : QObject(parent),
      store_(store),
      socket_(new QUdpSocket(this)),
      port_(static_cast<quint16>(target.port)),
      timer_(new QTimer(this)) {
    const QString host = toQString(target.host);
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        address_ = QHostAddress::LocalHost;
    } else if (!address_.setAddress(host)) {
        // A name: packets wait for its address; until then they are not sent.
        QHostInfo::lookupHost(host, this, [this](const QHostInfo& info) {
            if (!info.addresses().isEmpty())
                address_ = info.addresses().first();
        });
    }
    expected_ = storeCount();
    timer_->setInterval(kCheckMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        checkAgedOut();
        expected_ = storeCount();
    });
    timer_->start();
}

int SpotBroadcast::storeCount() const { return store_.count(); }

void SpotBroadcast::checkAgedOut(std::size_t justStored) {
    // Spots only leave the store by aging out (or all at once): while it holds exactly what it
    // held plus what was just stored, nothing went and the walk is saved.
    if (announced_.empty() || static_cast<std::size_t>(storeCount()) == static_cast<std::size_t>(expected_) + justStored)
        return;
    for (auto it = announced_.begin(); it != announced_.end();) {
        if (store_.indexOfSerial(it->first) >= 0) {
            ++it;
            continue;
        }
        send(spotPacket(it->second, SpotAction::Delete));
        it = announced_.erase(it);
    }
}

void SpotBroadcast::add(int storeIndex) {
    if (storeIndex < 0 || storeIndex >= store_.count())
        return;
    const SpotPacketFields fields =
        packetFieldsOf(store_.spotAt(storeIndex), store_.frequencyKHzAt(storeIndex), store_.detailsAt(storeIndex).mode);
    send(spotPacket(fields, SpotAction::Add));
    if (announced_.size() >= kMaxRemembered)
        announced_.erase(announced_.begin());
    announced_.emplace(store_.serialAt(storeIndex), fields);
}

void SpotBroadcast::send(const std::string& packet) {
    if (address_.isNull())
        return;
    socket_->writeDatagram(packet.data(), static_cast<qint64>(packet.size()), address_, port_);
}

}  // namespace quendra
