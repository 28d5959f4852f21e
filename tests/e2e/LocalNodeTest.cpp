// The local node against clients written here: real sockets on 127.0.0.1, the main frame taking
// spots as a node's link hands them on, and what the clients read compared byte for byte.
#include "app/FeatureRoom.h"
#include "share/LocalNode.h"
#include "share/NodeSession.h"
#include "share/SharingFeature.h"
#include "support/FrameHarness.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using namespace quendra;
using testing::FrameHarness;

namespace {

constexpr int kWaitMs = 5000;

// A port that was free a moment ago.
quint16 freePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

// A client of the node that keeps everything it reads.
struct NodeClient {
    QTcpSocket socket;
    QByteArray received;

    bool open(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [this] { received += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(kWaitMs);
    }
    bool waitFor(const QByteArray& text) {
        QDeadlineTimer deadline(kWaitMs);
        while (!received.contains(text) && !deadline.hasExpired())
            QTest::qWait(5);
        return received.contains(text);
    }
    // What came since the last take, once it ends with `ending`.
    QByteArray takeUntil(const QByteArray& ending) {
        if (!waitFor(ending))
            return received;
        return std::exchange(received, {});
    }
    void say(const QByteArray& line) { socket.write(line); }
};

void route(FrameHarness& harness, const QString& lines) {
    const std::u16string text = lines.toStdU16String();
    harness.frame.RouteTelnetText(text, static_cast<int>(text.size()));
}

QString spotLine(const QString& frequency, const QString& station) {
    return QStringLiteral("DX de ZZ1AB:%1  %2CW 599                         1234Z\r\n")
        .arg(frequency, 12).arg(station, -13);
}

}  // namespace

class LocalNodeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FrameHarness> start(bool filtered = false) {
        auto harness = std::make_unique<FrameHarness>();
        port_ = freePort();
        harness->settings.WriteProfileInt(u"SHARE", u"PORT", port_);
        if (filtered) {
            harness->settings.WriteProfileInt(u"SHARE", u"FILTERED", 1);
            harness->settings.WriteProfileString(u"FILTERS", u"BANDS", u"20m");
        }
        if (!harness->create())
            return nullptr;
        return harness;
    }
    static LocalNode* nodeOf(FrameHarness& harness) {
        auto* sharing = harness.frame.features().find<SharingFeature>();
        return sharing ? sharing->node() : nullptr;
    }
    quint16 port_ = 0;

private slots:
    void logsInSendsEachSpotOnceAndListsTheStore() {
        auto harness = start();
        QVERIFY(harness && nodeOf(*harness));
        NodeClient client;
        QVERIFY(client.open(port_));
        QCOMPARE(client.takeUntil("login: "), QByteArray("login: "));
        client.say("zz9xy\r\n");
        QCOMPARE(client.takeUntil(">\r\n"),
                 QByteArray("Hello ZZ9XY, this is the Quendra local node\r\nZZ9XY de QUENDRA 7-Dec-2026 1203Z >\r\n"));

        // A line cut across two reads, then the same spot again: one line each.
        route(*harness, QStringLiteral("DX de ZZ1AB:     14025.0  ZZ2CD        CW 5"));
        route(*harness, QStringLiteral("99                         1234Z\r\nDX de ZZ3EF:      7002.5  ZZ4GH        up 2                           1235Z\r\n"));
        route(*harness, QStringLiteral("DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\r\n"));
        QCOMPARE(client.takeUntil("1235Z\r\n"),
                 QByteArray("DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\r\n"
                            "DX de ZZ3EF:      7002.5  ZZ4GH        up 2                           1235Z\r\n"));
        client.say("sh/dx 5\r\n");
        QCOMPARE(client.takeUntil(">\r\n"),
                 QByteArray("   7002.5 ZZ4GH        7-Dec-2026 1235Z up 2                          <ZZ3EF>\r\n"
                            "  14025.0 ZZ2CD        7-Dec-2026 1234Z CW 599                        <ZZ1AB>\r\n"
                            "ZZ9XY de QUENDRA 7-Dec-2026 1203Z >\r\n"));
        client.say("dir\r\n");
        QCOMPARE(client.takeUntil(">\r\n"), QByteArray("ZZ9XY de QUENDRA 7-Dec-2026 1203Z >\r\n"));
        QVERIFY(client.received.isEmpty());
    }

