// The whole program's link path on 127.0.0.1: the real frame, links, terminals and spot list
// against the stand-in node and engine, driven the way an operator drives them.
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "links/NorrvelSocket.h"
#include "links/TelnetSocket.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/FrameHarness.h"
#include "support/StandinServer.h"
#include "terminal/SendTerm.h"
#include "terminal/TerminalWindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>

using namespace quendra;

namespace {

constexpr int kLinkWaitMs = 10000;

std::u16string u16(const QString& text) { return text.toStdU16String(); }

// Writes lines to a temporary file for a stand-in's --lines or --frames option.
QString writeTemporaryFile(QTemporaryFile& file, const QByteArray& content) {
    if (!file.open())
        return {};
    file.write(content);
    file.flush();
    return file.fileName();
}

using testing::FrameHarness;
using testing::terminalHolds;

// The frame as an operator starts it against the stand-ins: own call set, spots on the real time.
const testing::FrameOptions kOperatorFrame{.systemClock = true, .size = {800, 600}, .callSign = u"ZZ9ZZ"};

}  // namespace

class FrameLinksTest : public QObject {
    Q_OBJECT
private slots:
    void telnetSpotsReachTheStoreAndListWithTheNodeName();
    void typedTelnetLinesLeaveAsExactBytes();
    void engineSpotsFromEveryDataLineWithTheSenderAsNode();
    void transmittedFramesAreShownAndNotParsed();
    void theNewestSpotStaysInViewWhileSpotsFlow();
    void refusedConnectLeavesTheTerminalUnchanged();
    void nodeCloseIsReportedAndAFreshConnectWorks();
    void aPromptWithoutLineEndLosesNoSpot();
    void aPendingConnectThatSucceedsDuringTheDialogIsNotReplaced();
    void anAttemptReplacingALiveSessionEndsIt();
};

void FrameLinksTest::telnetSpotsReachTheStoreAndListWithTheNodeName() {
    QTemporaryFile lines;
    const QString path = writeTemporaryFile(
        lines,
        "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\n"
        "To ALL de ZZ3EF: good evening\n"
        "1235Z DX de zz4gh: 144300.0 zz5ij SSB 59\n"
        "DX de ZZ6KL:      7012.5  ZZ7MN        CW                             1236Z\n");
    StandinServer node;
    QVERIFY(node.start(QStringLiteral("quendra_node_standin"),
                       {QStringLiteral("--lines"), path, QStringLiteral("--rate"), QStringLiteral("200"),
                        QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--split")}));
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create());
    harness.connectTelnet(QStringLiteral("127.0.0.1:%1").arg(node.port()));
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kLinkWaitMs);
    QVERIFY(terminalHolds(harness.frame.telnetTerminal(), u"***Connected. "));
    // The prompt has no line end: it is shown at once all the same.
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(harness.frame.telnetTerminal(), u"login:"), kLinkWaitMs);
    harness.type(harness.frame.telnetTerminal(), QStringLiteral("ZZ9ZZ"));

    SpotStore& store = harness.frame.spotStore();
    QTRY_COMPARE_WITH_TIMEOUT(store.count(), 3, kLinkWaitMs);
    std::u16string node_, station;
    QVERIFY(store.getDxNode(0, node_) && store.getStation(1, station));
    QCOMPARE(node_, std::u16string(u"127.0.0.1"));
    QCOMPARE(station, std::u16string(u"ZZ5IJ"));
    QTRY_COMPARE(harness.listedRows(), 3);
}

