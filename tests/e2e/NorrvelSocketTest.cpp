#include "links/FrameHeader.h"
#include "links/LinkOwner.h"
#include "links/NorrvelSocket.h"
#include "settings/MemorySettings.h"
#include "support/FrameBytes.h"

#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace quendra;
using testing::frameBytes;
using testing::rawBytes;

namespace {

struct MonitorCall {
    std::u16string text;
    int length;
    int port;
    int reserved;
    int tFlag;
    bool operator==(const MonitorCall&) const = default;
};

class MonitorRecorder : public LinkOwner {
public:
    void RouteTelnetText(std::u16string_view, int) override { ++telnetCalls; }
    void RouteMonitorText(std::u16string_view text, int length, int port, int reserved, int tFlag) override {
        calls.push_back({std::u16string(text), length, port, reserved, tFlag});
    }
    std::vector<MonitorCall> calls;
    int telnetCalls = 0;
};

// A fake engine on the loopback address: records what each connection sends.
class FakeEngine {
public:
    FakeEngine() { QVERIFY(server.listen(QHostAddress::LocalHost)); }

    QTcpSocket* accept() {
        if (!server.hasPendingConnections() && !server.waitForNewConnection(5000))
            return nullptr;
        QTcpSocket* peer = server.nextPendingConnection();
        peers.push_back(peer);
        received.emplace_back();
        const std::size_t index = received.size() - 1;
        QObject::connect(peer, &QTcpSocket::readyRead, peer, [this, peer, index] { received[index] += peer->readAll(); });
        received[index] += peer->readAll();
        return peer;
    }

    QTcpServer server;
    std::vector<QTcpSocket*> peers;
    std::vector<QByteArray> received;
};

// The two requests as the program sends them, written out byte by byte:
// port (u32 LE) | kind, 0, pid, 0 | from call (10) | to call (10) | data length (u32 LE) | reserved.
const QByteArray kPortRequest = rawBytes("\0\0\0\0" "G\0\0\0" "\0\0\0\0\0\0\0\0\0\0" "\0\0\0\0\0\0\0\0\0\0"
                                     "\0\0\0\0" "\0\0\0\0");
const QByteArray kMonitorOn = rawBytes("\0\0\0\0" "m\0\0\0" "TEST\0\0\0\0\0\0" "TEST\0\0\0\0\0\0"
                                   "\0\0\0\0" "\0\0\0\0");

// A text of exactly the given length: a spot line padded out, ending in CR.
QByteArray monitoredText(const QByteArray& start, qsizetype length) {
    return start + QByteArray(length - start.size() - 1, 'x') + '\r';
}

}  // namespace

class EngineSocketLinkTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void portReplyGivesPortCountAndOneMonitorRequest();
    void absurdPortCountIsBounded();
    void framesSplitAtRandomArriveExactly();
    void kindsDecideTheTFlagAndWhatIsSkipped();
    void unprotoFramesLeaveByteExact();
    void unprotoFrameOnTheWire();
    void monitoredFramesFromTheWire();
    void longPortReplyStillSwitchesMonitoringOn();
    void absurdLengthClosesTheLink();
    void reconnectStartsFromAnEmptyReader();
    void newConnectGivesUpThePendingOne();
    void portOutOfRangeIsTriedAndGivenUp();

private:
    // Connects the link to the fake engine and answers its port request.
    QTcpSocket* connectLink(int ports = 2);

    std::unique_ptr<MemorySettings> settings_;
    std::unique_ptr<FakeEngine> engine_;
    std::unique_ptr<MonitorRecorder> owner_;
    std::unique_ptr<NorrvelSocket> link_;
};

void EngineSocketLinkTest::init() {
    settings_ = std::make_unique<MemorySettings>();
    engine_ = std::make_unique<FakeEngine>();
    settings_->WriteProfileString(u"STATUS", u"NORRVEL", u"127.0.0.1");
    settings_->WriteProfileInt(u"STATUS", u"NORRVEL_PORT", engine_->server.serverPort());
    owner_ = std::make_unique<MonitorRecorder>();
    link_ = std::make_unique<NorrvelSocket>(*settings_);
    link_->setMainWindow(owner_.get());
}

