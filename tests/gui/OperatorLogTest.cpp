// The operator's log in the running window: a real ADIF file in a temporary folder, read at start
// and followed by the real watcher while spots are listed, shown in the Status column, the row's
// colour and spoken text, the "Needed only" filter and the watch word "needed".
#include "alerts/AlertCenter.h"
#include "alerts/AlertsFeature.h"
#include "app/FeatureRoom.h"
#include "log/LogFeature.h"
#include "spots/SpotListModel.h"
#include "support/FrameHarness.h"
#include "support/TwoCountries.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace quendra;
using testing::FrameHarness;

namespace {

// The same two made-up entities as the country file, with their entity numbers.
constexpr const char* kEntityCsv =
    "ZZ,Zedland,901,EU,14,28,51.00,-10.00,-1.0,ZZ;\n"
    "ZY,Ypsiland,902,NA,5,8,37.60,91.87,5.0,ZY;\n";

// As a logger exports it: a header, then a record with text and line ends between its fields.
constexpr const char* kOneQso =
    "Exported by hand\r\n<ADIF_VER:5>3.1.4 <eoh>\r\n"
    "<CALL:6>ZY1AAA <QSO_DATE:8:D>20261201 <BAND:3>40m <MODE:2>CW <EOR>\r\n";

bool writeFile(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly) {
    QFile file(path);
    return file.open(mode) && file.write(bytes) == bytes.size();
}

void routeSpot(FrameHarness& fixture, const char* kHz, const char* station) {
    const QString line = QStringLiteral("DX de ZZ9XX:     %1  %2        CW 599                         1234Z\r\n")
                             .arg(QLatin1String(kHz), QString::fromLatin1(station).leftJustified(12));
    const std::u16string text = line.toStdU16String();
    fixture.frame.RouteTelnetText(text, static_cast<int>(text.size()));
}

QAccessibleTableInterface* tableOf(QTableView* list) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list);
    return accessible ? accessible->tableInterface() : nullptr;
}

// A folder with the country files and a log, and a window set up to read them.
struct LoggedWindow {
    QTemporaryDir folder;
    QString logPath = folder.filePath(QStringLiteral("log.adi"));
    std::unique_ptr<FrameHarness> fixture = std::make_unique<FrameHarness>();
    LogFeature* log = nullptr;

    explicit LoggedWindow(const QByteArray& logText, bool writeLog = true) {
        writeFile(folder.filePath(QStringLiteral("cty.dat")), QByteArray(quendra::testing::kTwoCountries.data()));
        writeFile(folder.filePath(QStringLiteral("cty.csv")), kEntityCsv);
        if (writeLog)
            writeFile(logPath, logText);
        Settings& settings = fixture->settings;
        settings.WriteProfileString(u"DXCC", u"CTYFILE", folder.filePath(QStringLiteral("cty.dat")).toStdU16String());
        settings.WriteProfileString(u"LOG", u"ADIF", logPath.toStdU16String());
    }
    bool start() {
        if (!fixture->startShown())
            return false;
        fixture->frame.selectTab(kTabCluster);
        log = fixture->frame.features().find<LogFeature>();
        return log && log->active() && QTest::qWaitFor([this] { return !log->loading(); }, 5000);
    }
    QTableView* list() const { return fixture->frame.clusterView().spotList(); }
    QString cell(int row, int column) const {
        return list()->model()->index(row, column).data().toString();
    }
    QString status(int row) const { return cell(row, log->statusColumn()); }
    QString field() const { return log->statusField()->text(); }
};

}  // namespace

class OperatorLogTest : public QObject {
    Q_OBJECT

private slots:
    // With no log named, the window is the one it always was: no column, field or filter, no
    // status bar made, and the feature lends nothing.
    void withoutALogNothingChanges() {
        FrameHarness fixture;
        QVERIFY(fixture.startShown());
        auto* feature = fixture.frame.features().find<LogFeature>();
        QVERIFY(feature);
        QVERIFY(!feature->active());
        QCOMPARE(fixture.frame.clusterView().model().columnCount(), SpotListModel::kAllColumns);
        QCOMPARE(fixture.frame.findChild<QStatusBar*>(), nullptr);
        QCOMPARE(fixture.frame.findChild<QCheckBox*>(QStringLiteral("neededOnly")), nullptr);
        routeSpot(fixture, "14025.0", "ZZ1AB");
        QTRY_COMPARE(fixture.listedRows(), 1);
        const QModelIndex first = fixture.frame.clusterView().model().index(0, 0);
        QVERIFY(!first.data(Qt::BackgroundRole).isValid());
        QCOMPARE(tableOf(fixture.frame.clusterView().spotList())->cellAt(0, 0)->text(QAccessible::Name),
                 QStringLiteral("ZZ1AB"));
    }