void FrameLinksTest::typedTelnetLinesLeaveAsExactBytes() {
    QTcpServer node;
    QVERIFY(node.listen(QHostAddress::LocalHost));
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create());
    harness.connectTelnet(QStringLiteral("127.0.0.1:%1").arg(node.serverPort()));
    QTRY_VERIFY_WITH_TIMEOUT(node.hasPendingConnections(), kLinkWaitMs);
    QTcpSocket* peer = node.nextPendingConnection();
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kLinkWaitMs);

    harness.type(harness.frame.telnetTerminal(), QStringLiteral("sh/dx 5"));
    harness.type(harness.frame.telnetTerminal(), QString());  // an empty line sends nothing
    harness.type(harness.frame.telnetTerminal(), QStringLiteral("caf\u00e9 \u20ac"));
    QByteArray received;
    QTRY_VERIFY_WITH_TIMEOUT((received += peer->readAll()).size() >= 17, kLinkWaitMs);
    QCOMPARE(received, QByteArray("sh/dx 5\r\ncaf\xe9 \x80\r\n"));
    // The node did not echo, so the terminal shows nothing of what was typed.
    QVERIFY(!terminalHolds(harness.frame.telnetTerminal(), u"sh/dx"));
}

void FrameLinksTest::engineSpotsFromEveryDataLineWithTheSenderAsNode() {
    QTemporaryFile frames;
    const QString path = writeTemporaryFile(
        frames,
        " 1:Fm ZZ1AB To DX <UI pid=F0 Len=0 >[12:34:56]\n"
        "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\n"
        "1235Z DX de ZZ3EF: 50313.0 ZZ4GH FT8 -12dB\n"
        "\n"
        " 2:Fm ZZ5IJ To CQ <UI pid=F0 Len=0 >[12:35:00]\n"
        "hello from a beacon\n");
    StandinServer engine;
    QVERIFY(engine.start(QStringLiteral("quendra_engine_standin"),
                         {QStringLiteral("--frames"), path, QStringLiteral("--rate"), QStringLiteral("50"),
                          QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--chunks"),
                          QStringLiteral("random")}));
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create(engine.port()));
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().connected(), 1, kLinkWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().portCount(), 2, kLinkWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(harness.frame.packetTerminal(), u"hello from a beacon"),
                             kLinkWaitMs);

    // The same frame played twice stores its two spots once.
    SpotStore& store = harness.frame.spotStore();
    QCOMPARE(store.count(), 2);
    std::u16string node0, node1, station1;
    QVERIFY(store.getDxNode(0, node0) && store.getDxNode(1, node1) && store.getStation(1, station1));
    QCOMPARE(node0, std::u16string(u"ZZ1AB"));
    QCOMPARE(node1, std::u16string(u"ZZ1AB"));
    QCOMPARE(station1, std::u16string(u"ZZ4GH"));
    // Header lines are marked for colour; the station's own call is not in these.
    QVERIFY(terminalHolds(harness.frame.packetTerminal(), u"\u000303 1:Fm ZZ1AB To DX"));
}

void FrameLinksTest::transmittedFramesAreShownAndNotParsed() {
    StandinServer engine;
    QVERIFY(engine.start(QStringLiteral("quendra_engine_standin"),
                         {QStringLiteral("--rate"), QStringLiteral("0"), QStringLiteral("--ports"),
                          QStringLiteral("2")}));
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create(engine.port()));
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().portCount(), 2, kLinkWaitMs);
    harness.frame.selectTab(kTabPacket);

    harness.type(harness.frame.packetTerminal(),
                 QStringLiteral("DX de ZZ9ZZ:     14025.0  ZZ2CD        CW 599                         1234Z"));
    // One 'M' frame per port comes back as a 'T' frame from our own call.
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(harness.frame.packetTerminal(), u" 2:Fm ZZ9ZZ To CQ"), kLinkWaitMs);
    QVERIFY(terminalHolds(harness.frame.packetTerminal(), u"\u000302 1:Fm ZZ9ZZ To CQ"));
    QVERIFY(terminalHolds(harness.frame.packetTerminal(), u"DX de ZZ9ZZ:     14025.0"));
    QCOMPARE(harness.frame.spotStore().count(), 0);
}

