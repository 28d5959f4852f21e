#include "settings/MemorySettings.h"
#include "spots/ColumnOrder.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/SpotTableView.h"
#include "spots/SteadyScrollBar.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/ManualClock.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using quendra::MemorySettings;
using quendra::SpotStore;
using quendra::ViewDxClusterFrame;
using quendra::testing::ManualClock;

namespace {

constexpr std::u16string_view kFrame = u"SETTINGS\\CLUSTERFRAME";
constexpr std::u16string_view kList = u"DXCLUSTER_1";

QTreeWidgetItem* bandItem(ViewDxClusterFrame& view, const QString& name) {
    const auto found = view.bandTree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QStringList listedStations(const ViewDxClusterFrame& view) {
    QStringList stations;
    const QAbstractItemModel* model = view.spotList()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        stations << model->index(row, 0).data().toString();
    return stations;
}

QList<int> visualOrder(const ViewDxClusterFrame& view) {
    QList<int> order;
    const QHeaderView* header = view.spotList()->horizontalHeader();
    for (int position = 0; position < header->count(); ++position) {
        if (!header->isSectionHidden(header->logicalIndex(position)))
            order << header->logicalIndex(position);
    }
    return order;
}

std::vector<std::uint8_t> orderBytes(const std::vector<int>& order) {
    return quendra::encodeColumnOrder(order);
}

// What the screen shows of a widget, and what drawing it afresh gives.
QImage shownOnScreen(QWidget* widget) {
    const QPoint at = widget->mapTo(widget->window(), QPoint(0, 0));
    return widget->screen()
        ->grabWindow(widget->window()->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage freshDrawing(QWidget* widget) { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace

class ClusterViewTest : public QObject {
    Q_OBJECT

    struct Fixture {
        MemorySettings settings;
        ManualClock clock;
        SpotStore store{settings, clock};
        std::unique_ptr<ViewDxClusterFrame> view;

        explicit Fixture(bool openNow = true) {
            if (openNow)
                open();
        }
        void open() {
            view = std::make_unique<ViewDxClusterFrame>(settings);
            view->setSpotStore(&store);
            view->refillList();
        }
        void closeAndReopen() {
            view.reset();
            open();
        }
        // Stores a spot as the routing does, then hands it to the view.
        int spot(const QString& station, const QString& frequency) {
            const QString text = QStringLiteral("1234Z DX de AB1CD: %1 %2 test").arg(frequency, station);
            const int index = store.parseTimedSpot(text.toStdU16String(), u"NODE");
            if (index >= 0)
                view->addSpot(index);
            return index;
        }
        // Spots of stations never seen before, a row each.
        void spotNewStations(int count) {
            for (int i = 0; i < count; ++i, ++nextStation)
                spot(QStringLiteral("S%1").arg(nextStation), QStringLiteral("%1").arg(14000 + nextStation));
        }
        int nextStation = 0;
        void select(const QString& band) { view->bandTree()->setCurrentItem(bandItem(*view, band)); }
    };

private slots:
    void startsWithCollapsedBandTreeAndEmptyList() {
        Fixture f;
        QTreeWidget* tree = f.view->bandTree();
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* all = tree->topLevelItem(0);
        QCOMPARE(all->text(0), QStringLiteral("All"));
        QVERIFY(!all->isExpanded());
        QCOMPARE(all->childCount(), 3);
        QCOMPARE(all->child(0)->text(0), QStringLiteral("HF"));
        QCOMPARE(all->child(1)->text(0), QStringLiteral("VHF"));
        QCOMPARE(all->child(2)->text(0), QStringLiteral("UHF"));
        QVERIFY(tree->selectedItems().isEmpty());
        QCOMPARE(f.view->currentRange().high, quendra::kBandAll.high);
        QCOMPARE(f.view->spotList()->model()->rowCount(), 0);

        const QAbstractItemModel* model = f.view->spotList()->model();
        const QStringList titles{"Station", "Frequency", "Info", "GMT", "Author", "DX-Node"};
        for (int column = 0; column < titles.size(); ++column)
            QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), titles[column]);
        const auto right = QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole), right);
        QCOMPARE(f.view->splitter()->widget(0), static_cast<QWidget*>(tree));
        QCOMPARE(f.view->splitter()->widget(1), static_cast<QWidget*>(f.view->spotList()));
    }

    void listsOnlyTheSelectedBandInArrivalOrder_data() {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QStringList>("stations");
        const QStringList all{"A0", "V1", "H2", "U3", "V4", "X5", "V6", "M7", "X8"};
        QTest::newRow("nothing selected") << "" << all;
        QTest::newRow("All") << "All" << all;
        QTest::newRow("HF") << "HF" << QStringList{"A0", "H2", "M7"};
        QTest::newRow("VHF") << "VHF" << QStringList{"V1", "V4", "V6"};
        QTest::newRow("UHF") << "UHF" << QStringList{"U3"};
    }
    void listsOnlyTheSelectedBandInArrivalOrder() {
        QFETCH(QString, band);
        QFETCH(QStringList, stations);
        Fixture f;
        f.spot("A0", "30000");     // upper bound of HF
        f.spot("V1", "50000");     // lower bound of VHF
        f.spot("H2", "7025,5");
        f.spot("U3", "432100");
        f.spot("V4", "144300");
        f.spot("X5", "35000");     // between bands
        f.spot("V6", "146000");    // upper bound of VHF
        f.spot("M7", "144.300");   // written in MHz: reads as HF
        f.spot("X8", "146000.1");
        if (!band.isEmpty())
            f.select(band);
        // New rows reach the list at its next refresh.
        QTRY_COMPARE(listedStations(*f.view), stations);
    }

    void spotOutsideSelectedBandIsStoredNotListed() {
        Fixture f;
        f.spot("V1", "50100");
        f.select("VHF");
        QSignalSpy resets(f.view->spotList()->model(), &QAbstractItemModel::modelReset);
        QCOMPARE(f.spot("H1", "14025"), 1);
        QCOMPARE(f.spot("V2", "144300"), 2);
        QTRY_COMPARE(listedStations(*f.view), (QStringList{"V1", "V2"}));
        QCOMPARE(resets.count(), 0);  // appended, not refilled
        const QModelIndex frequency = f.view->spotList()->model()->index(1, 1);
        QCOMPARE(frequency.data().toString(), QStringLiteral("144300"));
        QCOMPARE(frequency.data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        f.select("All");
        QCOMPARE(listedStations(*f.view), (QStringList{"V1", "H1", "V2"}));
    }

    void aNewRowIsScrolledIntoView() {
        Fixture f;
        f.view->resize(500, 150);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        for (int i = 0; i < 60; ++i)
            f.spot(QStringLiteral("S%1").arg(i), QStringLiteral("%1").arg(14000 + i));
        // The list follows a burst of spots once the event loop runs, not after every row.
        QTableView* list = f.view->spotList();
        QTRY_VERIFY(list->viewport()->rect().contains(list->visualRect(list->model()->index(59, 0))));
    }

    // A refresh that drew only the rows it added and let the scroll move the rest left rows drawn
    // over each other: what is on the screen must be what a fresh drawing of the list gives,
    // burst after burst, before and after the list fills its height.
    void theScreenShowsWhatAFreshDrawingShows() {
        Fixture f;
        f.view->resize(500, 200);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        QTableView* list = f.view->spotList();
        for (const int burst : {1, 2, 1, 3, 7, 1, 12, 2, 40, 1, 5, 300, 1, 1}) {
            f.spotNewStations(burst);
            QTRY_VERIFY(!static_cast<quendra::SpotTableView*>(list)->held());
            QCoreApplication::processEvents();  // the paint the release asked for
            QCOMPARE(shownOnScreen(list->viewport()), freshDrawing(list->viewport()));
            if (list->verticalScrollBar()->isVisible())
                QCOMPARE(shownOnScreen(list->verticalScrollBar()), freshDrawing(list->verticalScrollBar()));
        }
    }

    // A refresh repaints the rows it brings, not the whole list, however the rows came in.
    void aRefreshDrawsOnlyItsNewRows() {
        Fixture f;
        f.view->resize(500, 300);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        QTableView* list = f.view->spotList();
        auto* view = static_cast<quendra::SpotTableView*>(list);
        auto addBurst = [&](int burst) {
            f.spotNewStations(burst);
            QTRY_VERIFY(!view->held());
            QTest::qWait(50);  // anything the refresh left for later
        };
        addBurst(60);
        struct Painted : QObject {
            int tallest = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint)
                    tallest = std::max(tallest, static_cast<QPaintEvent*>(event)->region().boundingRect().height());
                return false;
            }
        } painted;
        list->viewport()->installEventFilter(&painted);
        for (const int burst : {1, 2, 3}) {
            painted.tallest = 0;
            addBurst(burst);
            QVERIFY2(painted.tallest > 0, "the new rows were drawn");
            QVERIFY2(painted.tallest <= (burst + 1) * list->verticalHeader()->defaultSectionSize(),
                     qPrintable(QString::number(painted.tallest)));
        }
    }

