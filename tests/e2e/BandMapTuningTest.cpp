// The band map with a real (dummy) radio: rigctld runs Hamlib's dummy radio on 127.0.0.1. A double
// click on a call tunes the radio to that spot; from then on the map shows the band the radio is
// on and its frequency, and follows it when it is turned elsewhere.
#include "app/FeatureRoom.h"
#include "bandmap/BandMapCanvas.h"
#include "bandmap/BandMapFeature.h"
#include "radio/RadioControl.h"
#include "radio/RadioLink.h"
#include "support/FrameHarness.h"
#include "support/Rigctld.h"

#include <QComboBox>
#include <QtTest>

using namespace quendra;
using testing::FrameHarness;
using testing::Rigctld;
using testing::askRadio;
using testing::kRigWaitMs;

namespace {

bool turnKnob(quint16 port, qint64 hertz) {
    QTcpSocket knob;
    knob.connectToHost(QHostAddress::LocalHost, port);
    if (!knob.waitForConnected(kRigWaitMs))
        return false;
    knob.write(QByteArray("F ") + QByteArray::number(hertz) + "\nq\n");
    return knob.waitForBytesWritten(kRigWaitMs) && QTest::qWaitFor([&] {
        return knob.state() == QAbstractSocket::UnconnectedState;
    }, kRigWaitMs);
}

}  // namespace

class BandMapTuningTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!testing::rigctldInstalled())
            QSKIP("rigctld is not installed (Debian package libhamlib-utils)");
    }

    void doubleClickTunesTheRadioAndTheMapFollowsIt() {
        Rigctld rig;
        QVERIFY(rig.start());
        MemorySettings settings;
        testing::pointRadioAt(settings, rig.port());
        settings.WriteProfileInt(u"BANDMAP", u"SHOWN", 1);
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        auto* feature = fixture.frame.features().find<BandMapFeature>();
        BandMapCanvas* canvas = feature->canvas();
        QVERIFY(canvas && canvas->isVisible());
        for (const char* line : {"DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z",
                                 "DX de ZZ1AB:     14210.0  ZZ3SB        SSB 59                         1235Z",
                                 "DX de ZZ1AB:      7010.0  ZZ7CW        CW                             1236Z"}) {
            const std::u16string text = QString::fromLatin1(QByteArray(line) + "\r\n").toStdU16String();
            fixture.frame.RouteTelnetText(text, static_cast<int>(text.size()));
        }
        // No radio read yet: the map's own band.
        QTRY_COMPARE(canvas->spots().size(), 2);
        QCOMPARE(canvas->radioKHz(), 0.0);
        QVERIFY(feature->bandSelector()->isEnabled());

        QSignalSpy finished(&fixture.frame.features().find<RadioControl>()->link(), &RadioLink::tuneFinished);
        QTest::mouseDClick(canvas, Qt::LeftButton, {}, canvas->spotRect(0).center());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kRigWaitMs);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QCOMPARE(askRadio(rig.port()).mid(0, 2), QStringList({"14025000", "CW"}));
        QTRY_COMPARE_WITH_TIMEOUT(canvas->radioKHz(), 14025.0, kRigWaitMs);
        // The radio decides the band now; the selector only shows it.
        QVERIFY(!feature->bandSelector()->isEnabled());

        // Turned to 40 m at the radio: the map goes with it and marks the new frequency.
        QVERIFY(turnKnob(rig.port(), 7030000));
        QTRY_COMPARE_WITH_TIMEOUT(canvas->band().low, 7000.0, kRigWaitMs);
        QCOMPARE(feature->bandSelector()->currentText(), QStringLiteral("40m"));
        QTRY_COMPARE(canvas->spots().size(), 1);
        QCOMPARE(canvas->spots().textOf(canvas->spots().spots()[0]), QStringLiteral("7,010.0 ZZ7CW CW"));
        QTRY_COMPARE_WITH_TIMEOUT(canvas->radioKHz(), 7030.0, kRigWaitMs);
        QVERIFY(canvas->bandWindow().shows(7030.0));
    }
};

QTEST_MAIN(BandMapTuningTest)
#include "BandMapTuningTest.moc"
