// Tuning a real (dummy) radio from the main frame's spot list: rigctld runs Hamlib's dummy radio on
// 127.0.0.1, spots arrive as the node sends them, a row is activated, and a second plain client
// reads back what the radio was set to.
#include "app/FeatureRoom.h"
#include "radio/RadioControl.h"
#include "radio/RadioLink.h"
#include "settings/MemorySettings.h"
#include "spots/SpotListModel.h"
#include "support/FrameHarness.h"
#include "support/Rigctld.h"

#include <QFont>
#include <QLabel>
#include <QStatusBar>
#include <QtTest>

using namespace quendra;
using testing::FrameHarness;
using testing::Rigctld;
using testing::askRadio;
using testing::kRigWaitMs;

namespace {

// One a band apart, so the nearest row to each of them is never in doubt.
const QStringList kSpotLines = {
    "DX de ZZ1AB:     14025.0  ZZ9CW        CW 599                         1234Z",
    "DX de ZZ1AB:     14200.0  ZZ9SB        SSB up 5                       1235Z",
    "DX de ZZ1AB:      7150.5  ZZ7SB        ssb 59                         1236Z",
    "DX de ZZ1AB:     7001,25  ZZ7CW        cw                             1237Z",
    "DX de ZZ1AB:     21074.0  ZZ5FT        FT8 -10 dB                     1238Z",
};

void routeSpots(FrameHarness& fixture) {
    for (const QString& line : kSpotLines) {
        const std::u16string text = (line + QStringLiteral("\r\n")).toStdU16String();
        fixture.frame.RouteTelnetText(text, static_cast<int>(text.size()));
    }
}

bool isBold(const QAbstractItemModel* model, int row) {
    return model->data(model->index(row, 0), Qt::FontRole).value<QFont>().bold();
}

int boldRows(const QAbstractItemModel* model) {
    int count = 0;
    for (int row = 0; row < model->rowCount(); ++row)
        count += isBold(model, row) ? 1 : 0;
    return count;
}

}  // namespace

class RadioTuningTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!testing::rigctldInstalled())
            QSKIP("rigctld is not installed (Debian package libhamlib-utils)");
    }

    void activatedRowTunesTheRadio_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("hertz");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("status");
        QTest::newRow("cw") << 0 << false << "14025000" << "CW" << "Radio: 14,025.000 kHz CW";
        QTest::newRow("ssb on 20 m is USB") << 1 << true << "14200000" << "USB" << "Radio: 14,200.000 kHz USB";
        QTest::newRow("ssb on 40 m is LSB") << 2 << false << "7150500" << "LSB" << "Radio: 7,150.500 kHz LSB";
        QTest::newRow("decimal comma") << 3 << true << "7001250" << "CW" << "Radio: 7,001.250 kHz CW";
        QTest::newRow("ft8 on the sideband data mode") << 4 << false << "21074000" << "PKTUSB"
                                                       << "Radio: 21,074.000 kHz PKTUSB";
    }

    void activatedRowTunesTheRadio() {
        QFETCH(int, row);
        QFETCH(bool, byKey);
        QFETCH(QString, hertz);
        QFETCH(QString, mode);
        QFETCH(QString, status);
        Rigctld rig;
        QVERIFY(rig.start());
        MemorySettings settings;
        testing::pointRadioAt(settings, rig.port());
        FrameHarness fixture(settings);
        QVERIFY(fixture.startActive());
        fixture.frame.selectTab(kTabCluster);
        routeSpots(fixture);
        QTRY_COMPARE(fixture.listedRows(), kSpotLines.size());
        QTableView* list = fixture.frame.clusterView().spotList();
        const QAbstractItemModel* model = list->model();
        QCOMPARE(boldRows(model), 0);
        auto* field = fixture.frame.findChild<QLabel*>(QStringLiteral("radioStatus"));
        QVERIFY(field);
        QVERIFY(field->text().startsWith("Radio: not connected"));
        QSignalSpy finished(&fixture.frame.features().find<RadioControl>()->link(), &RadioLink::tuneFinished);

        const QModelIndex index = model->index(row, 1);
        if (byKey) {
            list->setFocus();
            list->setCurrentIndex(index);
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            emit list->activated(index);
        }
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kRigWaitMs);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        const QStringList radio = askRadio(rig.port());
        QCOMPARE(radio.value(0), hertz);
        QCOMPARE(radio.value(1), mode);

        QTRY_COMPARE_WITH_TIMEOUT(field->text(), status, kRigWaitMs);
        QCOMPARE(fixture.frame.statusBar()->findChildren<QLabel*>(QStringLiteral("radioStatus")).size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(isBold(model, row), kRigWaitMs);
        QCOMPARE(boldRows(model), 1);

        // Turned at the radio: the mark follows to the row nearest the new frequency.
        const int other = (row + 1) % static_cast<int>(kSpotLines.size());
        const int otherIndex = fixture.frame.clusterView().model().storeIndexAt(other);
        const qint64 otherHertz = qRound64(fixture.frame.spotStore().frequencyKHzAt(otherIndex) * 1000.0) + 300;
        QTcpSocket knob;
        knob.connectToHost(QHostAddress::LocalHost, rig.port());
        QVERIFY(knob.waitForConnected(kRigWaitMs));
        knob.write(QByteArray("F ") + QByteArray::number(otherHertz) + "\n");
        QTRY_VERIFY_WITH_TIMEOUT(isBold(model, other), kRigWaitMs);
        QCOMPARE(boldRows(model), 1);
    }

    // The row menu's entry tunes the current row; it is the only thing added to the row's menu.
    void rowMenuTunes() {
        Rigctld rig;
        QVERIFY(rig.start());
        MemorySettings settings;
        testing::pointRadioAt(settings, rig.port());
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        routeSpots(fixture);
        QTRY_COMPARE(fixture.listedRows(), kSpotLines.size());
        QTableView* list = fixture.frame.clusterView().spotList();
        list->setCurrentIndex(list->model()->index(1, 0));
        QSignalSpy finished(&fixture.frame.features().find<RadioControl>()->link(), &RadioLink::tuneFinished);
        QAction* tune = fixture.frame.features().find<RadioControl>()->tuneAction();
        QVERIFY(tune->isEnabled());
        tune->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kRigWaitMs);
        QCOMPARE(askRadio(rig.port()).mid(0, 2), QStringList({"14200000", "USB"}));
    }
};

QTEST_MAIN(RadioTuningTest)
#include "RadioTuningTest.moc"
