// More node links beside the classic one, on 127.0.0.1 against peers written here: two nodes at
// once, each logged in with its own call and commands, one dropping and coming back while the
// other goes on; their spots merged into one honest list; and a skimmer-like peer sending 50
// spots a second, cut at random, with every spot stored once and the program responsive.
#include "app/CMainFrame.h"
#include "app/FeatureRoom.h"
#include "links/LinkRetry.h"
#include "links/TelnetSocket.h"
#include "propagation/PropagationFeature.h"
#include "sources/MoreSources.h"
#include "sources/NodeLink.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/FrameHarness.h"
#include "support/PeerWaits.h"
#include "terminal/TabMfcSDI.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <thread>

using namespace quendra;
using namespace quendra::testing;

namespace {

constexpr int kWaitMs = 10000;


QString nodeName(const QTcpServer& node) { return QStringLiteral("127.0.0.1:%1").arg(node.serverPort()); }

std::u16string u16(const QString& text) { return text.toStdU16String(); }

// Two node peers on 127.0.0.1 named as SOURCES/NODE0 and NODE1; start() builds the window
// (set further settings before it) and takes both connections.
struct TwoNodes {
    QTcpServer first;
    QTcpServer second;
    FrameHarness harness{FrameOptions{.systemClock = true}};
    QTcpSocket* peer0 = nullptr;
    QTcpSocket* peer1 = nullptr;

    TwoNodes() {
        first.listen(QHostAddress::LocalHost);
        second.listen(QHostAddress::LocalHost);
        harness.settings.WriteProfileString(u"SOURCES", u"NODE0", u16(nodeName(first)));
        harness.settings.WriteProfileString(u"SOURCES", u"NODE1", u16(nodeName(second)));
    }
    bool start() {
        if (!first.isListening() || !second.isListening() || !harness.create())
            return false;
        peer0 = nextPeer(first);
        peer1 = nextPeer(second);
        return peer0 && peer1;
    }
};

NodeLink& nodeLink(FrameHarness& harness, std::size_t n) {
    return *harness.frame.features().find<MoreSources>()->nodes().at(n);
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A skimmer node of its own thread, so it keeps its pace whatever the program's event loop does:
// it prompts, waits for the call, then sends `count` distinct skimmer spots at `perSecond`, in
// pieces of 1 to 120 bytes.
class SkimmerPeer {
public:
    SkimmerPeer(int count, int perSecond) : count_(count), perSecond_(perSecond) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 1);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~SkimmerPeer() {
        thread_.join();
        ::close(listener_);
    }
    quint16 port() const { return port_; }
    bool finished() const { return finished_; }
    double sendingSeconds() const { return sendingSeconds_; }

    static std::string line(int i) {
        // Spacing varies as it does between skimmer nodes; the frequency may touch the colon.
        const std::string station = "ZZ" + std::to_string(i % 10) + "X" + std::string(1, char('A' + (i / 10) % 26)) +
                                    std::string(1, char('A' + (i / 260) % 26)) + std::to_string(i / 6760);
        const std::string frequency = std::to_string(14000 + i % 70) + "." + std::to_string(i % 10);
        const std::string gap = i % 3 == 0 ? "" : (i % 3 == 1 ? "  " : "   ");
        return "DX de ZZ" + std::to_string(i % 7) + "SK-#:" + gap + frequency + "  " + station + "  CW " +
               std::to_string(5 + i % 30) + " dB " + std::to_string(18 + i % 20) + " WPM CQ  " + "1234Z\r\n";
    }

private:
    void run() {
        const int peer = ::accept(listener_, nullptr, nullptr);
        const std::string prompt = "Please enter your call: ";
        ::send(peer, prompt.data(), prompt.size(), MSG_NOSIGNAL);
        char answer[64];
        ::recv(peer, answer, sizeof answer, 0);
        std::mt19937 random(7);
        const auto start = std::chrono::steady_clock::now();
        std::string pending;
        for (int i = 0; i < count_; ++i) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(1'000'000LL * i / perSecond_));
            pending += line(i);
            const std::size_t piece = std::min<std::size_t>(pending.size(), 1 + random() % 120);
            ::send(peer, pending.data(), piece, MSG_NOSIGNAL);
            pending.erase(0, piece);
        }
        ::send(peer, pending.data(), pending.size(), MSG_NOSIGNAL);
        sendingSeconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        finished_ = true;
        char rest[256];
        while (::recv(peer, rest, sizeof rest, 0) > 0) {
        }
        ::close(peer);
    }

    int count_;
    int perSecond_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    std::atomic<bool> finished_{false};
    std::atomic<double> sendingSeconds_{0};
};

}  // namespace

