// The band map in the real main frame under the offscreen platform: shown from the Tools menu,
// drawn from the list's rows as spots arrive, age out and are filtered, a click selecting the
// row, the keyboard moving between spots, and the list a screen reader reads.
#include "app/FeatureRoom.h"
#include "bandmap/BandMapCanvas.h"
#include "bandmap/BandMapFeature.h"
#include "spots/ListColumn.h"
#include "spots/SpotListModel.h"
#include "support/FrameHarness.h"

#include <QAccessible>
#include <QComboBox>
#include <QDockWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace quendra;
using testing::FrameHarness;

namespace {

void route(FrameHarness& fixture, const QStringList& lines) {
    for (const QString& line : lines) {
        const std::u16string text = (line + QStringLiteral("\r\n")).toStdU16String();
        fixture.frame.RouteTelnetText(text, static_cast<int>(text.size()));
    }
}

const QStringList kSpots = {
    "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z",
    "DX de ZZ1AB:     14200.0  ZZ3SB        SSB 59                         1235Z",
    "DX de ZZ1AB:      7010.0  ZZ7CW        CW                             1236Z",
    "DX de ZZ1AB:     14025.1  ZZ4XY        CW 579                         1237Z",
};

QStringList itemTexts(BandMapCanvas* canvas) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(canvas);
    QStringList texts;
    for (int i = 0; list && i < list->childCount(); ++i)
        texts << list->child(i)->text(QAccessible::Name);
    return texts;
}

// How many pixels of a spot's call differ from the pane's background: its text is drawn there.
int inkIn(BandMapCanvas* canvas, const QRect& box) {
    const QImage image = canvas->grab(box).toImage();
    const QRgb base = canvas->palette().base().color().rgb();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != base ? 1 : 0;
    return ink;
}

class StatusColumn : public ListColumn {
public:
    QString title() const override { return QStringLiteral("Status"); }
    QVariant text(int storeIndex) const override { return storeIndex % 2 == 0 ? QStringLiteral("New DXCC") : QString(); }
};

struct ShownMap {
    BandMapFeature* feature;
    BandMapCanvas* canvas;
};

ShownMap showMap(FrameHarness& fixture, const QString& band = QStringLiteral("20m")) {
    auto* feature = fixture.frame.features().find<BandMapFeature>();
    feature->showAction()->trigger();
    QComboBox* selector = feature->bandSelector();
    selector->setCurrentIndex(selector->findText(band));
    emit selector->activated(selector->currentIndex());
    return {feature, feature->canvas()};
}

}  // namespace

