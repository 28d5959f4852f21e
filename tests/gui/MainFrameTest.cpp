// The main frame as the operator meets it: start-up state, tabs, placement, command enabling,
// the engine connect without user action, and what exit writes to the settings file.
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/QuendraApp.h"
#include "links/NorrvelSocket.h"
#include "platform/QtProfileSettings.h"
#include "settings/MemorySettings.h"
#include "support/FrameHarness.h"
#include "spots/ViewDxClusterFrame.h"
#include "terminal/MonitorView.h"
#include "terminal/SendTerm.h"
#include "terminal/TabMfcSDI.h"
#include "terminal/TerminalWindow.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QStatusBar>
#include <QMenu>
#include <QTcpSocket>
#include <QTimer>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace quendra;

using testing::FrameHarness;

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheClusterTabWithTerminalsHiddenAndDisabled();
    void featuresTakeTheirPlacesInListOrder();
    void switchingTabsShowsAndPlacesTheNewView();
    void resizingMovesOnlyTheActiveView();
    void aHighResolutionStripPlacesTheViewBelowItsFullHeight();
    void editKeysGoToTheFocusedPaneOnly();
    void enablingFollowsLinkNotificationsAndOpenMenus();
    void commandEnablingFollowsTheTab();
    void highResolutionFlag_data();
    void highResolutionFlag();
    void engineConnectStartsWithoutUserAction();
    void exitSavesTheLayoutOnceToTheSettingsFile();
    void exitWritesEachLayoutValueExactlyOnce();
};

void MainFrameTest::startsOnTheClusterTabWithTerminalsHiddenAndDisabled() {
    FrameHarness fixture;
    CMainFrame& frame = fixture.frame;
    QVERIFY(fixture.startShown());

    QCOMPARE(frame.selectedTab(), int(kTabCluster));
    QCOMPARE(frame.tabStrip().tabCount(), 3);
    QCOMPARE(frame.tabStrip().tabText(0), QStringLiteral("Telnet"));
    QCOMPARE(frame.tabStrip().tabText(1), QStringLiteral("Packet"));
    QCOMPARE(frame.tabStrip().tabText(2), QStringLiteral("DXCluster"));
    QCOMPARE(frame.activeView(), static_cast<QWidget*>(&frame.clusterView()));
    QVERIFY(frame.clusterView().isVisible());
    for (TerminalWindow* terminal : {&frame.telnetTerminal(), &frame.packetTerminal()}) {
        QVERIFY(!terminal->isVisible());
        QVERIFY(!terminal->isEnabled());
    }
    QCOMPARE(frame.windowTitle(), QStringLiteral("Quendra"));
    QCOMPARE(frame.callSign(), std::u16string(u"NOCALL"));
}