    void sharesOnlyWhatTheFilterBarLetsThroughWhenAsked() {
        auto harness = start(true);
        QVERIFY(harness && nodeOf(*harness));
        NodeClient client;
        QVERIFY(client.open(port_));
        client.say("ZZ9XY\r\n");
        client.takeUntil(">\r\n");
        route(*harness, spotLine("7002.5", "ZZ4GH") + spotLine("14025.0", "ZZ2CD"));
        QCOMPARE(client.takeUntil("1234Z\r\n"),
                 QByteArray("DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\r\n"));
    }

    void dropsAStuckClientWhileTheOthersStillGetSpots() {
        auto harness = start();
        LocalNode* node = harness ? nodeOf(*harness) : nullptr;
        QVERIFY(node);
        QSignalSpy dropped(node, &LocalNode::clientDropped);
        NodeClient reader;
        QTcpSocket stuck;
        QVERIFY(reader.open(port_));
        reader.say("ZZ1READ\r\n");
        stuck.connectToHost(QHostAddress::LocalHost, port_);
        QVERIFY(stuck.waitForConnected(kWaitMs));
        stuck.write("ZZ2STUCK\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(node->clientCount(), 2, kWaitMs);
        reader.takeUntil(">\r\n");
        // From here on the stuck client takes in no more than a little; the kernel's buffers fill.
        stuck.setReadBufferSize(256);

        constexpr int kSpots = 16000;
        QElapsedTimer elapsed;
        elapsed.start();
        int received = 0;
        for (int i = 0; i < kSpots; i += 100) {
            QString lines;
            for (int j = i; j < i + 100; ++j)
                lines += spotLine(QString::number(14000 + j % 300) + ".0", QStringLiteral("ZZ%1").arg(j, 4, 10, QLatin1Char('0')));
            route(*harness, lines);
            QCoreApplication::processEvents();
        }
        qInfo("routed %d spots to two clients in %lld ms", kSpots, static_cast<long long>(elapsed.elapsed()));
        QTRY_COMPARE_WITH_TIMEOUT(dropped.count(), 1, kWaitMs);
        QCOMPARE(dropped.first().at(1).toString(), QStringLiteral("it stopped reading"));
        QCOMPARE(node->clientCount(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(static_cast<int>(reader.received.count("\r\n")), kSpots, kWaitMs);
        received = static_cast<int>(reader.received.count("DX de "));
        QCOMPARE(received, kSpots);
    }

    void dropsAClientThatSendsGarbage() {
        auto harness = start();
        LocalNode* node = harness ? nodeOf(*harness) : nullptr;
        QVERIFY(node);
        NodeClient client;
        QVERIFY(client.open(port_));
        QTRY_COMPARE_WITH_TIMEOUT(node->clientCount(), 1, kWaitMs);
        client.say(QByteArray(NodeSession::kMaxLineLength * 4, '\x7e'));
        QTRY_COMPARE_WITH_TIMEOUT(node->clientCount(), 0, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(client.socket.state(), QAbstractSocket::UnconnectedState, kWaitMs);
    }

    // A client that connects and never logs in gives its place up once the login time is over;
    // one that logged in stays.
    void dropsAClientThatNeverLogsIn() {
        auto harness = start();
        LocalNode* node = harness ? nodeOf(*harness) : nullptr;
        QVERIFY(node);
        node->setLoginTimeout(std::chrono::milliseconds(300));
        QSignalSpy dropped(node, &LocalNode::clientDropped);
        NodeClient silent;
        NodeClient member;
        QVERIFY(silent.open(port_) && member.open(port_));
        QVERIFY(member.waitFor("login: "));
        member.say("ZZ9ABC\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(dropped.count(), 1, kWaitMs);
        QCOMPARE(dropped.at(0).at(1).toString(), QString("it did not log in"));
        QTRY_COMPARE_WITH_TIMEOUT(silent.socket.state(), QAbstractSocket::UnconnectedState, kWaitMs);
        QTest::qWait(400);
        QCOMPARE(node->clientCount(), 1);
        QCOMPARE(member.socket.state(), QAbstractSocket::ConnectedState);
    }

    void staysOffWithNothingSet() {
        FrameHarness harness;
        QVERIFY(harness.create());
        QVERIFY(!nodeOf(harness));
    }
};

QTEST_MAIN(LocalNodeTest)
#include "LocalNodeTest.moc"