class BandMapTest : public QObject {
    Q_OBJECT

private slots:
    void hiddenUntilAskedFor() {
        FrameHarness fixture;
        QVERIFY(fixture.startShown());
        auto* feature = fixture.frame.features().find<BandMapFeature>();
        QVERIFY(feature);
        QCOMPARE(feature->showAction()->text(), QStringLiteral("&Band map"));
        QCOMPARE(feature->showAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
        QVERIFY(!feature->showAction()->isChecked());
        QVERIFY(!feature->dock());
        QVERIFY(fixture.frame.findChildren<QDockWidget*>().isEmpty());
        route(fixture, kSpots);
        QCOMPARE(fixture.settings.GetProfileInt(u"BANDMAP", u"SHOWN", -1), -1);

        feature->showAction()->trigger();
        QVERIFY(feature->dock()->isVisible());
        QCOMPARE(fixture.frame.dockWidgetArea(feature->dock()), Qt::RightDockWidgetArea);
        QCOMPARE(fixture.settings.GetProfileInt(u"BANDMAP", u"SHOWN", -1), 1);
        QCOMPARE(feature->bandSelector()->currentText(), QStringLiteral("20m"));
        QTRY_COMPARE(feature->canvas()->spots().size(), 3);

        // Closed with the dock's own button: the menu entry and the setting follow.
        feature->dock()->close();
        QVERIFY(!feature->showAction()->isChecked());
        QCOMPARE(fixture.settings.GetProfileInt(u"BANDMAP", u"SHOWN", -1), 0);
        // Hidden, it only notes what changed, and reads the list again when shown.
        route(fixture, {"DX de ZZ1AB:     14100.0  ZZ5NEW       CW                             1238Z"});
        QTRY_COMPARE(fixture.listedRows(), 5);
        QVERIFY(feature->canvas()->stale());
        QCOMPARE(feature->canvas()->spots().size(), 3);
        feature->showAction()->trigger();
        QCOMPARE(feature->canvas()->spots().size(), 4);
    }

    // The shown state, the band and the pane's place come back at the next start.
    void keptForTheNextStart() {
        MemorySettings settings;
        {
            FrameHarness fixture(settings);
            QVERIFY(fixture.startShown());
            ShownMap map = showMap(fixture, QStringLiteral("40m"));
            map.feature->dock()->setFloating(true);
            map.feature->dock()->setGeometry(100, 120, 260, 400);
        }
        QCOMPARE(settings.GetProfileString(u"BANDMAP", u"BAND"), std::u16string(u"40m"));
        QCOMPARE(settings.GetProfileInt(u"BANDMAP", u"FLOATING", -1), 1);
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        auto* feature = fixture.frame.features().find<BandMapFeature>();
        QVERIFY(feature->dock() && feature->dock()->isVisible());
        QVERIFY(feature->dock()->isFloating());
        QCOMPARE(feature->dock()->size(), QSize(260, 400));
        QCOMPARE(feature->bandSelector()->currentText(), QStringLiteral("40m"));
        QCOMPARE(feature->canvas()->band().low, 7000.0);
    }

    void drawsTheListedSpotsOfItsBand() {
        FrameHarness fixture;
        QVERIFY(fixture.startShown());
        ShownMap map = showMap(fixture);
        route(fixture, kSpots);
        QTRY_COMPARE(map.canvas->spots().size(), 3);
        QCOMPARE(itemTexts(map.canvas),
                 QStringList({"14,025.0 ZZ2CD CW", "14,025.1 ZZ4XY CW", "14,200.0 ZZ3SB SSB"}));
        // Two calls 100 Hz apart stay readable: apart, in frequency order, both drawn.
        const QRect first = map.canvas->spotRect(0), second = map.canvas->spotRect(1);
        QVERIFY(first.bottom() < second.top());
        QVERIFY(inkIn(map.canvas, first) > 20);
        QVERIFY(inkIn(map.canvas, second) > 20);

        // A filter of the list hides the spot from the map too.
        QTreeWidget* tree = fixture.frame.clusterView().bandTree();
        const auto vhf = tree->findItems(QStringLiteral("VHF"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(vhf.size(), 1);
        tree->setCurrentItem(vhf.first());
        QTRY_COMPARE(map.canvas->spots().size(), 0);
        QCOMPARE(inkIn(map.canvas, first), 0);
        const auto all = tree->findItems(QStringLiteral("All"), Qt::MatchExactly | Qt::MatchRecursive);
        tree->setCurrentItem(all.first());
        QTRY_COMPARE(map.canvas->spots().size(), 3);

        // Past their lifetime the spots age out when the next one comes, and leave the map.
        fixture.clock.advance(1801);
        route(fixture, {"DX de ZZ1AB:     14250.0  ZZ6LAST      SSB                            1300Z"});
        QTRY_COMPARE(itemTexts(map.canvas), QStringList({"14,250.0 ZZ6LAST SSB"}));
        QCOMPARE(inkIn(map.canvas, first), 0);
        QVERIFY(inkIn(map.canvas, map.canvas->spotRect(0)) > 20);
    }

    void clickSelectsTheRowAndKeysMoveBetweenSpots() {
        FrameHarness fixture;
        QVERIFY(fixture.startActive());
        ShownMap map = showMap(fixture);
        route(fixture, kSpots);
        QTRY_COMPARE(map.canvas->spots().size(), 3);
        const QTableView* list = fixture.frame.clusterView().spotList();
        const SpotListModel& model = fixture.frame.clusterView().model();

        QTest::mouseClick(map.canvas, Qt::LeftButton, {}, map.canvas->spotRect(2).center());
        QCOMPARE(map.canvas->currentPosition(), 2);
        QCOMPARE(list->currentIndex().row(), 1);  // ZZ3SB came second
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);

        map.canvas->setFocus();
        QSignalSpy activated(&fixture.frame.clusterView(), &ViewDxClusterFrame::spotActivated);
        QTest::keyClick(map.canvas, Qt::Key_Up);
        QCOMPARE(map.canvas->currentPosition(), 1);
        QCOMPARE(list->currentIndex().row(), 3);  // ZZ4XY
        QAccessibleInterface* items = QAccessible::queryAccessibleInterface(map.canvas);
        QCOMPARE(items->role(), QAccessible::List);
        QCOMPARE(items->text(QAccessible::Name), QStringLiteral("Band map"));
        QVERIFY(items->focusChild());
        QCOMPARE(items->focusChild()->text(QAccessible::Name), QStringLiteral("14,025.1 ZZ4XY CW"));
        QVERIFY(items->child(1)->state().selected);
        QVERIFY(!items->child(0)->state().selected);
        QTest::keyClick(map.canvas, Qt::Key_Return);
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), model.storeIndexAt(3));
        // Pressing an item acts as Enter does.
        items->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(activated.size(), 2);
        QCOMPARE(activated.at(1).at(0).toInt(), model.storeIndexAt(0));
    }

