#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace quendra::testing {

inline constexpr int kPeerWaitMs = 10000;

// Reads what a peer received until it holds `expected` or the wait runs out.
inline bool receives(QTcpSocket& peer, QByteArray& received, const QByteArray& expected) {
    return QTest::qWaitFor([&] {
        received += peer.readAll();
        return received.contains(expected);
    }, kPeerWaitMs);
}

// The next connection the server accepts, or null when none comes in time.
inline QTcpSocket* nextPeer(QTcpServer& node) {
    if (!QTest::qWaitFor([&] { return node.hasPendingConnections(); }, kPeerWaitMs))
        return nullptr;
    return node.nextPendingConnection();
}

}  // namespace quendra::testing
