// The links left to themselves, on 127.0.0.1 against peers that prompt without line ends, close
// abruptly and refuse: one login per connection, coming back after a loss, Disconnect ending the
// retrying, a node's spot listing taken in, and the exact bytes of a spot sent through the node.
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/FeatureRoom.h"
#include "links/SpottingFeature.h"
#include "links/UnattendedLinks.h"
#include "links/SpotDialog.h"
#include "links/TelnetAutomation.h"
#include "links/TelnetSocket.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/FrameHarness.h"
#include "support/PeerWaits.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

using namespace quendra;
using namespace quendra::testing;

namespace {

constexpr int kWaitMs = 10000;


}  // namespace

class UnattendedLinksTest : public QObject {
    Q_OBJECT
private slots:
    void nothingHappensByItselfWithTheOptionsOff();
    void theLoginIsAnsweredOncePerConnection();
    void aLostLinkComesBackAndDisconnectEndsTheRetrying();
    void aListingFillsTheListOnlyWhenAskedFor();
    void aSpotGoesToTheNodeAsItsCommand();
};

void UnattendedLinksTest::nothingHappensByItselfWithTheOptionsOff() {
    QTcpServer node;
    QVERIFY(node.listen(QHostAddress::LocalHost));
    FrameHarness harness;
    QVERIFY(harness.create());
    QVERIFY(!harness.frame.findChild<QStatusBar*>());
    harness.connectTelnet(QStringLiteral("127.0.0.1:%1").arg(node.serverPort()));
    QTcpSocket* peer = nextPeer(node);
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kWaitMs);
    peer->write("login: ");
    peer->flush();
    QTest::qWait(300);
    QCOMPARE(peer->readAll(), QByteArray());
    peer->close();
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 0, kWaitMs);
    QTest::qWait(300);
    QVERIFY(!harness.frame.features().find<UnattendedLinks>()->telnetAutomation().retrying());
    QVERIFY(!node.hasPendingConnections());
}

void UnattendedLinksTest::theLoginIsAnsweredOncePerConnection() {
    QTcpServer node;
    QVERIFY(node.listen(QHostAddress::LocalHost));
    FrameHarness harness;
    harness.settings.WriteProfileString(u"STATUS", u"MYCALL", u"ZZ9ZZ");
    harness.settings.WriteProfileInt(u"AUTOLINK", u"LOGIN", 1);
    harness.settings.WriteProfileString(u"AUTOLINK", u"COMMANDS", u"sh/dx 30\n\nset/skimmer\n");
    QVERIFY(harness.create());
    const QString address = QStringLiteral("127.0.0.1:%1").arg(node.serverPort());
    for (int connection = 0; connection < 2; ++connection) {
        harness.connectTelnet(address);
        QTcpSocket* peer = nextPeer(node);
        QVERIFY(peer);
        QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kWaitMs);
        peer->write("Welcome to the node\r\nPlease enter your ");
        peer->flush();
        QTest::qWait(50);
        peer->write("call: ");  // cut across reads, without a line end
        QByteArray received;
        QVERIFY(receives(*peer, received, "set/skimmer\r\n"));
        QCOMPARE(received, QByteArray("ZZ9ZZ\r\nsh/dx 30\r\nset/skimmer\r\n"));
        peer->write("\r\nlogin: ");  // a second prompt on the same connection is not answered
        peer->flush();
        QTest::qWait(300);
        QCOMPARE(peer->readAll(), QByteArray());
        harness.frame.selectTab(kTabTelnet);
        harness.frame.action(kCmdDisconnect)->trigger();
        peer->close();
        QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 0, kWaitMs);
    }
}

