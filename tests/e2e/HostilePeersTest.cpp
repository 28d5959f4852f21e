// The whole program against peers on 127.0.0.1 that send what no well-behaved node or engine
// sends: nothing may crash or hang, memory stays bounded, and the next good line or frame after
// the bad input is still recognised.
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "links/FrameHeader.h"
#include "links/NorrvelSocket.h"
#include "links/TelnetSocket.h"
#include "spots/SpotStore.h"
#include "terminal/ReceivedTextLines.h"
#include "terminal/ReceivedTextWriter.h"
#include "support/FrameBytes.h"
#include "support/FrameHarness.h"
#include "terminal/TerminalWindow.h"

#include <QAction>
#include <QApplication>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

using namespace quendra;

namespace {

constexpr int kWaitMs = 10000;
const QByteArray kSpotLine =
    "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z";
const QByteArray kMonitorText =
    " 1:Fm ZZ3EF To DX <UI pid=F0 Len=80 >[12:34:56]\r"
    "DX de ZZ3EF:     21074.0  ZZ4GH        FT8 -10dB                      1235Z\r";

using testing::FrameHarness;
using testing::frameBytes;
using testing::rawBytes;
using testing::terminalHolds;

// Spots are stamped with the real time here; the call is our own, never NOCALL.
const testing::FrameOptions kOperatorFrame{.systemClock = true, .callSign = u"ZZ9ZZ"};

// A peer of our own making: accepts each connection and keeps what it sent.
class HostilePeer {
public:
    HostilePeer() { listening = server.listen(QHostAddress::LocalHost); }

    QTcpSocket* accept() {
        if (!QTest::qWaitFor([this] { return server.hasPendingConnections(); }, kWaitMs))
            return nullptr;
        return server.nextPendingConnection();
    }

    QTcpServer server;
    bool listening = false;
};

}  // namespace

class HostilePeersTest : public QObject {
    Q_OBJECT
private slots:
    void telnetNoiseLeavesLaterLinesRecognised_data();
    void telnetNoiseLeavesLaterLinesRecognised();
    void endlessTelnetLineStaysBounded();
    void brokenEngineStreamClosesAndReconnectStartsClean_data();
    void brokenEngineStreamClosesAndReconnectStartsClean();
};

void HostilePeersTest::telnetNoiseLeavesLaterLinesRecognised_data() {
    QTest::addColumn<QByteArray>("noise");
    QByteArray garbage(8000, '\0');
    QRandomGenerator random(20261207);
    for (char& byte : garbage)
        byte = static_cast<char>(random.bounded(256));
    QTest::newRow("binary garbage") << garbage;
    // Option negotiation a real telnet server opens with, an escaped 255, and a subnegotiation
    // cut off before its end.
    QTest::newRow("telnet negotiation")
        << rawBytes("\xff\xfd\x18\xff\xfd\x20\xff\xfb\x01\xff\xfb\x03login:\xff\xff\r\n"
                    "\xff\xfa\x1f\x00\x50\x00\x18\xff\xf0\xff\xfa\x18\x01");
    // A bare CR is sent as CR NUL; NULs also pad lines and sit inside them.
    QTest::newRow("NUL bytes") << rawBytes("welcome\r\0to the node\r\0\r\n\0\0\0mid\0line\r\n\0");
}

void HostilePeersTest::telnetNoiseLeavesLaterLinesRecognised() {
    QFETCH(QByteArray, noise);
    HostilePeer node;
    QVERIFY(node.listening);
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create(0));
    harness.connectTelnet(node.server.serverPort());
    QTcpSocket* peer = node.accept();
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kWaitMs);

    // Noise, then a spot and a plain line in the same write: the noise must not swallow them.
    peer->write(noise + "\r\n" + kSpotLine + "\r\nafter the noise\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(harness.frame.telnetTerminal(), u"after the noise"), kWaitMs);
    QVERIFY(harness.storeHoldsStation(u"ZZ2CD"));
    QVERIFY(terminalHolds(harness.frame.telnetTerminal(), u"DX de ZZ1AB:     14025.0"));
    QCOMPARE(harness.frame.telnetLink().connected(), 1);
}

