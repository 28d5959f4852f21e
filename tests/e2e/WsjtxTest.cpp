#include "app/FeatureRoom.h"
#include "features/QsoSink.h"
#include "radio/RadioControl.h"
#include "radio/RadioLink.h"
#include "settings/MemorySettings.h"
#include "spots/SpotListModel.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/FrameHarness.h"
#include "support/Rigctld.h"
#include "support/WsjtxDatagrams.h"
#include "wsjtx/WsjtxFeature.h"

#include <QLabel>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QUdpSocket>

using namespace quendra;
using quendra::testing::FrameHarness;
using quendra::testing::Rigctld;
using namespace quendra::testing::wsjtx_datagrams;

namespace {

class RecordedQsos : public QsoSink {
public:
    std::vector<std::string> records;
    void addQso(std::string_view record) override { records.emplace_back(record); }
};

QByteArray bytes(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

// kDecodeRequired with another message of the same length (13 bytes).
std::string withMessage(const std::string& message) {
    std::string decode = kDecodeRequired;
    decode.replace(decode.size() - 13, 13, message);
    return decode;
}

// WSJT-X as the program meets it: a UDP socket on 127.0.0.1 that sends to the program's port.
struct WsjtxPeer {
    QUdpSocket socket;
    quint16 to = 0;

    explicit WsjtxPeer(quint16 port) : to(port) { socket.bind(QHostAddress::LocalHost, 0); }
    void send(const std::string& datagram) { socket.writeDatagram(bytes(datagram), QHostAddress::LocalHost, to); }
};

struct Listening {
    MemorySettings settings;
    FrameHarness fixture{settings};
    WsjtxFeature* feature = nullptr;

    bool start() {
        settings.WriteProfileInt(u"WSJTX", u"ENABLED", 1);
        settings.WriteProfileInt(u"WSJTX", u"PORT", 0);  // a free port, for the test
        settings.WriteProfileString(u"STATUS", u"MYCALL", u"ZZ1AB");
        if (!fixture.startShown())
            return false;
        feature = fixture.frame.features().find<WsjtxFeature>();
        return feature && feature->listening();
    }
    QString cell(int row, int column) const {
        const QAbstractItemModel* model = fixture.frame.clusterView().spotList()->model();
        return model->data(model->index(row, column)).toString();
    }
};

}  // namespace

class WsjtxTest : public QObject {
    Q_OBJECT

private slots:
    void nothingConfiguredOpensNoSocket() {
        FrameHarness fixture;
        QVERIFY(fixture.startShown());
        auto* feature = fixture.frame.features().find<WsjtxFeature>();
        QVERIFY(feature);
        QVERIFY(!feature->listening());
        QCOMPARE(fixture.frame.findChild<QStatusBar*>(), nullptr);
    }

    void aCqDecodeBecomesASpotAndActivatingItRepliesToWsjtx() {
        Listening l;
        QVERIFY(l.start());
        WsjtxPeer wsjtx(l.feature->localPort());
        wsjtx.send(kStatusHead + kStatusTail);
        wsjtx.send(kDecodeRequired + kDecodeFlags);
        QTRY_COMPARE(l.fixture.listedRows(), 1);
        QCOMPARE(l.cell(0, SpotListModel::Station), QStringLiteral("ZZ2CD"));
        QCOMPARE(l.cell(0, SpotListModel::Frequency), QStringLiteral("14075.5"));
        QCOMPARE(l.cell(0, SpotListModel::Info), QStringLiteral("FT8 -12 dB"));
        QCOMPARE(l.cell(0, SpotListModel::Gmt), QStringLiteral("12:34"));
        QCOMPARE(l.cell(0, SpotListModel::Author), QStringLiteral("ZZ1AB"));
        QCOMPARE(l.cell(0, SpotListModel::DxNode), QStringLiteral("WSJT-X"));

        // The same decode again, in the next period, is a duplicate; another station is not.
        wsjtx.send(kDecodeRequired + kDecodeFlags);
        wsjtx.send(withMessage("CQ ZZ3EF JN48"));
        QTRY_COMPARE(l.fixture.frame.spotStore().count(), 2);
        QTest::qWait(50);
        QCOMPARE(l.fixture.listedRows(), 2);
        QCOMPARE(l.cell(1, SpotListModel::Station), QStringLiteral("ZZ3EF"));

        QTableView* list = l.fixture.frame.clusterView().spotList();
        const QRect row = list->visualRect(list->model()->index(0, 0));
        QVERIFY(row.isValid());
        QSignalSpy activated(&l.fixture.frame.clusterView(), &ViewDxClusterFrame::spotActivated);
        // A double-click is a click and then the second click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(activated.size(), 1);
        QTRY_VERIFY(wsjtx.socket.hasPendingDatagrams());
        const QNetworkDatagram reply = wsjtx.socket.receiveDatagram();
        QCOMPARE(reply.data(), bytes(kReplyToDecode));
        QCOMPARE(reply.senderAddress(), QHostAddress(QHostAddress::LocalHost));
    }