void FrameLinksTest::theNewestSpotStaysInViewWhileSpotsFlow() {
    StandinServer engine;
    QVERIFY(engine.start(QStringLiteral("quendra_engine_standin"),
                         {QStringLiteral("--rate"), QStringLiteral("100"), QStringLiteral("--count"),
                          QStringLiteral("150")}));
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create(engine.port()));
    harness.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&harness.frame));
    QTRY_VERIFY_WITH_TIMEOUT(harness.listedRows() > 60, kLinkWaitMs);
    // The list scrolls once per burst, on the next turn of the event loop: checked while spots
    // still flow and once they have stopped, the newest row is in view.
    QTableView* list = harness.frame.clusterView().spotList();
    const auto newestInView = [&] {
        const int last = list->model()->rowCount() - 1;
        return list->viewport()->rect().intersects(list->visualRect(list->model()->index(last, 0))) &&
               list->verticalScrollBar()->maximum() > 0 &&
               list->verticalScrollBar()->value() == list->verticalScrollBar()->maximum();
    };
    QTRY_VERIFY_WITH_TIMEOUT(newestInView(), kLinkWaitMs);
    // Once the stand-in has sent its last frame, the view must settle on the newest row.
    for (int rows = -1; rows != harness.listedRows();) {
        rows = harness.listedRows();
        QTest::qWait(400);
    }
    QTRY_VERIFY_WITH_TIMEOUT(newestInView(), kLinkWaitMs);
}

void FrameLinksTest::refusedConnectLeavesTheTerminalUnchanged() {
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create());
    harness.connectTelnet(QStringLiteral("127.0.0.1:%1").arg(closedPort));
    // Give the refusal time to arrive; nothing is ever shown for it.
    QTest::qWait(300);
    QCOMPARE(harness.frame.telnetTerminal().buffer().count(), 0);
    QCOMPARE(harness.frame.telnetLink().connected(), 0);
    harness.frame.updateCommandUI();
    QVERIFY(harness.frame.action(kCmdConnect)->isEnabled());
    QVERIFY(!harness.frame.action(kCmdDisconnect)->isEnabled());
}

void FrameLinksTest::nodeCloseIsReportedAndAFreshConnectWorks() {
    StandinServer node;
    QVERIFY(node.start(QStringLiteral("quendra_node_standin"), {QStringLiteral("--rate"), QStringLiteral("0")}));
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create());
    const QString address = QStringLiteral("127.0.0.1:%1").arg(node.port());
    TerminalWindow& terminal = harness.frame.telnetTerminal();
    harness.connectTelnet(address);
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(terminal, u"login:"), kLinkWaitMs);
    harness.type(terminal, QStringLiteral("ZZ9ZZ"));
    harness.type(terminal, QStringLiteral("bye"));
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(terminal, u"***Disconnected. "), kLinkWaitMs);
    QCOMPARE(harness.frame.telnetLink().connected(), 0);
    harness.frame.updateCommandUI();
    QVERIFY(harness.frame.action(kCmdConnect)->isEnabled());

    const int linesBefore = terminal.buffer().count();
    harness.connectTelnet(address);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kLinkWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(terminal.buffer().count() > linesBefore + 1, kLinkWaitMs);
    QVERIFY(harness.settings.GetProfileString(u"STATUS", u"TELENETADR1") == u16(address));
}

// A node that prompts without a line end and then sends spots at once, each in a read of its own.
void FrameLinksTest::aPromptWithoutLineEndLosesNoSpot() {
    QTcpServer node;
    QVERIFY(node.listen(QHostAddress::LocalHost));
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create());
    harness.connectTelnet(QStringLiteral("127.0.0.1:%1").arg(node.serverPort()));
    QTRY_VERIFY_WITH_TIMEOUT(node.hasPendingConnections(), kLinkWaitMs);
    QTcpSocket* peer = node.nextPendingConnection();
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kLinkWaitMs);

    constexpr int kSpots = 40;
    peer->write("login: ");
    peer->flush();
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(harness.frame.telnetTerminal(), u"login: "), kLinkWaitMs);
    for (int i = 0; i < kSpots; ++i) {
        peer->write(QStringLiteral("DX de ZZ1AB:     14025.%1  ZZ2CD        CW 599                         1234Z\a\a\r\n")
                        .arg(i, 2, 10, QLatin1Char('0')).toLatin1());
        if (i == 0) {
            peer->flush();
            QTRY_COMPARE_WITH_TIMEOUT(harness.frame.spotStore().count(), 1, kLinkWaitMs);
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.spotStore().count(), kSpots, kLinkWaitMs);
    QTRY_COMPARE(harness.listedRows(), kSpots);
    QVERIFY(terminalHolds(harness.frame.telnetTerminal(), u"login: "));
}