void HostilePeersTest::endlessTelnetLineStaysBounded() {
    HostilePeer node;
    QVERIFY(node.listening);
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create(0));
    harness.connectTelnet(node.server.serverPort());
    QTcpSocket* peer = node.accept();
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kWaitMs);

    QByteArray endless(1 << 20, 'x');
    for (qsizetype i = 0; i < endless.size(); i += 61)
        endless[i] = static_cast<char>('A' + i % 26);
    peer->write(endless);
    peer->write("\r\n" + kSpotLine + "\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(harness.storeHoldsStation(u"ZZ2CD"), 60000);

    const MonitorBuffer& lines = harness.frame.telnetTerminal().buffer();
    QVERIFY(static_cast<std::uint32_t>(lines.count()) <= static_cast<std::uint32_t>(lines.capacity()));
    const std::size_t longest = ReceivedTextWriter::kMaxJoinedLength + TelnetSocket::kReadSize +
                                received_text::kMarkLength;
    for (int i = 0; i < lines.count(); ++i)
        QVERIFY2(lines.line(i).size() <= longest, qPrintable(QString::number(lines.line(i).size())));
    QVERIFY(terminalHolds(harness.frame.telnetTerminal(), u"DX de ZZ1AB"));
    QCOMPARE(harness.frame.spotStore().count(), 1);
}

void HostilePeersTest::brokenEngineStreamClosesAndReconnectStartsClean_data() {
    QTest::addColumn<QByteArray>("broken");
    QTest::addColumn<bool>("peerCloses");
    QTest::newRow("header announcing 4 GB")
        << frameBytes({'U', 1, "ZZ3EF"}, QByteArray(600, 'x'), 0xFFFFFFFFu) << false;
    QTest::newRow("close in the middle of a body")
        << frameBytes({'U', 1, "ZZ3EF"}, kMonitorText.left(40), static_cast<std::uint32_t>(kMonitorText.size())) << true;
    QTest::newRow("close in the middle of a header") << frameBytes({'U', 1, "ZZ3EF"}, kMonitorText).left(20) << true;
    // Long but plausible: skipped in step with the stream, the link stays up.
    QTest::newRow("100 kB body then close") << frameBytes({'U', 1, "ZZ3EF"}, QByteArray(100000, 'y')) << true;
}

void HostilePeersTest::brokenEngineStreamClosesAndReconnectStartsClean() {
    QFETCH(QByteArray, broken);
    QFETCH(bool, peerCloses);
    HostilePeer engine;
    QVERIFY(engine.listening);
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create(engine.server.serverPort()));
    QTcpSocket* first = engine.accept();
    QVERIFY(first);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().connected(), 1, kWaitMs);
    first->write(frameBytes({'G', 1, "ZZ3EF"}, "1;Port A"));
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().portCount(), 1, kWaitMs);

    first->write(broken);
    first->flush();
    if (peerCloses)
        first->disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().connected(), 0, kWaitMs);
    QVERIFY(!harness.storeHoldsStation(u"ZZ4GH"));

    // Right away a new connection: its first bytes are a header, whatever the old one left.
    harness.connectEngine();
    QTcpSocket* second = engine.accept();
    QVERIFY(second);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().connected(), 1, kWaitMs);
    second->write(frameBytes({'G', 1, "ZZ3EF"}, "1;Port A") + frameBytes({'U', 1, "ZZ3EF"}, kMonitorText));
    QTRY_VERIFY_WITH_TIMEOUT(harness.storeHoldsStation(u"ZZ4GH"), kWaitMs);
    QVERIFY(terminalHolds(harness.frame.packetTerminal(), u" 1:Fm ZZ3EF To DX"));
    QCOMPARE(harness.frame.engineLink().connected(), 1);
}

QTEST_MAIN(HostilePeersTest)
#include "HostilePeersTest.moc"
