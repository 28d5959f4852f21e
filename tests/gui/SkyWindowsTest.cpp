// Propagation reports and band activity as the operator meets them: lines arriving from a node,
// the status field, the two Tools windows, and a click in the activity grid reaching the filter bar.
#include "activity/BandActivityFeature.h"
#include "activity/BandActivityModel.h"
#include "activity/BandActivityWindow.h"
#include "app/FeatureRoom.h"
#include "filters/FilterBar.h"
#include "filters/NamedValues.h"
#include "platform/QtText.h"
#include "propagation/PropagationFeature.h"
#include "propagation/PropagationPlot.h"
#include "propagation/PropagationWindow.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/FrameHarness.h"
#include "support/TwoCountries.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace quendra;
using testing::FrameHarness;

namespace {

void route(FrameHarness& harness, const QString& text) {
    const std::u16string chunk = text.toStdU16String();
    harness.frame.RouteTelnetText(chunk, static_cast<int>(chunk.size()));
}

}  // namespace

class SkyWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void propagationReportsReachTheStatusBarAndTheWindow() {
        FrameHarness harness;
        harness.settings.WriteProfileInt(u"PROPAGATION", u"STATUS", 1);
        QVERIFY(harness.create());
        auto* feature = harness.frame.features().find<PropagationFeature>();
        QVERIFY(feature && feature->statusField());
        route(harness, QStringLiteral("WWV de ZZ0MU <18>:   SFI=150, A=5, K"));
        QCOMPARE(feature->statusField()->text(), QStringLiteral("No propagation report yet"));
        route(harness, QStringLiteral("=2, No Storms -> No Storms\r\n"));
        QCOMPARE(feature->statusField()->text(), QStringLiteral("SFI 150 A 5 K 2 (18Z)"));
        QVERIFY(testing::terminalHolds(harness.frame.telnetTerminal(), u"WWV de ZZ0MU <18>:   SFI=150, A=5, K=2, No Storms -> No Storms"));

        harness.clock.advance(3600);
        route(harness, QStringLiteral("WCY de ZZ0WCY-1 <19> : K=3 expK=3 A=8 R=58 SFI=147 SA=qui GMF=qui Au=no\r\n"));
        QCOMPARE(feature->statusField()->text(), QStringLiteral("SFI 147 A 8 K 3 (19Z)"));
        feature->windowAction()->trigger();
        PropagationWindow* window = feature->window();
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->table()->rowCount(), 2);
        QCOMPARE(window->table()->item(0, 0)->text(), QStringLiteral("2026-12-07 13:03"));
        QCOMPARE(window->table()->item(0, 2)->text(), QStringLiteral("147"));
        QCOMPARE(window->plot()->accessibleDescription(), QStringLiteral("2 reports; the last: SFI 147, A 8, K 3"));
        // A day later the first has left the window's 24 hours.
        harness.clock.advance(23 * 3600 + 1);
        feature->windowAction()->trigger();
        QCOMPARE(window->table()->rowCount(), 1);
    }

    void theStatusFieldStaysAwayUnlessAskedFor() {
        FrameHarness harness;
        QVERIFY(harness.create());
        route(harness, QStringLiteral("WWV de ZZ0MU <18>:   SFI=150, A=5, K=2, No Storms -> No Storms\r\n"));
        QVERIFY(!harness.frame.features().find<PropagationFeature>()->statusField());
        QVERIFY(!harness.frame.findChild<QLabel*>(QStringLiteral("propagationStatus")));
    }

    void activityGridCountsAndAClickSetsTheFilterBar() {
        QTemporaryDir dir;
        const QString cty = dir.filePath(QStringLiteral("cty.dat"));
        QFile file(cty);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(testing::kTwoCountries.data(), static_cast<qint64>(testing::kTwoCountries.size()));
        file.close();
        FrameHarness harness;
        harness.settings.WriteProfileString(u"DXCC", u"CTYFILE", toU16(cty));
        QVERIFY(harness.create());
        auto* feature = harness.frame.features().find<BandActivityFeature>();
        QVERIFY(feature);
        QAbstractItemModelTester tester(&feature->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);

        route(harness, QStringLiteral("DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1203Z\r\n"));
        harness.clock.advance(16 * 60);
        route(harness, QStringLiteral("DX de ZZ1AB:     14026.0  ZZ3EF        CW 599                         1219Z\r\n"
                                      "DX de ZZ1AB:     14027.0  ZZ4GH        CW 599                         1219Z\r\n"
                                      "DX de ZZ1AB:      7010.0  ZY5IJ        CW 599                         1219Z\r\n"));
        feature->windowAction()->trigger();
        BandActivityWindow* window = feature->window();
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        const int band20 = *bandIndexFromName(u"20m");
        const int europe = BandActivity::columnOf(Continent::Europe);
        const QAbstractItemModel* grid = window->table()->model();
        QCOMPARE(grid->headerData(band20, Qt::Vertical).toString(), QStringLiteral("20m"));
        QCOMPARE(grid->headerData(europe, Qt::Horizontal).toString(), QStringLiteral("EU"));
        QCOMPARE(grid->index(band20, europe).data().toString(), QStringLiteral("2 \u25b2"));
        QCOMPARE(grid->index(band20, europe).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("20m, Europe: 2 spots in 15 minutes, up from 1"));
        QCOMPARE(grid->index(*bandIndexFromName(u"40m"), BandActivity::columnOf(Continent::NorthAmerica)).data().toString(),
                 QStringLiteral("1 \u25b2"));
        QVERIFY(grid->index(band20, europe).data(Qt::BackgroundRole).isValid());
        QVERIFY(!grid->index(band20, 0).data(Qt::BackgroundRole).isValid());

        window->hourSwitch()->setChecked(true);
        QCOMPARE(grid->index(band20, europe).data().toString(), QStringLiteral("3 \u25b2"));
        QCOMPARE(harness.settings.GetProfileInt(u"ACTIVITY", u"HOUR", 0), 1);

        QTableView* table = window->table();
        const QRect cell = table->visualRect(table->model()->index(band20, europe));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        const SpotFilter& filter = harness.frame.clusterView().filterBar().current().filter;
        QCOMPARE(filter.bands(), SpotFilter::bit(band20));
        QCOMPARE(filter.dxContinents(), SpotFilter::bit(static_cast<int>(Continent::Europe)));
        QCOMPARE(harness.listedRows(), 3);
    }
};

QTEST_MAIN(SkyWindowsTest)
#include "SkyWindowsTest.moc"
