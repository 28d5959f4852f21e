// The link commands and the Packet tab's typed lines as the operator meets them in the real frame,
// against peers on 127.0.0.1 that stand in for the engine and for a cluster node.
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "links/DlgPeopertiesMisc.h"
#include "links/NorrvelSocket.h"
#include "links/TelnetSocket.h"
#include "support/FrameBytes.h"
#include "support/FrameHarness.h"
#include "terminal/TerminalWindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <sys/socket.h>
#include <unistd.h>

#include <optional>
#include <vector>

using namespace quendra;
using testing::FrameHarness;
using testing::frameBytes;
using testing::rawBytes;
using testing::terminalHolds;

namespace {

constexpr int kLinkWaitMs = 10000;
// Long enough for a stray frame or a close to have arrived on the loopback address.
constexpr int kQuietMs = 200;

// What the program sends on every engine connection before any typed line, written out byte by
// byte: port | kind, 0, pid, 0 | from call (10) | to call (10) | data length | reserved.
const QByteArray kPortRequest = rawBytes("\0\0\0\0" "G\0\0\0" "\0\0\0\0\0\0\0\0\0\0" "\0\0\0\0\0\0\0\0\0\0"
                                         "\0\0\0\0" "\0\0\0\0");
const QByteArray kMonitorOn = rawBytes("\0\0\0\0" "m\0\0\0" "TEST\0\0\0\0\0\0" "TEST\0\0\0\0\0\0"
                                       "\0\0\0\0" "\0\0\0\0");

// An engine on 127.0.0.1 that records every connection's bytes and answers as the test says.
class EnginePeer {
public:
    bool listen() { return server.listen(QHostAddress::LocalHost); }
    quint16 port() const { return server.serverPort(); }

    // The next connection, once it has asked for the ports.
    QTcpSocket* acceptPortRequest() {
        if (!QTest::qWaitFor([this] { return server.hasPendingConnections(); }, kLinkWaitMs))
            return nullptr;
        QTcpSocket* peer = server.nextPendingConnection();
        received.emplace_back();
        const std::size_t index = received.size() - 1;
        QObject::connect(peer, &QTcpSocket::readyRead, peer, [this, peer, index] { received[index] += peer->readAll(); });
        received[index] += peer->readAll();
        if (!QTest::qWaitFor([&] { return received[index].size() >= kPortRequest.size(); }, kLinkWaitMs))
            return nullptr;
        return peer;
    }

    static void replyPorts(QTcpSocket* peer, const QByteArray& reply) {
        peer->write(frameBytes({'G', 0}, reply));
        peer->flush();
    }

    QByteArray& last() { return received.back(); }

    QTcpServer server;
    std::vector<QByteArray> received;
};

// A node or engine that accepts and then does nothing on its own: it never reads, and it closes
// only when told. Qt's own sockets close as soon as they see the end of the stream, which would
// hide a link that is waiting for the peer to close.
class SilentPeer : public QTcpServer {
public:
    ~SilentPeer() override {
        for (qintptr fd : accepted_)
            if (fd >= 0)
                ::close(static_cast<int>(fd));
    }
    bool start() { return listen(QHostAddress::LocalHost); }
    bool hasConnection() const { return !accepted_.empty(); }
    // True once the other side has ended its sending direction.
    bool sawEndOfStream() {
        char scratch[256];
        for (;;) {
            const ssize_t got = ::recv(static_cast<int>(accepted_.front()), scratch, sizeof scratch, MSG_DONTWAIT);
            if (got == 0)
                return true;
            if (got < 0)
                return false;
        }
    }
    void closeConnection() {
        ::close(static_cast<int>(accepted_.front()));
        accepted_.front() = -1;
    }

protected:
    void incomingConnection(qintptr fd) override { accepted_.push_back(fd); }

private:
    std::vector<qintptr> accepted_;
};

enum LinkState : int { kIdle, kConnecting, kConnected, kClosing };

QString withoutMnemonic(QString text) { return text.remove(QLatin1Char('&')); }

// A menu's or tool bar's entries as the operator sees them: "-" for a separator, "name >" for a
// submenu.
QStringList entries(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* entry : actions) {
        if (entry->isSeparator())
            texts << QStringLiteral("-");
        else if (entry->menu())
            texts << withoutMnemonic(entry->text()) + QStringLiteral(" >");
        else
            texts << withoutMnemonic(entry->text());
    }
    return texts;
}

}  // namespace

class LinkCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void typedPacketLineGoesOutOnEveryPort_data();
    void typedPacketLineGoesOutOnEveryPort();
    void newCallSignFromPropertiesAppliesToTheNextLine();
    void lineTypedBeforeThePortReplyIsDropped();
    void lineTypedWhileConnectingIsDropped();
    void connectOnAConnectedLinkSaysSo_data();
    void connectOnAConnectedLinkSaysSo();
    void telnetDisconnectWaitsForTheNodeToClose();
    void commandEnablingInEveryLinkState_data();
    void commandEnablingInEveryLinkState();
    void menuAndToolBarKeepTheClassicOrder();
};

void LinkCommandsTest::typedPacketLineGoesOutOnEveryPort_data() {
    QTest::addColumn<QString>("callSign");  // null: never set
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("no call sign ever set")
        << QString() << QStringLiteral("hello")
        << rawBytes("\0\0\0\0" "M\0\0\0" "NOCALL\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x07\0\0\0" "\0\0\0\0" "hello\r\n"
                    "\x01\0\0\0" "M\0\0\0" "NOCALL\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x07\0\0\0" "\0\0\0\0" "hello\r\n");
    QTest::newRow("own call sign")
        << QStringLiteral("ZZ9ZZ") << QStringLiteral("CQ de ZZ9ZZ")
        << rawBytes("\0\0\0\0" "M\0\0\0" "ZZ9ZZ\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x0d\0\0\0" "\0\0\0\0" "CQ de ZZ9ZZ\r\n"
                    "\x01\0\0\0" "M\0\0\0" "ZZ9ZZ\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x0d\0\0\0" "\0\0\0\0" "CQ de ZZ9ZZ\r\n");
    QTest::newRow("call sign filling its field, line in the code page")
        << QStringLiteral("ZZ9ZZABCD") << QStringLiteral("caf\u00e9 \u20ac")
        << rawBytes("\0\0\0\0" "M\0\0\0" "ZZ9ZZABCD\0" "CQ\0\0\0\0\0\0\0\0" "\x08\0\0\0" "\0\0\0\0" "caf\xe9 \x80\r\n"
                    "\x01\0\0\0" "M\0\0\0" "ZZ9ZZABCD\0" "CQ\0\0\0\0\0\0\0\0" "\x08\0\0\0" "\0\0\0\0" "caf\xe9 \x80\r\n");
}

void LinkCommandsTest::typedPacketLineGoesOutOnEveryPort() {
    QFETCH(QString, callSign);
    QFETCH(QString, typed);
    QFETCH(QByteArray, expected);
    EnginePeer engine;
    QVERIFY(engine.listen());
    testing::FrameOptions options;
    if (!callSign.isNull())
        options.callSign = callSign.toStdU16String();
    FrameHarness harness(options);
    QVERIFY(harness.create(engine.port()));
    QTcpSocket* peer = engine.acceptPortRequest();
    QVERIFY(peer);
    EnginePeer::replyPorts(peer, "2;Port A;Port B");
    QTRY_COMPARE_WITH_TIMEOUT(engine.last(), kPortRequest + kMonitorOn, kLinkWaitMs);

    harness.frame.selectTab(kTabPacket);
    harness.type(harness.frame.packetTerminal(), typed);
    QTRY_VERIFY_WITH_TIMEOUT(engine.last().size() >= kPortRequest.size() + kMonitorOn.size() + expected.size(),
                             kLinkWaitMs);
    QTest::qWait(kQuietMs);  // a third frame would show here
    QCOMPARE(engine.last(), kPortRequest + kMonitorOn + expected);
}

void LinkCommandsTest::newCallSignFromPropertiesAppliesToTheNextLine() {
    EnginePeer engine;
    QVERIFY(engine.listen());
    FrameHarness harness;
    QVERIFY(harness.create(engine.port()));
    QTcpSocket* peer = engine.acceptPortRequest();
    QVERIFY(peer);
    EnginePeer::replyPorts(peer, "2;Port A;Port B");
    QTRY_COMPARE_WITH_TIMEOUT(engine.last(), kPortRequest + kMonitorOn, kLinkWaitMs);
    QCOMPARE(harness.frame.callSign(), std::u16string(u"NOCALL"));

    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<DlgPeopertiesMisc*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialogSeen = true;
        dialog->field(DlgPeopertiesMisc::kCallSignId)->setText(QStringLiteral("ZZ8AB"));
        dialog->accept();
    });
    harness.frame.action(kCmdProperties)->trigger();
    QVERIFY(dialogSeen);
    QCOMPARE(harness.frame.callSign(), std::u16string(u"ZZ8AB"));

    harness.frame.selectTab(kTabPacket);
    harness.type(harness.frame.packetTerminal(), QStringLiteral("hi"));
    const QByteArray expected =
        rawBytes("\0\0\0\0" "M\0\0\0" "ZZ8AB\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x04\0\0\0" "\0\0\0\0" "hi\r\n"
                 "\x01\0\0\0" "M\0\0\0" "ZZ8AB\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x04\0\0\0" "\0\0\0\0" "hi\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(engine.last(), kPortRequest + kMonitorOn + expected, kLinkWaitMs);
}