    // The list's scroll bar skips the repaint when a refresh leaves its picture as it was, and
    // only then.
    void scrollBarRepaintsOnlyWhenItsPictureChanges() {
        QWidget window;
        window.resize(40, 300);
        auto* bar = new quendra::SteadyScrollBar(Qt::Vertical, &window);
        bar->setGeometry(0, 0, 16, 300);
        bar->setPageStep(10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        int paints = 0;
        struct Counter : QObject {
            int* paints;
            bool eventFilter(QObject*, QEvent* event) override {
                *paints += event->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
        } counter;
        counter.paints = &paints;
        bar->installEventFilter(&counter);
        auto grow = [&](int maximum) {
            paints = 0;
            bar->holdRepaints();
            bar->setRange(0, maximum);
            bar->setValue(maximum);
            bar->releaseRepaints();
            QCoreApplication::processEvents();
            const int repaints = paints;
            if (shownOnScreen(bar) != freshDrawing(bar))
                return -1;
            return repaints;
        };
        for (const int maximum : {5, 20, 60, 100000})
            QCOMPARE(grow(maximum), 1);
        QCOMPARE(grow(100001), 0);  // the handle is at its shortest and stays at the end
    }

    // The list's own cell drawing keeps texts laid out between refreshes; it must draw exactly
    // what the style's delegate draws: alignment, shortened texts, fonts and highlights included.
    void cellsLookAsTheStyleDrawsThem() {
        Fixture f;
        f.view->resize(420, 200);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        f.spot("ZZ1AB", "14025.0");
        f.spot("ZZ2CDEFGHIJKLMNOPQRSTUVWXYZ/P", "7001,5");  // too wide for its column
        f.spot("ZZ3E", "144300");
        f.spot("ZZ4F", "3525");
        f.spot("AV5LTY", "10101.7");  // kerned pairs, left to the full layout
        f.view->model().setAlertTest([](int storeIndex) { return storeIndex == 2; });
        f.view->model().setMarkedRow(0);  // drawn in bold
        QTableView* list = f.view->spotList();
        list->selectRow(3);
        QTRY_COMPARE(list->model()->rowCount(), 5);
        QCoreApplication::processEvents();
        const QImage ours = list->viewport()->grab().toImage();
        QStyledItemDelegate styleDelegate;
        QAbstractItemDelegate* own = list->itemDelegate();
        list->setItemDelegate(&styleDelegate);
        const QImage style = list->viewport()->grab().toImage();
        list->setItemDelegate(own);
        QCOMPARE(ours, style);
    }

    void expiryRefillsTheListWithoutScrolling() {
        Fixture f;
        f.settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 100);
        f.view->resize(500, 150);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        for (int i = 0; i < 60; ++i)
            f.spot(QStringLiteral("OLD%1").arg(i), QStringLiteral("%1").arg(14000 + i));
        f.clock.advance(50);
        for (int i = 0; i < 60; ++i)
            f.spot(QStringLiteral("NEW%1").arg(i), QStringLiteral("%1").arg(14000 + i));
        QTableView* list = f.view->spotList();
        list->scrollToTop();
        f.clock.advance(51);
        QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);
        QCOMPARE(f.spot("LATEST", "7000"), 120);  // its index before the expiry
        QCOMPARE(resets.count(), 1);
        const QStringList stations = listedStations(*f.view);
        QCOMPARE(stations.size(), 61);
        QCOMPARE(stations.first(), QStringLiteral("NEW0"));
        QCOMPARE(stations.last(), QStringLiteral("LATEST"));
        // The scroll the earlier spots asked for is cancelled by the refill, not merely late.
        QCoreApplication::processEvents();
        QCOMPARE(list->verticalScrollBar()->value(), 0);
    }