    // The test an operator makes: spots listed, a QSO logged, the row no longer new.
    void aQsoAppendedWhileRunningTurnsNewDxccIntoWorked() {
        LoggedWindow window(kOneQso);
        QVERIFY(window.start());
        QCOMPARE(window.field(), QStringLiteral("Log: 1 QSO, 1 entity"));
        window.fixture->frame.clusterView().setOptionalSectionShown(window.log->statusColumn(), true);
        routeSpot(*window.fixture, "14025.0", "ZZ1AB");
        routeSpot(*window.fixture, "14026.0", "ZY1AAA");
        routeSpot(*window.fixture, "7025.0", "ZY1AAA");
        routeSpot(*window.fixture, "7026.0", "ZY2BB");
        QTRY_COMPARE(window.fixture->listedRows(), 4);
        QCOMPARE(window.status(0), QStringLiteral("New DXCC"));
        QCOMPARE(window.status(1), QStringLiteral("New band"));
        QCOMPARE(window.status(2), QStringLiteral("Worked"));
        QCOMPARE(window.status(3), QString());  // the entity has the slot; the call is not in the log
        QCOMPARE(window.list()->model()->index(0, 2).data(Qt::BackgroundRole).value<QColor>(),
                 LogFeature::colourOf(NeedStatus::NewDxcc));
        QVERIFY(window.list()->model()->index(0, 0).data(Qt::ToolTipRole).toString().contains(
            QStringLiteral("Log: New DXCC")));

        QVERIFY(writeFile(window.logPath, "<CALL:5>ZZ1AB <BAND:3>20m <MODE:2>CW <EOR>\n", QIODevice::Append));
        QTRY_COMPARE_WITH_TIMEOUT(window.status(0), QStringLiteral("Worked"), 2000);
        QCOMPARE(window.status(1), QStringLiteral("New band"));
        QCOMPARE(window.list()->model()->index(0, 2).data(Qt::BackgroundRole).value<QColor>(),
                 LogFeature::colourOf(NeedStatus::Worked));
        QCOMPARE(window.field(), QStringLiteral("Log: 2 QSOs, 2 entities"));

        // A QSO another program reports counts at once.
        auto* sink = dynamic_cast<QsoSink*>(window.log);
        sink->addQso("<call:6>zy1aaa<band:3>20M<mode:2>cw<eor>");
        QCOMPARE(window.status(1), QStringLiteral("Worked"));

        // The file replaced by a shorter one: read again from its start (the reported QSO stays).
        QVERIFY(writeFile(window.logPath, "<CALL:4>ZX1A<BAND:3>20m<MODE:3>FT8<EOR>"));
        QTRY_COMPARE_WITH_TIMEOUT(window.status(0), QStringLiteral("New DXCC"), 3000);
        QCOMPARE(window.status(1), QStringLiteral("Worked"));
        QCOMPARE(window.status(2), QStringLiteral("New band"));
    }

