#pragma once

#include "share/SpotPacket.h"

#include <QHostAddress>
#include <QObject>

#include <cstdint>
#include <map>
#include <vector>

class QTimer;
class QUdpSocket;

namespace quendra {

class SpotStore;

// Sends every spot it is given to a UDP listener as the XML spot packet loggers read, and the
// same packet with the action "delete" once that spot has aged out of the store. It keeps what
// it announced by the spot's serial, so it finds out what went whichever way the store lost it.
class SpotBroadcast : public QObject {
    Q_OBJECT
public:
    // Announced spots remembered at most; the store ages spots out long before this.
    static constexpr std::size_t kMaxRemembered = 200'000;
    // How often spots aged out by the list's own timer are looked for.
    static constexpr int kCheckMs = 5000;

    SpotBroadcast(const SpotStore& store, const UdpTarget& target, QObject* parent = nullptr);

    // A read's spots, at the indexes the store holds them now; `announce` says which to send.
    template <class Announce>
    void spotsStored(const std::vector<int>& storeIndexes, Announce announce) {
        checkAgedOut(storeIndexes.size());
        for (int index : storeIndexes) {
            if (announce(index))
                add(index);
        }
        expected_ = storeCount();
    }
    // Sends "delete" for every announced spot the store no longer holds.
    void checkAgedOut(std::size_t justStored = 0);
    std::size_t remembered() const { return announced_.size(); }

private:
    void add(int storeIndex);
    void send(const std::string& packet);
    int storeCount() const;

    const SpotStore& store_;
    QUdpSocket* socket_;
    QHostAddress address_;
    quint16 port_;
    QTimer* timer_;
    std::map<std::uint64_t, SpotPacketFields> announced_;
    int expected_ = 0;
};

}  // namespace quendra