// The first attempt connects while the operator has the dialog open for a second one: OK must
// find the link connected and say so, instead of replacing the live session.
void FrameLinksTest::aPendingConnectThatSucceedsDuringTheDialogIsNotReplaced() {
    QTcpServer node;
    QVERIFY(node.listen(QHostAddress::LocalHost));
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create());
    harness.frame.selectTab(kTabTelnet);
    harness.frame.telnetLink().Create();
    harness.frame.telnetLink().ConnectTo(QStringLiteral("127.0.0.1"), node.serverPort());
    QCOMPARE(harness.frame.telnetLink().connected(), 0);  // pending until the event loop runs
    harness.frame.updateCommandUI();
    QVERIFY(harness.frame.action(kCmdConnect)->isEnabled());

    bool boxShown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<DlgTelnetConnect*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kLinkWaitMs);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            boxShown = box->text() == QStringLiteral("Already Connected!\r\nDisconnect First!");
            box->accept();
        });
        dialog->addressBox()->setEditText(QStringLiteral("127.0.0.1:%1").arg(node.serverPort()));
        dialog->accept();
    });
    harness.frame.action(kCmdConnect)->trigger();
    QVERIFY(boxShown);
    QTRY_VERIFY_WITH_TIMEOUT(node.hasPendingConnections(), kLinkWaitMs);
    QTcpSocket* peer = node.nextPendingConnection();
    QCOMPARE(harness.frame.telnetLink().connected(), 1);
    QVERIFY(!node.hasPendingConnections());  // no second attempt was made

    // The live session still carries typed lines and ends through Disconnect.
    harness.type(harness.frame.telnetTerminal(), QStringLiteral("sh/dx"));
    QByteArray received;
    QTRY_COMPARE_WITH_TIMEOUT(received += peer->readAll(), QByteArray("sh/dx\r\n"), kLinkWaitMs);
    harness.frame.action(kCmdDisconnect)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(peer->state() != QAbstractSocket::ConnectedState || peer->atEnd(), kLinkWaitMs);
    peer->close();
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 0, kLinkWaitMs);
}

// Should a live session ever be replaced by a new attempt, it ends as a close would end it, and
// a failure of the new attempt leaves the link idle, never "connected" without a socket.
void FrameLinksTest::anAttemptReplacingALiveSessionEndsIt() {
    QTcpServer node;
    QVERIFY(node.listen(QHostAddress::LocalHost));
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    FrameHarness harness(kOperatorFrame);
    QVERIFY(harness.create());
    TelnetSocket& link = harness.frame.telnetLink();
    link.Create();
    link.ConnectTo(QStringLiteral("127.0.0.1"), node.serverPort());
    QTRY_COMPARE_WITH_TIMEOUT(link.connected(), 1, kLinkWaitMs);

    link.Create();
    link.ConnectTo(QStringLiteral("127.0.0.1"), closedPort);
    QCOMPARE(link.connected(), 0);
    QVERIFY(terminalHolds(harness.frame.telnetTerminal(), u"***Disconnected. "));
    QTest::qWait(300);
    QCOMPARE(link.connected(), 0);
    harness.frame.selectTab(kTabTelnet);
    QVERIFY(harness.frame.action(kCmdConnect)->isEnabled());
}

QTEST_MAIN(FrameLinksTest)
#include "FrameLinksTest.moc"