void EngineSocketLinkTest::cleanup() {
    link_.reset();
    engine_.reset();
}

QTcpSocket* EngineSocketLinkTest::connectLink(int ports) {
    link_->ConnectEngine();
    QTcpSocket* peer = engine_->accept();
    if (!peer)
        return nullptr;
    const std::size_t index = engine_->received.size() - 1;
    if (!QTest::qWaitFor([&] { return engine_->received[index].size() >= kPortRequest.size(); }))
        return nullptr;
    peer->write(frameBytes({'G', 0}, QByteArray::number(ports) + ";Port A;Port B"));
    if (!QTest::qWaitFor([&] { return link_->portCount() == ports; }))
        return nullptr;
    return peer;
}

void EngineSocketLinkTest::portReplyGivesPortCountAndOneMonitorRequest() {
    QTcpSocket* peer = connectLink(2);
    QVERIFY(peer);
    QCOMPARE(link_->connected(), 1);
    QTRY_COMPARE(engine_->received[0], kPortRequest + kMonitorOn);
    QCOMPARE(link_->portCount(), 2);
    QVERIFY(owner_->calls.empty());
}

void EngineSocketLinkTest::absurdPortCountIsBounded() {
    QTcpSocket* peer = connectLink(2);
    QVERIFY(peer);
    peer->write(frameBytes({'G', 0}, QByteArray("2147483647;Port A")));
    QTRY_VERIFY(link_->portCount() != 2);
    QCOMPARE(link_->portCount(), NorrvelSocket::kMaxEnginePorts);
}

void EngineSocketLinkTest::framesSplitAtRandomArriveExactly() {
    QTcpSocket* peer = connectLink();
    QVERIFY(peer);
    QByteArray stream;
    std::vector<MonitorCall> expected;
    for (int i = 0; i < 40; ++i) {
        const QByteArray text = " 1:Fm ZZ" + QByteArray::number(i) + "AB To CQ <UI pid=F0>\rDX de ZZ1AB: 14025.0 Z" +
                                QByteArray(i * 37, 'x') + "\r";
        stream += frameBytes({'U', static_cast<std::uint32_t>(i % 3)}, text);
        expected.push_back({QString::fromLatin1(text).toStdU16String(), static_cast<int>(text.size()), i % 3, 0, 0});
    }
    QRandomGenerator random(20261207);
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype piece = std::min<qsizetype>(random.bounded(1, 120), stream.size() - at);
        peer->write(stream.mid(at, piece));
        peer->flush();
        at += piece;
        if (random.bounded(4) == 0)
            QCoreApplication::processEvents();
    }
    QTRY_COMPARE(owner_->calls.size(), expected.size());
    QVERIFY(owner_->calls == expected);
}

void EngineSocketLinkTest::kindsDecideTheTFlagAndWhatIsSkipped() {
    QTcpSocket* peer = connectLink();
    QVERIFY(peer);
    peer->write(frameBytes({'I', 0}, "i") + frameBytes({'H', 0}, "heard") + frameBytes({'S', 1}, "s") +
                frameBytes({.kind = 'I', .kindHigh = 1}, "high byte") + frameBytes({'T', 2}, "t") + frameBytes({'X', 0}, "other") +
                frameBytes({'U', 0}, "") + frameBytes({'G', 0}, "3;a;b;c") + frameBytes({'U', 0}, "last"));
    const std::vector<MonitorCall> expected = {
        {u"i", 1, 0, 0, 0}, {u"s", 1, 1, 0, 0}, {u"t", 1, 2, 0, 1}, {u"", 0, 0, 0, 0}, {u"last", 4, 0, 0, 0}};
    QTRY_COMPARE(owner_->calls.size(), expected.size());
    QVERIFY(owner_->calls == expected);
    QCOMPARE(link_->portCount(), 3);
    QTRY_COMPARE(engine_->received[0], kPortRequest + kMonitorOn + kMonitorOn);
}