void LinkCommandsTest::lineTypedBeforeThePortReplyIsDropped() {
    EnginePeer engine;
    QVERIFY(engine.listen());
    FrameHarness harness({.callSign = u"ZZ9ZZ"});
    QVERIFY(harness.create(engine.port()));
    QTcpSocket* peer = engine.acceptPortRequest();
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().connected(), 1, kLinkWaitMs);
    harness.frame.selectTab(kTabPacket);
    harness.type(harness.frame.packetTerminal(), QStringLiteral("early"));

    // The reply must not release a line held back while it was awaited.
    EnginePeer::replyPorts(peer, "2;Port A;Port B");
    QTRY_COMPARE_WITH_TIMEOUT(engine.last(), kPortRequest + kMonitorOn, kLinkWaitMs);
    QTest::qWait(kQuietMs);
    QCOMPARE(engine.last(), kPortRequest + kMonitorOn);

    harness.type(harness.frame.packetTerminal(), QStringLiteral("late"));
    const QByteArray expected =
        rawBytes("\0\0\0\0" "M\0\0\0" "ZZ9ZZ\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x06\0\0\0" "\0\0\0\0" "late\r\n"
                 "\x01\0\0\0" "M\0\0\0" "ZZ9ZZ\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x06\0\0\0" "\0\0\0\0" "late\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(engine.last(), kPortRequest + kMonitorOn + expected, kLinkWaitMs);
}

// The port count of the last connection is still known while the next one is being made: only
// the connected flag keeps the line from going out.
void LinkCommandsTest::lineTypedWhileConnectingIsDropped() {
    EnginePeer engine;
    QVERIFY(engine.listen());
    FrameHarness harness({.callSign = u"ZZ9ZZ"});
    QVERIFY(harness.create(engine.port()));
    QTcpSocket* first = engine.acceptPortRequest();
    QVERIFY(first);
    EnginePeer::replyPorts(first, "2;Port A;Port B");
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().portCount(), 2, kLinkWaitMs);
    first->close();
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.engineLink().connected(), 0, kLinkWaitMs);
    QCOMPARE(harness.frame.engineLink().portCount(), 2);

    harness.connectEngine();
    QCOMPARE(harness.frame.engineLink().connected(), 0);
    QVERIFY(harness.frame.engineLink().isOpen());
    harness.type(harness.frame.packetTerminal(), QStringLiteral("too soon"));

    QTcpSocket* second = engine.acceptPortRequest();
    QVERIFY(second);
    EnginePeer::replyPorts(second, "2;Port A;Port B");
    QTRY_COMPARE_WITH_TIMEOUT(engine.last(), kPortRequest + kMonitorOn, kLinkWaitMs);
    QTest::qWait(kQuietMs);
    QCOMPARE(engine.last(), kPortRequest + kMonitorOn);

    harness.type(harness.frame.packetTerminal(), QStringLiteral("now"));
    const QByteArray expected =
        rawBytes("\0\0\0\0" "M\0\0\0" "ZZ9ZZ\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x05\0\0\0" "\0\0\0\0" "now\r\n"
                 "\x01\0\0\0" "M\0\0\0" "ZZ9ZZ\0\0\0\0\0" "CQ\0\0\0\0\0\0\0\0" "\x05\0\0\0" "\0\0\0\0" "now\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(engine.last(), kPortRequest + kMonitorOn + expected, kLinkWaitMs);
}

void LinkCommandsTest::connectOnAConnectedLinkSaysSo_data() {
    QTest::addColumn<int>("tab");
    QTest::newRow("Telnet") << int(kTabTelnet);
    QTest::newRow("Packet") << int(kTabPacket);
}

