#include "wsjtx/WsjtxFeature.h"

#include "app/StreamIntake.h"
#include "features/FeatureHost.h"
#include "features/QsoSink.h"
#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "wsjtx/DecodeSpot.h"
#include "wsjtx/QsoRecord.h"

#include <QLabel>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>

namespace quendra {
namespace {

constexpr std::u16string_view kNodeName = u"WSJT-X";
constexpr std::size_t kMaxInstances = 16;
// WSJT-X's datagrams are small; anything this large is not one of them.
constexpr qint64 kMaxDatagram = 64 * 1024;

}  // namespace

WsjtxFeature::WsjtxFeature(FeatureHost& host) : host_(host) {
    if (readSetting(host_.settings(), setting::kWsjtxEnabled) == 0)
        return;
    listen();
    connect(&host_.view(), &ViewDxClusterFrame::spotActivated, this, &WsjtxFeature::replyTo);
    // Tuning the radio to a decode would move WSJT-X's dial under it; the Reply is the answer.
    host_.claimActivations([this](int storeIndex) { return isDecode(storeIndex); });
    // The decodes are a source beside the node: the same station heard both ways is one row.
    if (readSetting(host_.settings(), setting::kMergeSources) != 0)
        host_.view().setMergeSources(true);
}

WsjtxFeature::~WsjtxFeature() = default;

void WsjtxFeature::featuresBuilt() { qsoSink_ = host_.find<QsoSink>(); }

void WsjtxFeature::listen() {
    socket_ = new QUdpSocket(this);
    const QHostAddress group(toQString(readSetting(host_.settings(), setting::kWsjtxAddress)));
    const int port = readSetting(host_.settings(), setting::kWsjtxPort);
    const bool multicast = group.isMulticast();
    // WSJT-X's companions share the port, so it is bound to be shared.
    const QHostAddress local = multicast ? (group.protocol() == QAbstractSocket::IPv6Protocol ? QHostAddress::AnyIPv6
                                                                                            : QHostAddress::AnyIPv4)
                                         : group;
    where_ = QStringLiteral("%1:%2").arg(group.toString()).arg(port);
    bool ok = !group.isNull() && port >= 0 && port <= 65535 &&
              socket_->bind(local, static_cast<quint16>(port), QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    if (ok && multicast)
        ok = joinGroup(group);
    if (!ok) {
        showStatus(tr("WSJT-X: cannot listen on %1 (%2)")
                       .arg(where_, group.isNull() ? tr("not an address") : socket_->errorString()));
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, &WsjtxFeature::readPending);
    showStatus(tr("WSJT-X: listening on %1").arg(where_));
}

// WSJT-X's own advice is a group on the loopback interface, so the group is joined on every
// interface that carries multicast, the loopback one included, not only on the default one.
bool WsjtxFeature::joinGroup(const QHostAddress& group) {
    bool joined = false;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::CanMulticast))
            joined = socket_->joinMulticastGroup(group, interface) || joined;
    }
    return joined || socket_->joinMulticastGroup(group);
}

bool WsjtxFeature::listening() const { return socket_ && socket_->state() == QAbstractSocket::BoundState; }

quint16 WsjtxFeature::localPort() const { return socket_ ? socket_->localPort() : 0; }

void WsjtxFeature::showStatus(const QString& text) {
    if (!statusField_) {
        statusField_ = new QLabel;
        statusField_->setObjectName(QStringLiteral("wsjtxStatus"));
        statusField_->setAccessibleName(tr("WSJT-X"));
        host_.addStatusField(statusField_);
    }
    statusField_->setText(text);
    showCounts();
}

void WsjtxFeature::showCounts() {
    if (!statusField_)
        return;
    const QString counts = tr("%n datagram(s) read", nullptr, received_) + QStringLiteral("; ") +
                           tr("%n malformed, dropped", nullptr, malformed_);
    statusField_->setToolTip(counts);
    statusField_->setAccessibleDescription(counts);
}

void WsjtxFeature::readPending() {
    while (socket_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_->receiveDatagram(kMaxDatagram);
        take(datagram.data(), datagram.senderAddress(), static_cast<quint16>(datagram.senderPort()));
    }
}