void EngineSocketLinkTest::unprotoFramesLeaveByteExact() {
    QTcpSocket* peer = connectLink(2);
    QVERIFY(peer);
    QTRY_COMPARE(engine_->received[0].size(), kPortRequest.size() + kMonitorOn.size());
    const QByteArray line("CQ de ZZ1AB \xe9\r\n");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(line.constData());
    for (int port = 0; port < link_->portCount(); ++port)
        link_->SendUnproto(bytes, static_cast<int>(line.size()), "ZZ1AB", "CQ", port);
    link_->SendUnproto(bytes, 0, "VERYLONGCALL1", "CQ", 7);
    const QByteArray expected = kPortRequest + kMonitorOn + frameBytes({'M', 0, "ZZ1AB", "CQ"}, line) +
                                frameBytes({'M', 1, "ZZ1AB", "CQ"}, line) + frameBytes({'M', 7, "VERYLONGC", "CQ"}, {});
    QTRY_COMPARE(engine_->received[0], expected);
}

void EngineSocketLinkTest::unprotoFrameOnTheWire() {
    QTcpSocket* peer = connectLink(2);
    QVERIFY(peer);
    const QByteArray line = monitoredText("CQ de ZZ1AB", 299) + '\n';
    link_->SendUnproto(reinterpret_cast<const std::uint8_t*>(line.constData()), static_cast<int>(line.size()),
                       "ZZ1AB", "CQ", 258);
    // Port 258 and length 300 both need their second byte: a swapped byte order shows.
    const QByteArray expected = rawBytes("\x02\x01\0\0" "M\0\0\0" "ZZ1AB\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0"
                                     "\x2c\x01\0\0" "\0\0\0\0") + line;
    QTRY_COMPARE(engine_->received[0], kPortRequest + kMonitorOn + expected);
}

void EngineSocketLinkTest::monitoredFramesFromTheWire() {
    QTcpSocket* peer = connectLink();
    QVERIFY(peer);
    const QByteArray u = monitoredText(" 1:Fm ZZ1AB To CQ <UI>\rDX de ZZ1AB: 14025.0 ZZ9ZZ", 300);
    const QByteArray i = monitoredText(" 2:Fm ZZ2CD To ZZ3EF <I>\rhello", 256);
    const QByteArray t = monitoredText(" 3:Fm ZZ1AB To CQ <UI T>\rCQ", 511);
    // Pid 0xF0 and calls filled in as an engine fills them; the second frame's reserved field is
    // not zero, so a reader that took the wrong four bytes for the length would fall out of step.
    peer->write(rawBytes("\x01\0\0\0" "U\0\xf0\0" "ZZ1AB\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x2c\x01\0\0" "\0\0\0\0") + u +
                rawBytes("\x02\x01\0\0" "I\0\xf0\0" "ZZ2CD\0\0\0\0\0" "ZZ3EF\0\0\0\0\0" "\0\x01\0\0" "\x01\x02\x03\x04") + i +
                rawBytes("\0\0\0\0" "T\0\xf0\0" "ZZ1AB\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\xff\x01\0\0" "\0\0\0\0") + t);
    const auto text = [](const QByteArray& bytes) { return QString::fromLatin1(bytes).toStdU16String(); };
    const std::vector<MonitorCall> expected = {
        {text(u), 300, 1, 0, 0}, {text(i), 256, 258, 0, 0}, {text(t), 511, 0, 0, 1}};
    QTRY_COMPARE(owner_->calls.size(), expected.size());
    QVERIFY(owner_->calls == expected);
}