// The command is disabled while connected, so the box is met when the command arrives before the
// enabling has caught up; the handler is called as the command would call it.
void LinkCommandsTest::connectOnAConnectedLinkSaysSo() {
    QFETCH(int, tab);
    SilentPeer peer;
    QVERIFY(peer.start());
    FrameHarness harness;
    Link* link = nullptr;
    if (tab == kTabTelnet) {
        QVERIFY(harness.create());
        harness.connectTelnet(peer.serverPort());
        link = &harness.frame.telnetLink();
    } else {
        QVERIFY(harness.create(peer.serverPort()));
        harness.frame.selectTab(kTabPacket);
        link = &harness.frame.engineLink();
    }
    QTRY_COMPARE_WITH_TIMEOUT(link->connected(), 1, kLinkWaitMs);
    QCOMPARE(peer.hasConnection(), true);
    const int linesBefore = harness.frame.telnetTerminal().buffer().count();

    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY2(box, "no message box; a Connect dialog or nothing was shown");
        text = box->text();
        caption = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        owner = box->parentWidget();
        box->accept();
    });
    harness.frame.OnActionsConnect();
    QCOMPARE(text, QStringLiteral("Already Connected!\r\nDisconnect First!"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(caption, QStringLiteral("Quendra"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(owner, static_cast<QWidget*>(&harness.frame));

    // Nothing changed: the same connection, no new attempt, nothing written.
    QTest::qWait(kQuietMs);
    QCOMPARE(link->connected(), 1);
    QVERIFY(!peer.hasPendingConnections());
    QVERIFY(!peer.sawEndOfStream());
    QCOMPARE(harness.frame.telnetTerminal().buffer().count(), linesBefore);
}

void LinkCommandsTest::telnetDisconnectWaitsForTheNodeToClose() {
    SilentPeer node;
    QVERIFY(node.start());
    FrameHarness harness;
    QVERIFY(harness.create());
    harness.connectTelnet(node.serverPort());
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kLinkWaitMs);
    QAction* connectCommand = harness.frame.action(kCmdConnect);
    QAction* disconnectCommand = harness.frame.action(kCmdDisconnect);
    const MonitorBuffer& lines = harness.frame.telnetTerminal().buffer();
    QVERIFY(!terminalHolds(harness.frame.telnetTerminal(), u"***Disconnecting"));

    disconnectCommand->trigger();
    // Shown at once, before the event loop has run.
    QVERIFY(lines.count() > 0);
    QCOMPARE(lines.line(lines.count() - 1), std::u16string(u"***Disconnecting... "));
    QCOMPARE(harness.frame.telnetLink().connected(), 1);
    QVERIFY(!connectCommand->isEnabled());
    QVERIFY(disconnectCommand->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(node.sawEndOfStream(), kLinkWaitMs);
    QTest::qWait(kQuietMs);
    QCOMPARE(harness.frame.telnetLink().connected(), 1);
    QVERIFY(!connectCommand->isEnabled());
    QVERIFY(disconnectCommand->isEnabled());
    QVERIFY(!terminalHolds(harness.frame.telnetTerminal(), u"***Disconnected"));

    node.closeConnection();
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 0, kLinkWaitMs);
    QCOMPARE(lines.line(lines.count() - 1), std::u16string(u"***Disconnected. "));
    QVERIFY(connectCommand->isEnabled());
    QVERIFY(!disconnectCommand->isEnabled());
}

void LinkCommandsTest::commandEnablingInEveryLinkState_data() {
    QTest::addColumn<int>("linkTab");  // the tab whose link is brought into the state
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("shownTab");  // the tab selected when the commands are looked at
    QTest::addColumn<bool>("connectEnabled");
    QTest::addColumn<bool>("disconnectEnabled");
    const struct { int state; const char* name; bool flagSet; } states[] = {
        {kIdle, "idle", false},
        {kConnecting, "connecting", false},
        {kConnected, "connected", true},
        {kClosing, "closing", true},
    };
    for (const int tab : {int(kTabTelnet), int(kTabPacket)}) {
        const char* tabName = tab == kTabTelnet ? "Telnet" : "Packet";
        for (const auto& each : states) {
            QTest::addRow("%s %s, on its tab", tabName, each.name) << tab << each.state << tab << !each.flagSet << each.flagSet;
            QTest::addRow("%s %s, on DXCluster", tabName, each.name) << tab << each.state << int(kTabCluster) << false << false;
        }
    }
}

void LinkCommandsTest::commandEnablingInEveryLinkState() {
    QFETCH(int, linkTab);
    QFETCH(int, state);
    QFETCH(int, shownTab);
    QFETCH(bool, connectEnabled);
    QFETCH(bool, disconnectEnabled);
    SilentPeer peer;
    QVERIFY(peer.start());
    FrameHarness harness;
    CMainFrame& frame = harness.frame;
    const bool telnet = linkTab == kTabTelnet;
    // The engine link connects by itself at start: it is pointed at the peer only when it is the
    // link under test.
    QVERIFY(harness.create(telnet || state == kIdle ? FrameHarness::kNothingListens : peer.serverPort()));
    Link& link = telnet ? static_cast<Link&>(frame.telnetLink()) : static_cast<Link&>(frame.engineLink());
    frame.selectTab(linkTab);
    if (telnet) {
        if (state != kIdle)
            harness.connectTelnet(peer.serverPort());
    } else if (state == kIdle) {
        QTRY_VERIFY_WITH_TIMEOUT(!frame.engineLink().isOpen(), kLinkWaitMs);  // the start-up attempt refused
    }
    if (state == kConnected || state == kClosing)
        QTRY_COMPARE_WITH_TIMEOUT(link.connected(), 1, kLinkWaitMs);
    if (state == kClosing) {
        frame.action(kCmdDisconnect)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(peer.sawEndOfStream(), kLinkWaitMs);
    }
    QCOMPARE(link.connected(), (state == kConnected || state == kClosing) ? 1 : 0);
    frame.selectTab(shownTab);

    QCOMPARE(frame.action(kCmdConnect)->isEnabled(), connectEnabled);
    QCOMPARE(frame.action(kCmdDisconnect)->isEnabled(), disconnectEnabled);
    // An opened menu shows the same.
    auto* actionsMenu = frame.findChild<QMenu*>(QStringLiteral("actionsMenu"));
    QVERIFY(actionsMenu);
    emit actionsMenu->aboutToShow();
    QCOMPARE(frame.action(kCmdConnect)->isEnabled(), connectEnabled);
    QCOMPARE(frame.action(kCmdDisconnect)->isEnabled(), disconnectEnabled);
    QVERIFY(frame.action(kCmdProperties)->isEnabled());
    if (state == kConnecting)
        QCOMPARE(link.connected(), 0);  // the state held while the commands were looked at
}

void LinkCommandsTest::menuAndToolBarKeepTheClassicOrder() {
    FrameHarness harness;
    QVERIFY(harness.create());
    CMainFrame& frame = harness.frame;

    const QList<QAction*> bar = frame.menuBar()->actions();
    QStringList titles;
    for (QAction* entry : bar)
        titles << withoutMnemonic(entry->text());
    QVERIFY(!titles.isEmpty());
    QCOMPARE(titles.first(), QStringLiteral("Menu"));
    QVERIFY2(titles.indexOf(QStringLiteral("Tools")) > 0, qPrintable(titles.join(QLatin1Char(','))));

    QMenu* menu = bar.first()->menu();
    QVERIFY(menu);
    QCOMPARE(entries(menu->actions()),
             (QStringList{"Actions >", "Properties...", "-", "About Quendra...", "-", "Exit"}));
    QMenu* actions = menu->actions().first()->menu();
    QVERIFY(actions);
    QCOMPARE(entries(actions->actions()), (QStringList{"Connect ...", "Disconnect"}));
    // The entries are the frame's commands, not look-alikes that do nothing.
    QCOMPARE(actions->actions().at(0), frame.action(kCmdConnect));
    QCOMPARE(actions->actions().at(1), frame.action(kCmdDisconnect));
    QCOMPARE(menu->actions().at(1), frame.action(kCmdProperties));
    QCOMPARE(menu->actions().at(3), frame.action(kCmdAbout));
    QCOMPARE(menu->actions().at(5), frame.action(kCmdExit));

    const QList<QToolBar*> toolBars = frame.findChildren<QToolBar*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(toolBars.size(), 1);
    const QList<QAction*> buttons = toolBars.first()->actions();
    const std::vector<QAction*> expectedButtons = {frame.action(kCmdConnect), frame.action(kCmdDisconnect),
                                                   frame.action(kCmdProperties), nullptr, frame.action(kCmdAbout)};
    QCOMPARE(buttons.size(), qsizetype(expectedButtons.size()));
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (expectedButtons[std::size_t(i)])
            QCOMPARE(buttons.at(i), expectedButtons[std::size_t(i)]);
        else
            QVERIFY(buttons.at(i)->isSeparator());
    }
}

QTEST_MAIN(LinkCommandsTest)
#include "LinkCommandsTest.moc"