    void layoutRoundTripsThroughSettings() {
        Fixture f;
        f.view->resize(700, 300);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        QCOMPARE(f.view->splitter()->sizes().value(0), 50);
        f.view->splitter()->setSizes({120, 500});
        QHeaderView* header = f.view->spotList()->horizontalHeader();
        header->resizeSection(2, 0);
        header->resizeSection(4, 33);
        header->moveSection(5, 0);  // drag "DX-Node" to the front
        const QList<int> order = visualOrder(*f.view);
        const int listWidth = f.view->splitter()->sizes().value(1);
        const int writesBefore = f.settings.writeCount();
        f.view->saveLayout();
        f.view->saveLayout();
        f.closeAndReopen();  // the destructor must not write a second time
        QCOMPARE(f.settings.writeCount() - writesBefore, 10);
        QCOMPARE(f.settings.GetProfileInt(kFrame, u"TREESIZE", -1), 120);
        QCOMPARE(f.settings.GetProfileInt(kFrame, u"GRAPH", -1), listWidth);
        QCOMPARE(f.settings.GetProfileInt(kList, u"HOWMANYCOLUMNS", -1), 6);
        QCOMPARE(f.settings.GetProfileBinary(kList, u"ORDER")->size(), 24u);

        f.view->resize(700, 300);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        QCOMPARE(f.view->splitter()->sizes().value(0), 120);
        header = f.view->spotList()->horizontalHeader();
        QCOMPARE(visualOrder(*f.view), order);
        const int widths[] = {100, 100, 0, 80, 33, 100};
        for (int column = 0; column < 6; ++column)
            QCOMPARE(header->sectionSize(column), widths[column]);
    }

