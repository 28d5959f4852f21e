#pragma once

#include "features/Feature.h"
#include "wsjtx/WsjtxMessages.h"

#include <QHostAddress>
#include <QObject>

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

class QLabel;
class QUdpSocket;

namespace quendra {

class FeatureHost;
class QsoSink;

// Listens for WSJT-X's UDP messages once WSJTX\ENABLED is set: a decode that calls CQ or QRZ
// becomes a spot from the node "WSJT-X", a QSO WSJT-X logged goes at once to the operator's log,
// and activating one of its spots in the list sends WSJT-X a Reply, so that it calls the station.
// A status-bar field says where it listens; its tooltip counts the datagrams dropped as
// malformed. With the setting absent it opens no socket and adds nothing.
class WsjtxFeature : public QObject, public Feature {
    Q_OBJECT
public:
    explicit WsjtxFeature(FeatureHost& host);
    ~WsjtxFeature() override;

    void featuresBuilt() override;

    bool listening() const;
    // The port bound; WSJTX\PORT 0 takes a free one.
    quint16 localPort() const;
    int malformedCount() const { return malformed_; }
    // Asks WSJT-X to answer the decode behind the spot at this store index; false when that spot
    // is not one of its decodes or its sender is unknown.
    bool replyTo(int storeIndex);
    // Whether the spot at this store index is one of WSJT-X's decodes.
    bool isDecode(int storeIndex) const;
    // Takes one datagram as if it had arrived from that sender.
    void take(const QByteArray& datagram, const QHostAddress& from, quint16 port);

private:
    // What one WSJT-X instance last told: its dial frequency and mode, and where it sends from.
    struct Instance {
        wsjtx::Status status;
        QHostAddress address;
        quint16 port = 0;
        std::uint32_t schema = wsjtx::kNewestSchema;
    };
    struct HeardDecode {
        std::string id;
        wsjtx::Decode decode;
    };

    void readPending();
    void listen();
    bool joinGroup(const QHostAddress& group);
    void showStatus(const QString& text);
    void showCounts();
    void decoded(const std::string& id, const wsjtx::Decode& decode);
    void logged(const std::string& record);
    void forgetGoneSpots();

    FeatureHost& host_;
    QUdpSocket* socket_ = nullptr;
    QLabel* statusField_ = nullptr;
    QsoSink* qsoSink_ = nullptr;
    QString where_;
    int malformed_ = 0;
    int received_ = 0;
    // Bounded: a few instances share a port, and decodes are kept only while their spot is.
    std::map<std::string, Instance> instances_;
    std::unordered_map<std::uint64_t, HeardDecode> decodes_;
    std::size_t decodesAfterPrune_ = 0;
    std::string lastQsoKey_;
};

}  // namespace quendra