namespace {

// A menu's entries as a user reads them, a separator as "-".
QStringList entriesOf(const QMenu& menu) {
    QStringList entries;
    for (const QAction* action : menu.actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return entries;
}

}  // namespace

// The features add their entries in the order they are listed, parted by separators, and with
// nothing configured nothing else appears: no status bar, no pane.
void MainFrameTest::featuresTakeTheirPlacesInListOrder() {
    FrameHarness fixture;
    CMainFrame& frame = fixture.frame;
    QVERIFY(fixture.startShown());
    const auto* tools = frame.findChild<QMenu*>(QStringLiteral("toolsMenu"));
    QVERIFY(tools);
    QCOMPARE(entriesOf(*tools), (QStringList{"&Band map", "-", "&Spot...", "-", "&Watch list...", "-",
                                             "Desktop &notifications", "Alert &sound", "-", "&Propagation...", "-",
                                             "Band &Band activity...activity..."}));
    QMenu* rowMenu = nullptr;
    for (QMenu* menu : frame.clusterView().findChildren<QMenu*>()) {
        if (menu->title() == QStringLiteral("Spot"))
            rowMenu = menu;
    }
    QVERIFY(rowMenu);
    QCOMPARE(entriesOf(*rowMenu), (QStringList{"Filter bar", "-", "Tune radio", "&Spot..."}));
    QCOMPARE(frame.findChild<QStatusBar*>(), nullptr);
    QCOMPARE(frame.findChild<QDockWidget*>(), nullptr);
}

void MainFrameTest::switchingTabsShowsAndPlacesTheNewView() {
    FrameHarness fixture;
    CMainFrame& frame = fixture.frame;
    QVERIFY(fixture.startShown());

    frame.selectTab(kTabTelnet);
    TerminalWindow& telnet = frame.telnetTerminal();
    QCOMPARE(frame.activeView(), static_cast<QWidget*>(&telnet));
    QVERIFY(telnet.isVisible());
    QVERIFY(telnet.isEnabled());
    QVERIFY(!frame.clusterView().isVisible());
    QVERIFY(telnet.entryPane()->hasFocus() || telnet.hasFocus() || !QGuiApplication::focusWindow());

    // The view starts below the strip's whole 28 pixels, not at the 26 it claims.
    const QWidget* client = frame.centralWidget();
    const int top = 28;
    QCOMPARE(telnet.geometry(), QRect(0, top, client->width(), client->height() - top));
    QCOMPARE(frame.tabStrip().width(), client->width());

    frame.selectTab(kTabPacket);
    QVERIFY(!telnet.isVisible());
    QVERIFY(frame.packetTerminal().isVisible());
    QCOMPARE(frame.packetTerminal().geometry(), QRect(0, top, client->width(), client->height() - top));
}

void MainFrameTest::resizingMovesOnlyTheActiveView() {
    FrameHarness fixture;
    CMainFrame& frame = fixture.frame;
    QVERIFY(fixture.startShown());
    const QRect hiddenBefore = frame.telnetTerminal().geometry();

    frame.resize(900, 700);
    QTRY_COMPARE(frame.clusterView().width(), frame.centralWidget()->width());
    QCOMPARE(frame.telnetTerminal().geometry(), hiddenBefore);

    frame.selectTab(kTabTelnet);
    QCOMPARE(frame.telnetTerminal().width(), frame.centralWidget()->width());
}

void MainFrameTest::aHighResolutionStripPlacesTheViewBelowItsFullHeight() {
    FrameHarness fixture({.highResolution = true, .size = {800, 600}});
    QVERIFY(fixture.pointEngineAtClosedPort());
    CMainFrame& frame = fixture.frame;
    QCOMPARE(frame.OnCreate(), 0);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QWidget* client = frame.centralWidget();
    QCOMPARE(frame.clusterView().geometry(), QRect(0, 56, client->width(), client->height() - 56));
}

// Ctrl+V and Ctrl+X pressed while a terminal's output pane has the focus must leave the entry
// line alone; pressed in the entry line they edit it.
void MainFrameTest::editKeysGoToTheFocusedPaneOnly() {
    FrameHarness fixture;
    CMainFrame& frame = fixture.frame;
    QVERIFY(fixture.startShown());
    frame.activateWindow();
    frame.selectTab(kTabTelnet);
    TerminalWindow& telnet = frame.telnetTerminal();
    telnet.entryPane()->setPlainText(QStringLiteral("typed"));
    telnet.entryPane()->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));

    QWidget* output = telnet.outputPane();
    output->setFocus();
    QTRY_VERIFY(output->hasFocus());
    QTest::keyClick(output, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(output, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(telnet.entryPane()->toPlainText(), QStringLiteral("typed"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("clip"));

    telnet.entryPane()->setFocus();
    QTRY_VERIFY(telnet.entryPane()->hasFocus());
    QTest::keyClick(telnet.entryPane(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("typed"));
}

// A failed connect arrives while no command runs; the commands must not wait for a timer to
// show it, and a menu that opens shows the links' state of that moment.
void MainFrameTest::enablingFollowsLinkNotificationsAndOpenMenus() {
    QTcpServer engine;
    QVERIFY(engine.listen(QHostAddress::LocalHost));
    FrameHarness fixture;
    fixture.pointEngineAt(engine.serverPort());
    CMainFrame& frame = fixture.frame;
    QCOMPARE(frame.OnCreate(), 0);
    // No periodic refresh may help here: the frame has no timer that refreshes the commands.
    QVERIFY(!frame.findChild<QTimer*>(QStringLiteral("commandRefresh")));
    frame.selectTab(kTabPacket);
    QAction* connectCommand = frame.action(kCmdConnect);
    QAction* disconnectCommand = frame.action(kCmdDisconnect);

    QTRY_COMPARE(frame.engineLink().connected(), 1);
    QVERIFY(disconnectCommand->isEnabled());
    QVERIFY(!connectCommand->isEnabled());
    QTcpSocket* peer = engine.nextPendingConnection();
    QVERIFY(peer);
    peer->close();
    QTRY_COMPARE(frame.engineLink().connected(), 0);
    QVERIFY(connectCommand->isEnabled());
    QVERIFY(!disconnectCommand->isEnabled());

    connectCommand->setEnabled(false);
    auto* actionsMenu = frame.findChild<QMenu*>(QStringLiteral("actionsMenu"));
    QVERIFY(actionsMenu);
    emit actionsMenu->aboutToShow();
    QVERIFY(connectCommand->isEnabled());
}

void MainFrameTest::commandEnablingFollowsTheTab() {
    FrameHarness fixture;
    QVERIFY(fixture.pointEngineAtClosedPort());
    CMainFrame& frame = fixture.frame;
    QCOMPARE(frame.OnCreate(), 0);

    QAction* connectCommand = frame.action(kCmdConnect);
    QAction* disconnectCommand = frame.action(kCmdDisconnect);
    QVERIFY(connectCommand && disconnectCommand && frame.action(kCmdProperties));
    QVERIFY(!connectCommand->isEnabled());
    QVERIFY(!disconnectCommand->isEnabled());
    QVERIFY(frame.action(kCmdProperties)->isEnabled());

    frame.selectTab(kTabTelnet);
    QVERIFY(connectCommand->isEnabled());
    QVERIFY(!disconnectCommand->isEnabled());
    frame.selectTab(kTabCluster);
    QVERIFY(!connectCommand->isEnabled());
}

void MainFrameTest::highResolutionFlag_data() {
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<int>("flag");
    QTest::newRow("240x320") << QRect(0, 0, 240, 320) << 0;
    QTest::newRow("320x240") << QRect(0, 0, 320, 240) << 0;
    QTest::newRow("480x640") << QRect(0, 0, 480, 640) << 1;
    QTest::newRow("640x480") << QRect(0, 0, 640, 480) << 1;
    QTest::newRow("241x321") << QRect(0, 0, 241, 321) << 1;
    QTest::newRow("240x800") << QRect(0, 0, 240, 800) << 0;
    QTest::newRow("1280x800") << QRect(0, 0, 1280, 800) << 1;
}

void MainFrameTest::highResolutionFlag() {
    QFETCH(QRect, workArea);
    QFETCH(int, flag);
    QCOMPARE(QuendraApp::highResolutionFor(workArea), flag);
}

void MainFrameTest::engineConnectStartsWithoutUserAction() {
    QTcpServer engine;
    QVERIFY(engine.listen(QHostAddress::LocalHost));
    FrameHarness fixture;
    fixture.pointEngineAt(engine.serverPort());
    QCOMPARE(fixture.frame.OnCreate(), 0);
    QTRY_VERIFY(engine.hasPendingConnections());
    QTRY_COMPARE(fixture.frame.engineLink().connected(), 1);
}

void MainFrameTest::exitSavesTheLayoutOnceToTheSettingsFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Quendra.conf"));
    {
        QtProfileSettings settings(path);
        settings.WriteProfileString(u"STATUS", u"MYCALL", u"ZZ9ZZ");
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        fixture.frame.OnExit();
        QVERIFY(!fixture.frame.isVisible());
    }
    QSettings file(path, QSettings::IniFormat);
    QStringList keys = file.allKeys();
    keys.sort();
    const QStringList expected = {
        QStringLiteral("DXCLUSTER_1/Col0"), QStringLiteral("DXCLUSTER_1/Col1"),
        QStringLiteral("DXCLUSTER_1/Col2"), QStringLiteral("DXCLUSTER_1/Col3"),
        QStringLiteral("DXCLUSTER_1/Col4"), QStringLiteral("DXCLUSTER_1/Col5"),
        QStringLiteral("DXCLUSTER_1/HOWMANYCOLUMNS"), QStringLiteral("DXCLUSTER_1/ORDER"),
        QStringLiteral("SETTINGS/CLUSTERFRAME/GRAPH"), QStringLiteral("SETTINGS/CLUSTERFRAME/TREESIZE"),
        QStringLiteral("STATUS/MYCALL"), QStringLiteral("STATUS/NORRVEL"),
        QStringLiteral("STATUS/NORRVEL_PORT"), QStringLiteral("STATUS/SPLITTER59649"),
        QStringLiteral("STATUS/SPLITTER59650"),
    };
    QCOMPARE(keys, expected);
    QCOMPARE(file.value(QStringLiteral("SETTINGS/CLUSTERFRAME/TREESIZE")).toInt(), 50);
    QCOMPARE(file.value(QStringLiteral("STATUS/SPLITTER59649")).toInt(), 40);
}


void MainFrameTest::exitWritesEachLayoutValueExactlyOnce() {
    MemorySettings settings;
    int writesBefore = 0;
    {
        FrameHarness fixture(settings);
        QVERIFY(fixture.pointEngineAtClosedPort());
        QCOMPARE(fixture.frame.OnCreate(), 0);
        writesBefore = settings.writeCount();
        fixture.frame.show();
        fixture.frame.close();
        fixture.frame.close();
    }
    // Two pane heights, tree and list widths, the column count, six widths and the order.
    QCOMPARE(settings.writeCount() - writesBefore, 12);
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
