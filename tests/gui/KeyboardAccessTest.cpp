// The main window as an operator meets it with the keyboard alone: the keys that switch views
// work wherever the focus is, Tab reaches every pane of a view and never gets stuck, and the menu
// keys lead to every command. (What a screen reader reads is checked on the running program by
// tests/a11y.)
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/FrameHarness.h"
#include "terminal/MonitorView.h"
#include "terminal/SendTerm.h"
#include "terminal/TerminalWindow.h"

#include <QAction>
#include <QMenu>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

using namespace quendra;

namespace {

// A shown and active frame whose engine link points at a port where nothing listens.
class ActiveFrame : public testing::FrameHarness {
public:
    bool open() { return startActive(); }

    // The pane a row of a data table names, in the view of the given tab.
    QWidget* pane(const QString& name) {
        TerminalWindow* terminal = frame.selectedTab() == kTabTelnet ? &frame.telnetTerminal()
                                                                     : &frame.packetTerminal();
        if (name == QLatin1String("entry"))
            return terminal->entryPane();
        if (name == QLatin1String("output"))
            return terminal->outputPane();
        if (name == QLatin1String("tree"))
            return frame.clusterView().bandTree();
        return frame.clusterView().spotList();
    }
};

// Keys go in through the window, as the platform delivers them, so window shortcuts take part.
void press(CMainFrame& frame, int key, int modifiers) {
    QTest::keyClick(frame.windowHandle(), static_cast<Qt::Key>(key),
                    static_cast<Qt::KeyboardModifiers>(modifiers));
}

}  // namespace

class KeyboardAccessTest : public QObject {
    Q_OBJECT
private slots:
    void switchingKeysPickTheTab_data();
    void switchingKeysPickTheTab();
    void tabWalksThePanesOfTheView_data();
    void tabWalksThePanesOfTheView();
    void commandsAreReachableFromTheMenuKeys();
};

void KeyboardAccessTest::switchingKeysPickTheTab_data() {
    QTest::addColumn<int>("startTab");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expectedTab");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+Tab wraps from the last tab") << int(kTabCluster) << "tree" << int(Qt::Key_Tab) << ctrl << int(kTabTelnet);
    QTest::newRow("Ctrl+Tab in an entry line") << int(kTabTelnet) << "entry" << int(Qt::Key_Tab) << ctrl << int(kTabPacket);
    QTest::newRow("Ctrl+PgDown in an output pane") << int(kTabPacket) << "output" << int(Qt::Key_PageDown) << ctrl << int(kTabCluster);
    QTest::newRow("Ctrl+PgUp wraps from the first tab") << int(kTabTelnet) << "entry" << int(Qt::Key_PageUp) << ctrl << int(kTabCluster);
    QTest::newRow("Ctrl+Shift+Tab in the spot list") << int(kTabCluster) << "list" << int(Qt::Key_Backtab) << ctrlShift << int(kTabPacket);
    QTest::newRow("Ctrl+Shift+Tab as Tab with Shift") << int(kTabPacket) << "entry" << int(Qt::Key_Tab) << ctrlShift << int(kTabTelnet);
    QTest::newRow("Alt+1 in the spot list") << int(kTabCluster) << "list" << int(Qt::Key_1) << int(Qt::AltModifier) << int(kTabTelnet);
    QTest::newRow("Alt+2 in an entry line") << int(kTabTelnet) << "entry" << int(Qt::Key_2) << int(Qt::AltModifier) << int(kTabPacket);
    QTest::newRow("Alt+3 in an output pane") << int(kTabPacket) << "output" << int(Qt::Key_3) << int(Qt::AltModifier) << int(kTabCluster);
}

void KeyboardAccessTest::switchingKeysPickTheTab() {
    QFETCH(int, startTab);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expectedTab);
    ActiveFrame fixture;
    QVERIFY(fixture.open());
    CMainFrame& frame = fixture.frame;
    frame.selectTab(startTab);
    fixture.pane(focus)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), fixture.pane(focus));

    press(frame, key, modifiers);
    QCOMPARE(frame.selectedTab(), expectedTab);
    // The new view is shown and holds the focus, so typing goes on there at once.
    QVERIFY(frame.activeView()->isVisible());
    QVERIFY(frame.activeView()->isAncestorOf(QApplication::focusWidget()));
}

void KeyboardAccessTest::tabWalksThePanesOfTheView_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("focusAfterEachTab");  // the first is where picking the tab left it
    QTest::newRow("telnet") << int(kTabTelnet) << QStringList{"entry", "output", "entry"};
    QTest::newRow("packet") << int(kTabPacket) << QStringList{"entry", "output", "entry"};
    QTest::newRow("cluster") << int(kTabCluster) << QStringList{"tree", "list", "tree"};
}

void KeyboardAccessTest::tabWalksThePanesOfTheView() {
    QFETCH(int, tab);
    QFETCH(QStringList, focusAfterEachTab);
    ActiveFrame fixture;
    QVERIFY(fixture.open());
    CMainFrame& frame = fixture.frame;
    frame.selectTab(kTabTelnet == tab ? kTabPacket : kTabTelnet);
    frame.selectTab(tab);
    QTRY_COMPARE(QApplication::focusWidget(), fixture.pane(focusAfterEachTab.first()));
    for (qsizetype step = 1; step < focusAfterEachTab.size(); ++step) {
        press(frame, Qt::Key_Tab, Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget(), fixture.pane(focusAfterEachTab[step]));
    }
    // Shift+Tab walks back the same way.
    press(frame, Qt::Key_Backtab, Qt::ShiftModifier);
    const QString previous = focusAfterEachTab[focusAfterEachTab.size() - 2];
    QCOMPARE(QApplication::focusWidget(), fixture.pane(previous));
    if (auto* entry = qobject_cast<SendTerm*>(fixture.pane(QStringLiteral("entry"))))
        QVERIFY2(!entry->toPlainText().contains(QLatin1Char('\t')), "Tab was typed into the entry");
}

// The menu opens with Alt+M and Actions with A; Connect and Disconnect sit in Actions, the other
// commands in the menu itself, so arrow keys and Enter reach each of them.
void KeyboardAccessTest::commandsAreReachableFromTheMenuKeys() {
    ActiveFrame fixture;
    QVERIFY(fixture.open());
    CMainFrame& frame = fixture.frame;
    QMenu* menu = nullptr;
    QMenu* actions = nullptr;
    for (QMenu* candidate : frame.findChildren<QMenu*>()) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(candidate->title());
        if (mnemonic == QKeySequence(Qt::ALT | Qt::Key_M))
            menu = candidate;
        if (mnemonic == QKeySequence(Qt::ALT | Qt::Key_A))
            actions = candidate;
    }
    QVERIFY(menu && actions);
    for (int id : {kCmdConnect, kCmdDisconnect})
        QVERIFY(actions->actions().contains(frame.action(id)));
    for (int id : {kCmdProperties, kCmdAbout, kCmdExit})
        QVERIFY(menu->actions().contains(frame.action(id)));
}

QTEST_MAIN(KeyboardAccessTest)
#include "KeyboardAccessTest.moc"