void UnattendedLinksTest::aLostLinkComesBackAndDisconnectEndsTheRetrying() {
    QTcpServer node;
    QVERIFY(node.listen(QHostAddress::LocalHost));
    FrameHarness harness;
    harness.settings.WriteProfileInt(u"AUTOLINK", u"RECONNECT", 1);
    QVERIFY(harness.create());
    harness.frame.selectTab(kTabTelnet);
    harness.connectTelnet(QStringLiteral("127.0.0.1:%1").arg(node.serverPort()));
    QTcpSocket* peer = nextPeer(node);
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kWaitMs);
    QVERIFY(harness.frame.findChild<QStatusBar*>());  // the link fields come with the option

    peer->abort();  // the node goes away without a word
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(harness.frame.telnetTerminal(), u"***Link lost; trying again in"), kWaitMs);
    QVERIFY(harness.frame.features().find<UnattendedLinks>()->telnetAutomation().retrying());
    QVERIFY(harness.frame.action(kCmdDisconnect)->isEnabled());
    // The first pause is at most 2 s: the link is back before long, on one new connection.
    QTcpSocket* again = nextPeer(node);
    QVERIFY(again);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kWaitMs);
    QVERIFY(terminalHolds(harness.frame.telnetTerminal(), u"***Reconnecting... "));
    QTest::qWait(200);
    QVERIFY(!node.hasPendingConnections());

    // The node is gone for good: every attempt is refused, and the retrying goes on until the
    // operator's Disconnect ends it.
    node.close();
    again->abort();
    QTRY_VERIFY_WITH_TIMEOUT(harness.frame.features().find<UnattendedLinks>()->telnetAutomation().retrying(), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(harness.frame.telnetTerminal(), u"***Connect failed; trying again in"),
                             3 * kWaitMs);
    QVERIFY(harness.frame.features().find<UnattendedLinks>()->telnetAutomation().retrying());
    harness.frame.action(kCmdDisconnect)->trigger();
    QVERIFY(!harness.frame.features().find<UnattendedLinks>()->telnetAutomation().retrying());
    QVERIFY(!harness.frame.action(kCmdDisconnect)->isEnabled());
}

void UnattendedLinksTest::aListingFillsTheListOnlyWhenAskedFor() {
    const QByteArray listing =
        "  14025.0 ZZ2CD        7-Dec-2026 1234Z CW 599                        <ZZ1AB>\r\n"
        "   7012.5 ZZ3EF        7-Dec-2026 1233Z up 2                          <ZZ4GH>\r\n"
        "ZZ9ZZ de NODE  7-Dec-2026 1235Z dxspider >\r\n";
    for (const bool asked : {false, true}) {
        QTcpServer node;
        QVERIFY(node.listen(QHostAddress::LocalHost));
        FrameHarness harness;
        harness.settings.WriteProfileInt(u"AUTOLINK", u"LISTINGS", asked ? 1 : 0);
        harness.settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 2'000'000'000);
        QVERIFY(harness.create());
        harness.connectTelnet(QStringLiteral("127.0.0.1:%1").arg(node.serverPort()));
        QTcpSocket* peer = nextPeer(node);
        QVERIFY(peer);
        QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kWaitMs);
        peer->write(listing);
        QTRY_VERIFY_WITH_TIMEOUT(terminalHolds(harness.frame.telnetTerminal(), u"dxspider >"), kWaitMs);
        SpotStore& store = harness.frame.spotStore();
        QCOMPARE(store.count(), asked ? 2 : 0);
        if (!asked)
            continue;
        const Spot& first = store.spotAt(0);
        QCOMPARE(first.station, std::u16string(u"ZZ2CD"));
        QCOMPARE(first.author, std::u16string(u"ZZ1AB"));
        QCOMPARE(first.gmt, std::u16string(u"12:34"));
        QCOMPARE(first.received.hour, std::uint16_t(12));
        QCOMPARE(first.received.minute, std::uint16_t(34));
    }
}

void UnattendedLinksTest::aSpotGoesToTheNodeAsItsCommand() {
    QTcpServer node;
    QVERIFY(node.listen(QHostAddress::LocalHost));
    FrameHarness harness;
    QVERIFY(harness.create());
    harness.connectTelnet(QStringLiteral("127.0.0.1:%1").arg(node.serverPort()));
    QTcpSocket* peer = nextPeer(node);
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(harness.frame.telnetLink().connected(), 1, kWaitMs);

    bool refusedFirst = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SpotDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->callField()->setText(QStringLiteral("zz2cd"));
        dialog->frequencyField()->setText(QStringLiteral("fourteen"));
        dialog->accept();  // refused: the dialog stays open and says why
        refusedFirst = dialog->isVisible() && dialog->command().isEmpty();
        dialog->frequencyField()->setText(QStringLiteral("14025,5"));
        dialog->commentField()->setText(QStringLiteral("tnx qso"));
        dialog->accept();
    });
    harness.frame.features().find<SpottingFeature>()->spotCommand()->trigger();
    QVERIFY(refusedFirst);
    QByteArray received;
    QVERIFY(receives(*peer, received, "\r\n"));
    // Nodes read a decimal point only.
    QCOMPARE(received, QByteArray("DX 14025.5 ZZ2CD tnx qso\r\n"));
}

QTEST_MAIN(UnattendedLinksTest)
#include "UnattendedLinksTest.moc"
