// The radio link against Hamlib's own daemon running its dummy radio on 127.0.0.1, and against
// small peers of the test's making for the answers the dummy never gives.
#include "radio/RadioLink.h"
#include "settings/MemorySettings.h"
#include "support/Rigctld.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using namespace quendra;

namespace {

// Waits are long and only end early: a loaded two-core machine may hold a fresh daemon back for
// seconds.
constexpr int kWaitMs = testing::kRigWaitMs;

using testing::askRadio;
using testing::freeLocalPort;
using testing::Rigctld;

// Answers each command line with the next of its answers, and stays silent when they run out.
// The first connections it is told to drop are closed as soon as a command arrives on them.
class ScriptedPeer {
public:
    explicit ScriptedPeer(QList<QByteArray> answers, int dropConnections = 0)
        : answers_(std::move(answers)), dropConnections_(dropConnections) {
        listening = server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                if (++connections <= dropConnections_) {
                    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->close(); });
                    continue;
                }
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    while (socket->canReadLine()) {
                        received.append(socket->readLine());
                        if (!answers_.isEmpty())
                            socket->write(answers_.takeFirst());
                    }
                });
            }
        });
    }

    QTcpServer server;
    bool listening = false;
    int connections = 0;
    QList<QByteArray> received;

private:
    QList<QByteArray> answers_;
    int dropConnections_ = 0;
};

}  // namespace

class RadioLinkTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<RadioLink> makeLink(quint16 port) {
        settings_ = std::make_unique<MemorySettings>();
        testing::pointRadioAt(*settings_, port);
        return std::make_unique<RadioLink>(*settings_);
    }

    std::unique_ptr<MemorySettings> settings_;