    // With a radio connected, activating a decode asks WSJT-X to call the station and leaves
    // the radio where WSJT-X has it; a node's spot still tunes the radio.
    void activatingADecodeRepliesWithoutTuningTheRadio() {
        if (!testing::rigctldInstalled())
            QSKIP("rigctld is not installed");
        Rigctld rig;
        QVERIFY(rig.start());
        Listening l;
        testing::pointRadioAt(l.settings, rig.port());
        QVERIFY(l.start());
        WsjtxPeer wsjtx(l.feature->localPort());
        wsjtx.send(kStatusHead + kStatusTail);
        wsjtx.send(kDecodeRequired + kDecodeFlags);
        QTRY_COMPARE(l.fixture.listedRows(), 1);
        const std::u16string node = u"DX de ZZ9AA:      7012.0  ZZ4GH        CW 599                         1235Z\r\n";
        l.fixture.frame.RouteTelnetText(node, static_cast<int>(node.size()));
        QTRY_COMPARE(l.fixture.listedRows(), 2);
        QSignalSpy tuned(&l.fixture.frame.features().find<RadioControl>()->link(), &RadioLink::tuneFinished);
        ViewDxClusterFrame& view = l.fixture.frame.clusterView();

        view.activateStoreIndex(1);
        QTRY_COMPARE_WITH_TIMEOUT(tuned.count(), 1, testing::kRigWaitMs);
        QCOMPARE(testing::askRadio(rig.port()).value(0), QStringLiteral("7012000"));
        QVERIFY(!wsjtx.socket.hasPendingDatagrams());

        view.activateStoreIndex(0);
        QTRY_VERIFY(wsjtx.socket.hasPendingDatagrams());
        QCOMPARE(wsjtx.socket.receiveDatagram().data(), bytes(kReplyToDecode));
        // The link is up, so a tune would have finished well within this.
        QTest::qWait(500);
        QCOMPARE(tuned.count(), 1);
        QCOMPARE(testing::askRadio(rig.port()).value(0), QStringLiteral("7012000"));
    }

    void aDecodeBeforeAnyStatusOrCallingNobodyMakesNoSpot() {
        Listening l;
        QVERIFY(l.start());
        WsjtxPeer wsjtx(l.feature->localPort());
        wsjtx.send(kDecodeRequired);
        wsjtx.send(kStatusHead);
        wsjtx.send(withMessage("ZZ1AB ZZ2CD -"));
        wsjtx.send(kHeartbeat);
        // Datagrams on the loopback arrive in order: once this one is listed, the others were read.
        wsjtx.send(withMessage("CQ ZZ3EF JN48"));
        QTRY_COMPARE(l.fixture.listedRows(), 1);
        QCOMPARE(l.fixture.frame.spotStore().count(), 1);
        QCOMPARE(l.cell(0, SpotListModel::Station), QStringLiteral("ZZ3EF"));
        QCOMPARE(l.feature->malformedCount(), 0);
    }

    void malformedDatagramsAreDroppedAndCounted() {
        Listening l;
        QVERIFY(l.start());
        WsjtxPeer wsjtx(l.feature->localPort());
        const std::string decode = kDecodeRequired + kDecodeFlags;
        wsjtx.send(decode.substr(0, 30));
        wsjtx.send("garbage");
        wsjtx.send(std::string(2000, '\xad'));
        wsjtx.send(kStatusHead);
        wsjtx.send(decode);  // still heard after the garbage
        QTRY_COMPARE(l.fixture.listedRows(), 1);
        QCOMPARE(l.feature->malformedCount(), 3);
        auto* field = l.fixture.frame.findChild<QLabel*>(QStringLiteral("wsjtxStatus"));
        QVERIFY(field);
        QVERIFY2(field->toolTip().contains(QStringLiteral("3 malformed")), qPrintable(field->toolTip()));
        QVERIFY(field->text().contains(QStringLiteral("127.0.0.1")));
    }

    void aLoggedQsoReachesTheLogOnce() {
        Listening l;
        QVERIFY(l.start());
        RecordedQsos log;
        l.fixture.frame.features().host().provide<QsoSink>(log);
        l.feature->featuresBuilt();
        WsjtxPeer wsjtx(l.feature->localPort());
        wsjtx.send(kQsoLoggedRequired + kQsoLoggedLater);
        // WSJT-X follows with the same QSO as ADIF.
        const std::string adif =
            "\n<adif_ver:5>3.1.0\n<programid:6>WSJT-X\n<EOH>\n<call:5>ZZ2CD <gridsquare:4>JN48 <mode:3>FT8 "
            "<qso_date:8>20261209 <time_on:6>123830 <eor>";
        const std::string header = hex("adbccbda 00000003 0000000c 00000006 57534a542d58");
        const std::string length{static_cast<char>(0), static_cast<char>(0), static_cast<char>(0),
                                 static_cast<char>(adif.size())};
        wsjtx.send(header + length + adif);
        const std::string another = "<call:5>ZZ3EF <qso_date:8>20261209 <time_on:6>124500 <eor>";
        const std::string anotherLength{static_cast<char>(0), static_cast<char>(0), static_cast<char>(0),
                                        static_cast<char>(another.size())};
        wsjtx.send(header + anotherLength + another);
        QTRY_COMPARE(log.records.size(), std::size_t{2});
        QVERIFY(log.records[0].starts_with("<call:5>ZZ2CD<gridsquare:4>JN48<mode:3>FT8<band:3>20m"));
        QCOMPARE(log.records[1], another);
        QCOMPARE(l.fixture.frame.spotStore().count(), 0);
    }
};

QTEST_MAIN(WsjtxTest)
#include "WsjtxTest.moc"