void EngineSocketLinkTest::longPortReplyStillSwitchesMonitoringOn() {
    link_->ConnectEngine();
    QTcpSocket* peer = engine_->accept();
    QVERIFY(peer);
    QTRY_COMPARE(engine_->received[0], kPortRequest);
    // 5,000 bytes of port descriptions: more than the link gathers of any frame.
    QByteArray reply = "3;";
    for (int port = 0; reply.size() < 5000; ++port)
        reply += "Port " + QByteArray::number(port) + " 1200 baud AFSK on the VHF transceiver;";
    reply.truncate(5000);
    peer->write(rawBytes("\0\0\0\0" "G\0\0\0" "\0\0\0\0\0\0\0\0\0\0" "\0\0\0\0\0\0\0\0\0\0" "\x88\x13\0\0"
                     "\0\0\0\0") + reply + frameBytes({'U', 0}, "after"));
    QTRY_COMPARE(engine_->received[0], kPortRequest + kMonitorOn);
    QCOMPARE(link_->portCount(), 3);
    QTRY_COMPARE(owner_->calls.size(), std::size_t{1});
    QVERIFY(owner_->calls[0] == (MonitorCall{u"after", 5, 0, 0, 0}));
}

void EngineSocketLinkTest::absurdLengthClosesTheLink() {
    QTcpSocket* peer = connectLink();
    QVERIFY(peer);
    QByteArray header = frameBytes({'U', 0}, {});
    header[28] = header[29] = header[30] = header[31] = '\xff';
    peer->write(frameBytes({'U', 0}, "before") + header + QByteArray(64, 'g'));
    QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(link_->connected(), 0);
    QVERIFY(!link_->isOpen());
    QCOMPARE(owner_->calls.size(), std::size_t{1});
}

void EngineSocketLinkTest::reconnectStartsFromAnEmptyReader() {
    QTcpSocket* first = connectLink();
    QVERIFY(first);
    first->write(frameBytes({'U', 0}, QByteArray(300, 'p')).left(100));  // a frame cut short
    first->flush();
    first->disconnectFromHost();
    QTRY_COMPARE(link_->connected(), 0);
    QVERIFY(owner_->calls.empty());
    QCOMPARE(owner_->telnetCalls, 0);
    QTcpSocket* second = connectLink();
    QVERIFY(second);
    second->write(frameBytes({'U', 1}, "fresh"));
    QTRY_COMPARE(owner_->calls.size(), std::size_t{1});
    QVERIFY(owner_->calls[0] == (MonitorCall{u"fresh", 5, 1, 0, 0}));
}

void EngineSocketLinkTest::newConnectGivesUpThePendingOne() {
    link_->ConnectEngine();
    link_->ConnectEngine();  // before the first attempt has reported
    QTRY_COMPARE(link_->connected(), 1);
    // The engine may have seen the first attempt arrive; it must see it go again, and only one
    // connection may ask for ports.
    const auto openPeers = [this] {
        while (engine_->server.hasPendingConnections())
            engine_->accept();
        return std::count_if(engine_->peers.begin(), engine_->peers.end(),
                             [](QTcpSocket* peer) { return peer->state() == QAbstractSocket::ConnectedState; });
    };
    QTRY_COMPARE(openPeers(), 1);
    const auto allReceived = [this] {
        QByteArray all;
        for (const auto& bytes : engine_->received)
            all += bytes;
        return all;
    };
    QTRY_COMPARE(allReceived(), kPortRequest);
}

void EngineSocketLinkTest::portOutOfRangeIsTriedAndGivenUp() {
    // Cut to 16 bits, this port would be the fake engine's own.
    settings_->WriteProfileInt(u"STATUS", u"NORRVEL_PORT", engine_->server.serverPort() + 65536);
    link_->ConnectEngine();
    QTRY_VERIFY(!link_->isOpen());
    QCOMPARE(link_->connected(), 0);
    QVERIFY(!engine_->server.hasPendingConnections());
}

QTEST_MAIN(EngineSocketLinkTest)
#include "NorrvelSocketTest.moc"