    void unshownViewSavesTheWidthsItWasGiven() {
        Fixture f(false);
        f.settings.WriteProfileInt(kFrame, u"TREESIZE", 77);
        f.settings.WriteProfileInt(kList, u"Col3", -5);
        f.open();
        f.view.reset();
        QCOMPARE(f.settings.GetProfileInt(kFrame, u"TREESIZE", -1), 77);
        QCOMPARE(f.settings.GetProfileInt(kList, u"Col0", -1), 100);
        QCOMPARE(f.settings.GetProfileInt(kList, u"Col3", -1), 0);
        QVERIFY(f.settings.GetProfileInt(kFrame, u"GRAPH", -1) >= 0);
    }

    void treeWidthHasAMinimum() {
        Fixture f(false);
        f.settings.WriteProfileInt(kFrame, u"TREESIZE", 3);
        f.open();
        f.view->resize(400, 200);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        QCOMPARE(f.view->splitter()->sizes().value(0), 10);
    }

    void storedOrderIsAppliedOnlyWhenWhole_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QList<int>>("shown");
        const QList<int> natural{0, 1, 2, 3, 4, 5};
        auto bytes = [](std::vector<int> order, int cut = 0) {
            auto raw = orderBytes(order);
            raw.resize(raw.size() - static_cast<std::size_t>(cut));
            return QByteArray(reinterpret_cast<const char*>(raw.data()), static_cast<qsizetype>(raw.size()));
        };
        QTest::newRow("permutation") << bytes({5, 4, 3, 2, 1, 0}) << QList<int>{5, 4, 3, 2, 1, 0};
        QTest::newRow("extra bytes ignored") << bytes({1, 0, 2, 3, 4, 5, 9}) << QList<int>{1, 0, 2, 3, 4, 5};
        QTest::newRow("one byte short") << bytes({5, 4, 3, 2, 1, 0}, 1) << natural;
        QTest::newRow("five entries") << bytes({1, 0, 2, 3, 4}) << natural;
        QTest::newRow("empty") << QByteArray() << natural;
        QTest::newRow("repeated column") << bytes({0, 0, 2, 3, 4, 5}) << natural;
        QTest::newRow("column out of range") << bytes({6, 1, 2, 3, 4, 5}) << natural;
        QTest::newRow("negative column") << bytes({-1, 1, 2, 3, 4, 5}) << natural;
    }
    void storedOrderIsAppliedOnlyWhenWhole() {
        QFETCH(QByteArray, stored);
        QFETCH(QList<int>, shown);
        Fixture f(false);
        f.settings.WriteProfileBinary(kList, u"ORDER", std::vector<std::uint8_t>(stored.begin(), stored.end()));
        f.open();
        QCOMPARE(visualOrder(*f.view), shown);
    }

    void modelStaysConsistentThroughAppendsRefillsAndExpiry() {
        Fixture f;
        QAbstractItemModelTester tester(f.view->spotList()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 10);
        for (int i = 0; i < 5; ++i)
            f.spot(QStringLiteral("A%1").arg(i), QStringLiteral("%1").arg(50000 + i));
        QTRY_COMPARE(f.view->spotList()->model()->rowCount(), 5);  // all but the first in one batch
        f.select("HF");
        f.select("VHF");
        f.clock.advance(11);
        f.spot("B", "50100");
        QCOMPARE(listedStations(*f.view), QStringList{"B"});
        f.view->setSpotStore(nullptr);
        f.view->addSpot(0);
        f.view->refillList();
        QCOMPARE(f.view->spotList()->model()->rowCount(), 0);
    }
};

QTEST_MAIN(ClusterViewTest)
#include "ClusterViewTest.moc"
