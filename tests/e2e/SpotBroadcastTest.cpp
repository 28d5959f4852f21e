// The spots broadcast as a logger hears it: a UDP listener on 127.0.0.1, the main frame taking
// spots from a node's link, and every datagram compared with the packet written out here.
#include "app/FeatureRoom.h"
#include "share/SharingFeature.h"
#include "share/SpotBroadcast.h"
#include "spots/SpotStore.h"
#include "support/FrameHarness.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>

using namespace quendra;
using testing::FrameHarness;

namespace {

void route(FrameHarness& harness, const QString& lines) {
    const std::u16string text = lines.toStdU16String();
    harness.frame.RouteTelnetText(text, static_cast<int>(text.size()));
}

QByteArray packet(const char* call, const char* kHz, const char* comment, const char* mode, const char* time,
                  const char* action) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?><spot><app>Quendra</app><dxcall>") + call +
           "</dxcall><frequency>" + kHz + "</frequency><spottercall>ZZ1AB</spottercall><comment>" + comment +
           "</comment><mode>" + mode + "</mode><timestamp>" + time + "</timestamp><action>" + action +
           "</action></spot>";
}

}  // namespace

class SpotBroadcastTest : public QObject {
    Q_OBJECT

private slots:
    void sendsEachNewSpotAndTakesItBackWhenItAgesOut() {
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress::LocalHost, 0));
        FrameHarness harness;
        const std::u16string target = u"127.0.0.1:" + QString::number(listener.localPort()).toStdU16String();
        harness.settings.WriteProfileString(u"SHARE", u"UDP", target);
        QVERIFY(harness.create());
        const auto next = [&]() -> QByteArray {
            if (!listener.hasPendingDatagrams() && !listener.waitForReadyRead(5000))
                return {};
            return listener.receiveDatagram().data();
        };

        route(harness, QStringLiteral("DX de ZZ1AB:     14025.0  ZZ2CD        CW 599 & <QRP>                 1234Z\r\n"
                                      "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599 & <QRP>                 1234Z\r\n"));
        QCOMPARE(next(), packet("ZZ2CD", "14025.0", "CW 599 &amp; &lt;QRP&gt;", "CW", "2026/12/07 12:03:20", "add"));

        // Half an hour and a second later the next spot's read ages the first one out.
        harness.clock.advance(1801);
        route(harness, QStringLiteral("DX de ZZ1AB:     21074,0  ZZ3EF        FT8 -12                        1305Z\r\n"));
        QCOMPARE(next(), packet("ZZ2CD", "14025.0", "CW 599 &amp; &lt;QRP&gt;", "CW", "2026/12/07 12:03:20", "delete"));
        QCOMPARE(next(), packet("ZZ3EF", "21074.0", "FT8 -12", "FT8", "2026/12/07 12:33:21", "add"));

        // Spots the list's own timer ages out are taken back too.
        auto* broadcast = harness.frame.features().find<SharingFeature>()->broadcast();
        QVERIFY(broadcast);
        harness.clock.advance(1801);
        QCOMPARE(harness.frame.spotStore().expireSpots(), 1);
        broadcast->checkAgedOut();
        QCOMPARE(next(), packet("ZZ3EF", "21074.0", "FT8 -12", "FT8", "2026/12/07 12:33:21", "delete"));
        QCOMPARE(broadcast->remembered(), std::size_t{0});
        QVERIFY(!listener.waitForReadyRead(200));
    }
};

QTEST_MAIN(SpotBroadcastTest)
#include "SpotBroadcastTest.moc"