    // The list's own colouring and its Status column reach the map.
    void followsTheListsColoursAndStatus() {
        FrameHarness fixture;
        QVERIFY(fixture.startShown());
        StatusColumn status;
        fixture.frame.clusterView().addOptionalColumn(status);
        fixture.frame.clusterView().model().setAlertTest([](int storeIndex) { return storeIndex == 1; });
        ShownMap map = showMap(fixture);
        route(fixture, kSpots);
        QTRY_COMPARE(map.canvas->spots().size(), 3);
        QCOMPARE(itemTexts(map.canvas),
                 QStringList({"14,025.0 ZZ2CD CW New DXCC", "14,025.1 ZZ4XY CW", "14,200.0 ZZ3SB SSB"}));
        const QImage image = map.canvas->grab(map.canvas->spotRect(2)).toImage();
        QVERIFY(image.pixelColor(1, 1) != map.canvas->palette().base().color());
        const BandMapSpot& amber = map.canvas->spots().spots()[2];
        QCOMPARE(amber.call.text(), QStringLiteral("ZZ3SB"));
        QVERIFY(amber.background.isValid());
        QVERIFY(!map.canvas->spots().spots()[0].background.isValid());
    }

    // More calls than the pane has room for: the newest are drawn, none overlapping, and zooming
    // in gives the others room.
    void crowdedBandKeepsCallsReadable() {
        FrameHarness fixture;
        QVERIFY(fixture.startShown());
        ShownMap map = showMap(fixture);
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("DX de ZZ1AB:     %1  ZZ%2AA        CW                             1234Z")
                         .arg(14000.0 + i * 0.5, 0, 'f', 1)
                         .arg(i);
        route(fixture, lines);
        QTRY_COMPARE(map.canvas->spots().size(), 200);
        QVERIFY(map.canvas->unplacedCount() > 0);
        int previousBottom = -1;
        for (int i = 0; i < 200; ++i) {
            if (map.canvas->spots().spots()[i].labelY < 0)
                continue;
            const QRect box = map.canvas->spotRect(i);
            QVERIFY(box.top() > previousBottom);
            previousBottom = box.bottom();
        }
        QVERIFY(map.canvas->spots().spots()[199].labelY >= 0);  // the newest
        const int before = map.canvas->unplacedCount();
        QWheelEvent zoomIn(QPointF(100, 20), map.canvas->mapToGlobal(QPointF(100, 20)), {}, QPoint(0, 480),
                           Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(map.canvas, &zoomIn);
        QVERIFY(map.canvas->bandWindow().span() < 350);
        QVERIFY(map.canvas->unplacedCount() < before);
    }
};

QTEST_MAIN(BandMapTest)
#include "BandMapTest.moc"