class MoreSourcesTest : public QObject {
    Q_OBJECT
private slots:
    void withNoSourceSetNothingIsAdded();
    void twoNodesAtOnceOneDroppingAndComingBack();
    void mergingOffListsEverySpot();
    void extraNodesLinesReachTheFeaturesWhole();
    void fiftySpotsASecondAreAllStoredOnce();
};

void MoreSourcesTest::withNoSourceSetNothingIsAdded() {
    FrameHarness harness;
    QVERIFY(harness.create());
    QCOMPARE(harness.frame.tabStrip().count(), 3);
    QVERIFY(!harness.frame.findChild<QStatusBar*>());
    QVERIFY(harness.frame.features().find<MoreSources>()->nodes().empty());
}

void MoreSourcesTest::twoNodesAtOnceOneDroppingAndComingBack() {
    QTcpServer first;
    QTcpServer second;
    QVERIFY(first.listen(QHostAddress::LocalHost));
    QVERIFY(second.listen(QHostAddress::LocalHost));
    FrameHarness harness(FrameOptions{.systemClock = true, .callSign = u"ZZ9ZZ"});
    harness.settings.WriteProfileString(u"SOURCES", u"NODE0", u16(nodeName(first)));
    harness.settings.WriteProfileString(u"SOURCES", u"COMMANDS0", u"sh/dx 5|set/nobeacon");
    harness.settings.WriteProfileString(u"SOURCES", u"NODE1", u16(nodeName(second)));
    harness.settings.WriteProfileString(u"SOURCES", u"CALL1", u"ZZ9ZZ-2");
    QVERIFY(harness.create());

    // A tab each after the classic three, named for the node, and a status field each.
    QCOMPARE(harness.frame.tabStrip().count(), 5);
    QCOMPARE(harness.frame.tabStrip().tabText(3), nodeName(first));
    QCOMPARE(harness.frame.tabStrip().tabText(4), nodeName(second));

    QTcpSocket* peer0 = nextPeer(first);
    QTcpSocket* peer1 = nextPeer(second);
    QVERIFY(peer0 && peer1);
    peer0->write("Welcome\r\nlogin: ");
    peer1->write("Please enter your call: ");
    QByteArray got0;
    QByteArray got1;
    QVERIFY(receives(*peer0, got0, "set/nobeacon\r\n"));
    QCOMPARE(got0, QByteArray("ZZ9ZZ\r\nsh/dx 5\r\nset/nobeacon\r\n"));
    QVERIFY(receives(*peer1, got1, "\r\n"));
    QCOMPARE(got1, QByteArray("ZZ9ZZ-2\r\n"));
    QVERIFY(nodeLink(harness, 0).statusField().text().startsWith(nodeName(first) + QStringLiteral(": 0:00")));

    // The same station on the same band and mode from both: two stored spots, one row.
    peer0->write("DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\a\a\r\n");
    peer1->write("DX de ZZ3XY-#:14025.1  ZZ2CD  CW 23 dB 27 WPM CQ  1234Z\r\n");
    SpotStore& store = harness.frame.spotStore();
    QTRY_COMPARE_WITH_TIMEOUT(store.count(), 2, kWaitMs);
    QCOMPARE(store.spotAt(0).dxNode, u16(nodeName(first)));
    QCOMPARE(store.spotAt(1).dxNode, u16(nodeName(second)));
    QCOMPARE(store.spotAt(1).author, std::u16string(u"ZZ3XY-#"));
    QCOMPARE(store.spotAt(1).gmt, std::u16string(u"12:34"));
    SpotListModel& model = harness.frame.clusterView().model();
    QTRY_COMPARE_WITH_TIMEOUT(model.rowCount(), 1, kWaitMs);
    QCOMPARE(model.data(model.index(0, 0), SpotListModel::SpotterCountRole).toInt(), 2);
    const QString tip = model.data(model.index(0, 0), Qt::ToolTipRole).toString();
    QVERIFY2(tip.contains(QStringLiteral("Sources: %1, %2").arg(nodeName(first), nodeName(second))), qPrintable(tip));
    // Another station is a row of its own.
    peer0->write("DX de ZZ1AB:      7025.0  ZZ4EF        CW 579                         1235Z\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(model.rowCount(), 2, kWaitMs);

    // Picking a node's tab shows its terminal, which offers no Connect or Disconnect; typed lines
    // go to that node.
    harness.frame.selectTab(3);
    QCOMPARE(harness.frame.activeView(), static_cast<QWidget*>(&nodeLink(harness, 0).terminal()));
    QVERIFY(terminalHolds(nodeLink(harness, 0).terminal(), u"ZZ4EF"));
    QVERIFY(!terminalHolds(nodeLink(harness, 1).terminal(), u"ZZ4EF"));
    QVERIFY(!harness.frame.action(kCmdConnect)->isEnabled());
    QVERIFY(!harness.frame.action(kCmdDisconnect)->isEnabled());
    nodeLink(harness, 0).terminal().SendLine(u"sh/wwv\r\n");
    got0.clear();
    QVERIFY(receives(*peer0, got0, "sh/wwv\r\n"));

    // The second node drops: it says so, tries again after a short pause, logs in anew, and its
    // spots flow again; the first stays connected throughout.
    peer1->abort();
    NodeLink& dropped = nodeLink(harness, 1);
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(dropped.terminal(), u"***Link lost; trying again in"), kWaitMs);
    QVERIFY(dropped.retry().waiting());
    QVERIFY(dropped.statusField().text().endsWith(QStringLiteral("trying again")));
    QTcpSocket* again = nextPeer(second);
    QVERIFY(again);
    QTRY_COMPARE_WITH_TIMEOUT(dropped.socket().connected(), 1, kWaitMs);
    QVERIFY(terminalHolds(dropped.terminal(), u"***Reconnecting... "));
    again->write("login: ");
    got1.clear();
    QVERIFY(receives(*again, got1, "\r\n"));
    QCOMPARE(got1, QByteArray("ZZ9ZZ-2\r\n"));
    again->write("DX de ZZ5GH-#:  21025.0  ZZ6IJ  CW 12 dB 22 WPM CQ  1236Z\r\n");
    peer0->write("DX de ZZ1AB:     28025.0  ZZ7KL        CW 559                         1236Z\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(store.count(), 5, kWaitMs);
    QCOMPARE(nodeLink(harness, 0).socket().connected(), 1);
    QCOMPARE(harness.frame.telnetLink().connected(), 0);  // the classic link was never touched
    QVERIFY(!first.hasPendingConnections());
}

void MoreSourcesTest::mergingOffListsEverySpot() {
    TwoNodes nodes;
    FrameHarness& harness = nodes.harness;
    harness.settings.WriteProfileInt(u"SOURCES", u"MERGE", 0);
    QVERIFY(nodes.start());
    QTcpSocket* peer0 = nodes.peer0;
    QTcpSocket* peer1 = nodes.peer1;
    peer0->write("DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\r\n");
    peer1->write("DX de ZZ3XY-#:14025.1  ZZ2CD  CW 23 dB 27 WPM CQ  1234Z\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.spotStore().count(), 2, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.clusterView().model().rowCount(), 2, kWaitMs);
}

// Other features hear an extra node's lines whole, however its reads are cut and however they
// interleave with another node's: a propagation report cut across two reads, with the other
// node's line between them, reaches the status bar.
void MoreSourcesTest::extraNodesLinesReachTheFeaturesWhole() {
    TwoNodes nodes;
    FrameHarness& harness = nodes.harness;
    harness.settings.WriteProfileInt(u"PROPAGATION", u"STATUS", 1);
    QVERIFY(nodes.start());
    QTcpSocket* peer0 = nodes.peer0;
    QTcpSocket* peer1 = nodes.peer1;
    const PropagationFeature* propagation = harness.frame.features().find<PropagationFeature>();
    QVERIFY(propagation && propagation->statusField());
    peer0->write("WWV de ZZ0MU <18>:   SFI=150, A=5, ");
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(nodeLink(harness, 0).terminal(), u"SFI=150"), kWaitMs);
    peer1->write("WWV de ZZ0XX <15>:   SFI=99, A=30, K=6, Storms\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(propagation->statusField()->text().startsWith("SFI 99 A 30 K 6"), kWaitMs);
    peer0->write("K=2, No Storms -> No Storms\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(propagation->statusField()->text().startsWith("SFI 150 A 5 K 2"), kWaitMs);
}

// QUENDRA_BURST_SECONDS (default 4) sets the burst's length; 60 gives the minute-long figure.
void MoreSourcesTest::fiftySpotsASecondAreAllStoredOnce() {
    const char* secondsText = std::getenv("QUENDRA_BURST_SECONDS");
    const int seconds = secondsText ? std::max(1, std::atoi(secondsText)) : 4;
    constexpr int kPerSecond = 50;
    const int count = seconds * kPerSecond;
    SkimmerPeer peer(count, kPerSecond);
    FrameHarness harness(FrameOptions{.systemClock = true, .callSign = u"ZZ9ZZ"});
    harness.settings.WriteProfileString(u"SOURCES", u"NODE0", u16(QStringLiteral("127.0.0.1:%1").arg(peer.port())));
    QVERIFY(harness.startActive());
    // The node's terminal on screen, taking every line; its tab is picked as the others are.
    QTest::keyClick(&harness.frame, Qt::Key_4, Qt::AltModifier);
    QCOMPARE(harness.frame.selectedTab(), 3);

    // The event loop's longest stall while the burst comes in, seen by a 10 ms timer.
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longestStall = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, sinceTick.restart());
    });
    const double cpuBefore = cpuSeconds();
    ticker.start();
    SpotStore& store = harness.frame.spotStore();
    QTRY_VERIFY_WITH_TIMEOUT(peer.finished(), (seconds + 10) * 1000);
    QTRY_COMPARE_WITH_TIMEOUT(store.count(), count, kWaitMs);
    ticker.stop();
    const double cpu = cpuSeconds() - cpuBefore;

    std::set<std::u16string> stations;
    for (int i = 0; i < store.count(); ++i) {
        QCOMPARE(store.spotAt(i).dxNode, u16(QStringLiteral("127.0.0.1")));
        QVERIFY(store.spotAt(i).author.ends_with(u"SK-#"));
        stations.insert(store.spotAt(i).station);
    }
    QCOMPARE(static_cast<int>(stations.size()), count);
    QTest::qWait(300);
    QCOMPARE(store.count(), count);  // nothing came twice
    qInfo("%d spots in %.1f s: CPU %.2f s (%.2f s per 10,000 spots), longest stall %lld ms", count,
          peer.sendingSeconds(), cpu, cpu * 10000.0 / count, static_cast<long long>(longestStall));
    QVERIFY2(longestStall < 500, qPrintable(QStringLiteral("stalled %1 ms").arg(longestStall)));
}

QTEST_MAIN(MoreSourcesTest)
#include "MoreSourcesTest.moc"