void WsjtxFeature::take(const QByteArray& datagram, const QHostAddress& from, quint16 port) {
    ++received_;
    const std::optional<wsjtx::Message> message =
        wsjtx::readMessage(std::string_view(datagram.constData(), static_cast<std::size_t>(datagram.size())));
    if (!message)
        ++malformed_;
    showCounts();
    if (!message)
        return;
    auto known = instances_.find(message->id);
    if (known == instances_.end()) {
        if (instances_.size() >= kMaxInstances)
            instances_.erase(instances_.begin());
        known = instances_.emplace(message->id, Instance{}).first;
    }
    Instance& instance = known->second;
    instance.address = from;
    instance.port = port;
    instance.schema = message->schema;
    if (const auto* status = std::get_if<wsjtx::Status>(&message->body))
        instance.status = *status;
    else if (const auto* decode = std::get_if<wsjtx::Decode>(&message->body))
        decoded(message->id, *decode);
    else if (const auto* qso = std::get_if<wsjtx::QsoLogged>(&message->body))
        logged(wsjtx::adifRecord(*qso));
    else if (const auto* adif = std::get_if<wsjtx::LoggedAdif>(&message->body)) {
        if (const std::optional<std::string> record = wsjtx::firstAdifRecord(adif->adif))
            logged(*record);
    } else if (std::holds_alternative<wsjtx::OtherMessage>(message->body) &&
               std::get<wsjtx::OtherMessage>(message->body).type == static_cast<std::uint32_t>(wsjtx::MessageType::Close))
        instances_.erase(known);
}

void WsjtxFeature::decoded(const std::string& id, const wsjtx::Decode& decode) {
    const std::u16string myCall = readSetting(host_.settings(), setting::kMyCall);
    const std::optional<ParsedSpot> spot = wsjtx::spotFromDecode(instances_[id].status, decode, myCall);
    if (!spot)
        return;
    SpotStore& store = host_.store();
    // Aged out before the new spot is stored, so that its index holds while it is handed on.
    IntakeOutcome outcome;
    outcome.ageOutRan = true;
    outcome.expiredSpots = store.expireSpots();
    const int index = store.storeSpot(*spot, kNodeName);
    if (index < 0) {
        if (outcome.expiredSpots > 0)
            host_.view().refillList();
        return;
    }
    decodes_[store.serialAt(index)] = HeardDecode{id, decode};
    forgetGoneSpots();
    outcome.storedSpots.push_back(index);
    host_.listStoredSpots(LinkKind::FeatureLink, outcome);
}

// Each QSO comes twice, as its fields and as an ADIF record; the log hears it once.
void WsjtxFeature::logged(const std::string& record) {
    const std::string key = wsjtx::qsoKey(record);
    if (key.empty() || key == lastQsoKey_)
        return;
    lastQsoKey_ = key;
    if (qsoSink_)
        qsoSink_->addQso(record);
}

void WsjtxFeature::forgetGoneSpots() {
    if (decodes_.size() < 2 * decodesAfterPrune_ + 64)
        return;
    const SpotStore& store = host_.store();
    std::erase_if(decodes_, [&store](const auto& entry) { return store.indexOfSerial(entry.first) < 0; });
    decodesAfterPrune_ = decodes_.size();
}

bool WsjtxFeature::isDecode(int storeIndex) const {
    const SpotStore& store = host_.store();
    return storeIndex >= 0 && storeIndex < store.count() && decodes_.contains(store.serialAt(storeIndex));
}

bool WsjtxFeature::replyTo(int storeIndex) {
    const SpotStore& store = host_.store();
    if (!socket_ || storeIndex < 0 || storeIndex >= store.count())
        return false;
    const auto heard = decodes_.find(store.serialAt(storeIndex));
    if (heard == decodes_.end())
        return false;
    const auto instance = instances_.find(heard->second.id);
    if (instance == instances_.end() || instance->second.port == 0)
        return false;
    const std::string reply = wsjtx::encodeReply(instance->second.schema, heard->second.id, heard->second.decode, 0);
    return socket_->writeDatagram(reply.data(), static_cast<qint64>(reply.size()), instance->second.address,
                                  instance->second.port) == static_cast<qint64>(reply.size());
}

}  // namespace quendra