    // A screen reader hears the status with the row's first cell while the column is hidden, and
    // in the column's own cell once it is shown.
    void theStatusIsSpokenWithTheRow() {
        LoggedWindow window(kOneQso);
        QVERIFY(window.start());
        routeSpot(*window.fixture, "14025.0", "ZZ1AB");
        QTRY_COMPARE(window.fixture->listedRows(), 1);
        QAccessibleTableInterface* table = tableOf(window.list());
        QVERIFY(table);
        QCOMPARE(table->columnCount(), 6);
        QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("ZZ1AB, New DXCC"));
        QCOMPARE(table->cellAt(0, 1)->text(QAccessible::Name), QStringLiteral("14025.0"));
        window.fixture->frame.clusterView().setOptionalSectionShown(window.log->statusColumn(), true);
        QCOMPARE(table->columnCount(), 7);
        QCOMPARE(table->columnDescription(6), QStringLiteral("Status"));
        QCOMPARE(table->cellAt(0, 6)->text(QAccessible::Name), QStringLiteral("New DXCC"));
        QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("ZZ1AB"));
    }

    // "Needed only" keeps the four "New" statuses and lets a row go once the log has it.
    void neededOnlyFollowsTheLog() {
        LoggedWindow window(kOneQso);
        QVERIFY(window.start());
        routeSpot(*window.fixture, "14025.0", "ZZ1AB");
        routeSpot(*window.fixture, "7025.0", "ZY1AAA");
        routeSpot(*window.fixture, "14026.0", "ZY1AAA");
        QTRY_COMPARE(window.fixture->listedRows(), 3);
        QCheckBox* box = window.log->neededOnlyBox();
        box->setChecked(true);
        QCOMPARE(window.fixture->listedRows(), 2);
        QCOMPARE(window.fixture->settings.GetProfileInt(u"LOG", u"NEEDED_ONLY", 0), 1);
        QVERIFY(writeFile(window.logPath, "<CALL:5>ZZ1AB<BAND:3>20m<MODE:2>CW<EOR>\n", QIODevice::Append));
        QTRY_COMPARE_WITH_TIMEOUT(window.fixture->listedRows(), 1, 2000);
        QCOMPARE(window.cell(0, SpotListModel::Station), QStringLiteral("ZY1AAA"));
        box->setChecked(false);
        QCOMPARE(window.fixture->listedRows(), 3);
    }

    // Damaged records are skipped and counted; the others still count.
    void aDamagedFileKeepsItsGoodRecords() {
        LoggedWindow window("<CALL:5>ZZ1AB<BAND:3>20m<MODE:2>CW<EOR>\n"
                            "<CALL:9>ZY1<BAND:3>20m<EOR>\n"          // the length runs into the next tag
                            "<CALL:5>ZZ1AB<BAND 20m<EOR>\n"          // a tag that is no tag
                            "<CALL:4>ZY1A<BAND:3>40m<MODE:3>SSB<EOR>\n"
                            "<CALL:4>ZY2A<BAND:2>6m<MODE:3>FT8");    // the last without <EOR>
        QVERIFY(window.start());
        QCOMPARE(window.field(), QStringLiteral("Log: 3 QSOs, 2 entities, 2 damaged records skipped"));
        // A damaged record appended later counts at once, and the next good one still reads.
        QVERIFY(writeFile(window.logPath, "\n<CALL:3>ZZ1<BAND:9>20m<EOR>\n<CALL:4>ZZ1B<BAND:3>20m<MODE:2>CW<EOR>\n",
                          QIODevice::Append));
        QTRY_COMPARE_WITH_TIMEOUT(window.field(), QStringLiteral("Log: 4 QSOs, 2 entities, 3 damaged records skipped"),
                                  2000);
    }

    // A log that is not there says so, and is read as soon as it appears.
    void aMissingFileIsReadOnceItAppears() {
        LoggedWindow window({}, false);
        QVERIFY(window.start());
        QVERIFY2(window.field().startsWith(QStringLiteral("Log: cannot read ") + window.logPath), qPrintable(window.field()));
        QVERIFY2(window.field().contains(QStringLiteral("No such file")), qPrintable(window.field()));
        routeSpot(*window.fixture, "14025.0", "ZZ1AB");
        QTRY_COMPARE(window.fixture->listedRows(), 1);
        QCOMPARE(window.status(0), QString());
        QVERIFY(writeFile(window.logPath, kOneQso));
        QTRY_COMPARE_WITH_TIMEOUT(window.status(0), QStringLiteral("New DXCC"), 3000);
        QCOMPARE(window.field(), QStringLiteral("Log: 1 QSO, 1 entity"));
    }

    // The watch word "needed" alerts for a needed spot and names its status.
    void theWatchWordNeededAlertsWithTheStatus() {
        LoggedWindow window(kOneQso);
        window.fixture->settings.WriteProfileString(u"ALERTS", u"WATCH0", u"needed");
        window.fixture->settings.WriteProfileInt(u"ALERTS", u"NOTIFY", 0);
        QVERIFY(window.start());
        auto* alerts = window.fixture->frame.features().find<AlertsFeature>();
        QVERIFY(alerts);
        QSignalSpy alerted(&alerts->alerts(), &AlertCenter::alerted);
        routeSpot(*window.fixture, "7025.0", "ZY1AAA");  // worked: no alert
        routeSpot(*window.fixture, "14025.0", "ZZ1AB");
        QTRY_COMPARE(window.fixture->listedRows(), 2);
        QCOMPARE(alerted.count(), 1);
        QCOMPARE(alerted.first().at(0).toString(), QStringLiteral("ZZ1AB on 20m"));
        QVERIFY2(alerted.first().at(1).toString().startsWith(QStringLiteral("New DXCC: 14025.0 kHz")),
                 qPrintable(alerted.first().at(1).toString()));
    }
};

QTEST_MAIN(OperatorLogTest)
#include "OperatorLogTest.moc"