private slots:
    void initTestCase() {
        if (!testing::rigctldInstalled())
            QSKIP("rigctld is not installed (Debian package libhamlib-utils)");
    }

    void tuneSetsTheRadio_data() {
        QTest::addColumn<QString>("frequencyText");
        QTest::addColumn<QString>("modeToken");
        QTest::addColumn<QString>("frequencyRead");
        QTest::addColumn<QString>("modeRead");
        QTest::addColumn<QString>("status");
        QTest::newRow("cw") << "14025.0" << "CW" << "14025000" << "CW" << "Radio: 14,025.000 kHz CW";
        QTest::newRow("decimal comma") << "7001,25" << "LSB" << "7001250" << "LSB" << "Radio: 7,001.250 kHz LSB";
        QTest::newRow("lower-case token") << "21074.0" << "pktusb" << "21074000" << "PKTUSB"
                                          << "Radio: 21,074.000 kHz PKTUSB";
        // The dummy starts in FM; without a token the mode stays.
        QTest::newRow("no mode") << "  3525.1" << "" << "3525100" << "FM" << "Radio: 3,525.100 kHz FM";
    }

    void tuneSetsTheRadio() {
        QFETCH(QString, frequencyText);
        QFETCH(QString, modeToken);
        QFETCH(QString, frequencyRead);
        QFETCH(QString, modeRead);
        QFETCH(QString, status);
        Rigctld rig;
        QVERIFY(rig.start());
        const quint16 port = rig.port();
        auto link = makeLink(port);
        QSignalSpy finished(link.get(), &RadioLink::tuneFinished);
        QSignalSpy read(link.get(), &RadioLink::frequencyRead);

        QVERIFY(link->tune(frequencyText, modeToken));
        QCOMPARE(link->state(), RadioLink::State::Connecting);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        const QStringList radio = askRadio(port);
        QCOMPARE(radio.value(0), frequencyRead);
        QCOMPARE(radio.value(1), modeRead);

        QTRY_COMPARE_WITH_TIMEOUT(link->statusText(), status, kWaitMs);
        QVERIFY(!read.isEmpty());
        QCOMPARE(read.last().at(0).toLongLong(), frequencyRead.toLongLong());
        QCOMPARE(read.last().at(1).toString(), modeRead);
        // The reading goes on: a change made at the radio shows up.
        QTcpSocket knob;
        knob.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(knob.waitForConnected(kWaitMs));
        knob.write("F 10106000\n");
        QTRY_COMPARE_WITH_TIMEOUT(read.last().at(0).toLongLong(), 10106000, kWaitMs);
    }

    void radioRestartedMidSession() {
        Rigctld rig;
        QVERIFY(rig.start());
        const quint16 port = rig.port();
        auto link = makeLink(port);
        QSignalSpy finished(link.get(), &RadioLink::tuneFinished);
        QVERIFY(link->tune("14025.0", "CW"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(link->statusText(), QString("Radio: 14,025.000 kHz CW"), kWaitMs);

        rig.stop();
        QTRY_COMPARE_WITH_TIMEOUT(link->state(), RadioLink::State::NotConnected, kWaitMs);
        QVERIFY(link->statusText().startsWith("Radio: not connected"));

        QVERIFY(rig.restart());
        QVERIFY(link->tune("28074.0", "USB"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, kWaitMs);
        QCOMPARE(finished.at(1).at(0).toBool(), true);
        QCOMPARE(link->state(), RadioLink::State::Connected);
        QCOMPARE(askRadio(port).mid(0, 2), QStringList({"28074000", "USB"}));
    }

    void peerAnswers_data() {
        QTest::addColumn<QList<QByteArray>>("answers");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("staysConnected");
        QTest::newRow("frequency refused") << QList<QByteArray>{"RPRT -1\n"}
                                           << "Radio: frequency refused (RPRT -1)" << true;
        QTest::newRow("mode refused") << QList<QByteArray>{"RPRT 0\n", "RPRT -11\n"}
                                      << "Radio: mode refused (RPRT -11)" << true;
        QTest::newRow("garbage then silence") << QList<QByteArray>{"login: \r\nwelcome\n"}
                                              << "Radio: not connected (no reply)" << false;
        QTest::newRow("no answer") << QList<QByteArray>{} << "Radio: not connected (no reply)" << false;
    }

    void peerAnswers() {
        QFETCH(QList<QByteArray>, answers);
        QFETCH(QString, status);
        QFETCH(bool, staysConnected);
        ScriptedPeer peer(answers);
        QVERIFY(peer.listening);
        auto link = makeLink(peer.server.serverPort());
        QSignalSpy finished(link.get(), &RadioLink::tuneFinished);
        QSignalSpy statuses(link.get(), &RadioLink::statusChanged);

        // Tunes given while the first connect is under way share it; the last one is sent.
        QVERIFY(link->tune("1840.0", "CW"));
        QVERIFY(link->tune("3525.0", "CW"));
        QVERIFY(link->tune("7001.0", "CW"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QCOMPARE(peer.connections, 1);
        QCOMPARE(peer.received.value(0), QByteArray("F 7001000\n"));
        QVERIFY(statuses.count() >= 1);
        QCOMPARE(statuses.first().at(0).toString(), status);
        QCOMPARE(link->state() == RadioLink::State::Connected, staysConnected);
    }

    // Hamlib 4.5's daemon can end a fresh connection when another client leaves at that moment.
    void aConnectionLostBeforeAnyAnswerIsTriedOnceMore_data() {
        QTest::addColumn<int>("dropped");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("connections");
        QTest::addColumn<QString>("status");
        QTest::newRow("second connection served") << 1 << true << 2 << "Radio: 14,025.000 kHz CW";
        QTest::newRow("every connection dropped") << 9 << false << 2 << "Radio: not connected (connection lost)";
    }

    void aConnectionLostBeforeAnyAnswerIsTriedOnceMore() {
        QFETCH(int, dropped);
        QFETCH(bool, ok);
        QFETCH(int, connections);
        QFETCH(QString, status);
        ScriptedPeer peer({"RPRT 0\n", "RPRT 0\n", "14025000\n", "CW\n2400\n"}, dropped);
        QVERIFY(peer.listening);
        auto link = makeLink(peer.server.serverPort());
        QSignalSpy finished(link.get(), &RadioLink::tuneFinished);
        QVERIFY(link->tune("14025.0", "CW"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QCOMPARE(finished.at(0).at(0).toBool(), ok);
        QTRY_COMPARE_WITH_TIMEOUT(link->statusText(), status, kWaitMs);
        QCOMPARE(peer.connections, connections);
        if (ok)
            QCOMPARE(peer.received.mid(0, 2), QList<QByteArray>({"F 14025000\n", "M CW 0\n"}));
    }

    void nothingListens() {
        const quint16 port = freeLocalPort();
        auto link = makeLink(port);
        QSignalSpy finished(link.get(), &RadioLink::tuneFinished);
        QVERIFY(link->tune("14025.0", "CW"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QCOMPARE(link->state(), RadioLink::State::NotConnected);
        QCOMPARE(link->statusText(), QString("Radio: not connected (connection refused)"));

        QVERIFY(!link->tune("abc", "CW"));
        settings_->WriteProfileInt(u"RADIO", u"ENABLED", 0);
        QVERIFY(!link->tune("14025.0", "CW"));
        QCOMPARE(link->state(), RadioLink::State::NotConnected);
    }
};

QTEST_MAIN(RadioLinkTest)
#include "RadioLinkTest.moc"
