// The spot list as a screen reader meets it through Qt's accessibility interfaces: a table of the
// columns on screen only, in their order on screen, whose cells, header cells, children, focus and
// selection all agree on that numbering while optional columns are shown, hidden and dragged.
#include "platform/RefreshPacing.h"
#include "spots/SpotListModel.h"
#include "spots/SpotTableAccessible.h"
#include "support/FrameHarness.h"

#include <QAccessible>
#include <QHeaderView>
#include <QtTest>

#include <vector>

using namespace quendra;
using testing::FrameHarness;

namespace {

// Sections dragged, each to a place on screen, in turn.
using Moves = QList<QPair<int, int>>;

const QStringList kClassicTitles = {"Station", "Frequency", "Info", "GMT", "Author", "DX-Node"};

void routeSpot(FrameHarness& fixture, const QString& line) {
    const std::u16string text = (line + QStringLiteral("\r\n")).toStdU16String();
    fixture.frame.RouteTelnetText(text, static_cast<int>(text.size()));
}

QAccessibleTableInterface* tableOf(QTableView* list) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list);
    return accessible ? accessible->tableInterface() : nullptr;
}

QStringList columnTitles(QAccessibleTableInterface* table) {
    QStringList titles;
    for (int column = 0; column < table->columnCount(); ++column)
        titles << table->columnDescription(column);
    return titles;
}

// The titles the header cells say, read as a screen reader walks the table's first children.
QStringList headerCellTitles(QAccessibleInterface* accessible, int columns) {
    QStringList titles;
    for (int column = 0; column < columns; ++column) {
        QAccessibleInterface* cell = accessible->child(column);
        titles << (cell && cell->role() == QAccessible::ColumnHeader ? cell->text(QAccessible::Name) : QString());
    }
    return titles;
}

struct RowInsertion {
    int first;
    int last;
};
// The list's own insertions; its header views, being item views too, tell of each as well.
std::vector<RowInsertion> rowInsertions;
QObject* heardList = nullptr;
void recordRowInsertions(QAccessibleEvent* event) {
    if (event->type() != QAccessible::TableModelChanged || event->object() != heardList)
        return;
    const auto* change = static_cast<QAccessibleTableModelChangeEvent*>(event);
    if (change->modelChangeType() == QAccessibleTableModelChangeEvent::RowsInserted)
        rowInsertions.push_back({change->firstRow(), change->lastRow()});
}

}  // namespace

class SpotListAccessibleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FrameHarness> fixture_;
    QTableView* list_ = nullptr;

    QHeaderView* header() const { return list_->horizontalHeader(); }
    int section(ExtraColumn column) const { return SpotListModel::columnOf(column); }
    int sectionTitled(const QString& title) const {
        for (int section = 0; section < header()->count(); ++section)
            if (list_->model()->headerData(section, Qt::Horizontal).toString() == title)
                return section;
        return -1;
    }
    QString modelText(int row, int section) const {
        return list_->model()->data(list_->model()->index(row, section)).toString();
    }

private slots:
    void init() {
        fixture_ = std::make_unique<FrameHarness>();
        QVERIFY(fixture_->startShown());
        fixture_->frame.selectTab(kTabCluster);
        list_ = fixture_->frame.clusterView().spotList();
        routeSpot(*fixture_, "DX de ZZ1AB:     14025.0  ZY9XY        CW 599                         1234Z");
        routeSpot(*fixture_, "DX de ZZ2CD:     14200.0  ZY8XY        SSB 59                         1235Z");
        QTRY_COMPARE(fixture_->listedRows(), 2);
    }
    void cleanup() { fixture_.reset(); }

    void columnsAreThoseOnScreen_data() {
        QTest::addColumn<QList<int>>("shownExtras");
        QTest::addColumn<Moves>("moves");  // section, to visual place
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("classic") << QList<int>{} << Moves{} << kClassicTitles;
        // Shown columns keep the model's order until dragged.
        QTest::newRow("two shown")
            << QList<int>{int(ExtraColumn::Mode), int(ExtraColumn::Country)} << Moves{}
            << (kClassicTitles + QStringList{"Country", "Mode"});
        // Dragged: the Mode column before Station, and Station after Info, Country hidden between.
        QTest::newRow("reordered")
            << QList<int>{int(ExtraColumn::Mode)}
            << Moves{{SpotListModel::columnOf(ExtraColumn::Mode), 0}, {SpotListModel::Station, 3}}
            << QStringList{"Mode", "Frequency", "Info", "Station", "GMT", "Author", "DX-Node"};
    }
    void columnsAreThoseOnScreen() {
        QFETCH(QList<int>, shownExtras);
        QFETCH(Moves, moves);
        QFETCH(QStringList, titles);
        const int columns = static_cast<int>(titles.size());
        for (int extra : shownExtras)
            fixture_->frame.clusterView().setExtraColumnShown(static_cast<ExtraColumn>(extra), true);
        for (const auto& [moved, place] : moves)
            header()->moveSection(header()->visualIndex(moved), place);

        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list_);
        QAccessibleTableInterface* table = tableOf(list_);
        QVERIFY(table);
        QCOMPARE(accessible->role(), QAccessible::Table);
        QCOMPARE(table->columnCount(), columns);
        QCOMPARE(columnTitles(table), titles);
        QCOMPARE(headerCellTitles(accessible, table->columnCount()), titles);
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(accessible->childCount(), (2 + 1) * columns);
        QCOMPARE(accessible->child(accessible->childCount()), nullptr);

        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < columns; ++column) {
                QAccessibleInterface* cell = table->cellAt(row, column);
                QVERIFY(cell);
                // The cell read is the one drawn under that title.
                const int shownSection = sectionTitled(titles[column]);
                QCOMPARE(cell->text(QAccessible::Name), modelText(row, shownSection));
                auto* place = cell->tableCellInterface();
                QVERIFY(place);
                QCOMPARE(place->rowIndex(), row);
                QCOMPARE(place->columnIndex(), column);
                QCOMPARE(place->columnHeaderCells().size(), 1);
                QCOMPARE(place->columnHeaderCells().first()->text(QAccessible::Name), titles[column]);
                // A screen reader walking the children meets the same cell at the same number.
                const int index = accessible->indexOfChild(cell);
                QCOMPARE(index, (row + 1) * columns + column);
                QCOMPARE(accessible->child(index), cell);
                QCOMPARE(accessibleChildIndex(*list_, list_->model()->index(row, shownSection)), index);
            }
        }
        QCOMPARE(table->cellAt(0, columns), nullptr);
    }

    // The spot in the first column on screen is the one a screen reader reads first.
    void cellReadIsTheSpotsText() {
        QAccessibleTableInterface* table = tableOf(list_);
        QVERIFY(table);
        QCOMPARE(table->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("ZY8XY"));
        QCOMPARE(table->cellAt(1, 4)->text(QAccessible::Name), QStringLiteral("ZZ2CD"));
        header()->moveSection(header()->visualIndex(SpotListModel::Author), 0);
        QCOMPARE(table->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("ZZ2CD"));
        QCOMPARE(table->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("ZY8XY"));
    }

    // A kept cell follows its column when columns are shown or moved before it, and is read as
    // hidden, with no place among the columns, once its own column is hidden.
    void keptCellsFollowTheirColumn() {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list_);
        QAccessibleTableInterface* table = tableOf(list_);
        fixture_->frame.clusterView().setExtraColumnShown(ExtraColumn::Mode, true);
        header()->moveSection(header()->visualIndex(section(ExtraColumn::Mode)), 1);
        QAccessibleInterface* mode = table->cellAt(0, 1);
        QAccessibleInterface* gmt = table->cellAt(0, 4);
        QCOMPARE(table->columnDescription(4), QStringLiteral("GMT"));
        fixture_->frame.clusterView().setExtraColumnShown(ExtraColumn::Mode, false);
        QCOMPARE(gmt->tableCellInterface()->columnIndex(), 3);
        QCOMPARE(table->cellAt(0, 3), gmt);
        QCOMPARE(mode->tableCellInterface()->columnIndex(), -1);
        QCOMPARE(accessible->indexOfChild(mode), -1);
        QVERIFY(mode->state().invisible);
    }

    void focusAndSelectionUseTheColumnsOnScreen() {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list_);
        QAccessibleTableInterface* table = tableOf(list_);
        header()->moveSection(header()->visualIndex(SpotListModel::Info), 0);
        list_->setCurrentIndex(list_->model()->index(1, SpotListModel::Info));
        QCOMPARE(accessible->focusChild(), table->cellAt(1, 0));
        QVERIFY(table->cellAt(1, 0)->state().focused);
        QVERIFY(!table->cellAt(1, 1)->state().focused);
        // The current cell may sit in a hidden column: its row's first column stands for it.
        list_->selectionModel()->setCurrentIndex(list_->model()->index(0, section(ExtraColumn::Age)),
                                                 QItemSelectionModel::NoUpdate);
        QCOMPARE(accessible->focusChild(), table->cellAt(0, 0));

        list_->clearSelection();
        QVERIFY(table->selectRow(1));
        QCOMPARE(list_->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(table->selectedRows(), QList<int>{1});
        QCOMPARE(table->selectedRowCount(), 1);
        QVERIFY(table->isRowSelected(1));
        QVERIFY(!table->isRowSelected(0));
        QCOMPARE(table->selectedCellCount(), 6);
        const QList<QAccessibleInterface*> cells = table->selectedCells();
        QCOMPARE(cells.size(), 6);
        for (int column = 0; column < 6; ++column)
            QCOMPARE(cells[column], table->cellAt(1, column));
        QVERIFY(table->cellAt(1, 5)->tableCellInterface()->isSelected());
        QCOMPARE(table->selectedColumnCount(), 0);
        QVERIFY(!table->selectColumn(0));  // the list selects whole rows
        QVERIFY(table->unselectRow(1));
        QCOMPARE(table->selectedCellCount(), 0);
    }

    // Spots that come in one read reach the list, and a screen reader, in one insertion per
    // refresh that names every new row, not as one event (and one bus message) per spot: the
    // first after a quiet time is shown at once, the others at the end of the frame.
    void aBurstOfSpotsIsToldAsOneRowInsertion() {
        QAccessible::setActive(true);
        // Only a platform with an accessibility bridge (xcb) can be made active, once its bridge
        // has reached the bus; offscreen cannot. On the bus run the bridge must be there.
        if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, 2000)) {
            if (qEnvironmentVariableIsSet("QUENDRA_EXPECT_A11Y_BRIDGE"))
                QFAIL("the accessibility bridge did not become active");
            QSKIP("this platform has no accessibility bridge to activate");
        }
        rowInsertions.clear();
        heardList = list_;
        const auto previous = QAccessible::installUpdateHandler(recordRowInsertions);
        QString burst;
        for (int i = 0; i < 5; ++i)
            burst += QStringLiteral("DX de ZZ3EF:     %1.0  ZX%2AB        CW 599                         1236Z\r\n")
                         .arg(7000 + i).arg(i);
        const std::u16string text = burst.toStdU16String();
        fixture_->frame.RouteTelnetText(text, static_cast<int>(text.size()));
        QTRY_COMPARE(fixture_->listedRows(), 7);
        QTest::qWait(2 * refresh_pacing::kFrameMs);  // a later refresh must not tell them again
        QAccessible::installUpdateHandler(previous);
        QAccessible::setActive(false);
        QVERIFY(!rowInsertions.empty());
        QVERIFY2(rowInsertions.size() <= 2, qPrintable(QString::number(rowInsertions.size())));
        int next = 2;
        for (const RowInsertion& told : rowInsertions) {
            QCOMPARE(told.first, next);
            QVERIFY(told.last >= told.first);
            next = told.last + 1;
        }
        QCOMPARE(next, 7);
    }

    // The view reports its changes by model column; whoever hears them after the table is told
    // the columns on screen, and kept cells stay with their rows.
    void modelChangesAreToldInColumnsOnScreen() {
        QAccessibleTableInterface* table = tableOf(list_);
        fixture_->frame.clusterView().setExtraColumnShown(ExtraColumn::Age, true);
        header()->moveSection(header()->visualIndex(section(ExtraColumn::Age)), 2);
        QAccessibleTableModelChangeEvent changed(list_, QAccessibleTableModelChangeEvent::DataChanged);
        changed.setFirstRow(0);
        changed.setLastRow(1);
        changed.setFirstColumn(section(ExtraColumn::Age));
        changed.setLastColumn(section(ExtraColumn::Age));
        table->modelChange(&changed);
        QCOMPARE(changed.firstColumn(), 2);
        QCOMPARE(changed.lastColumn(), 2);
        QAccessibleTableModelChangeEvent hidden(list_, QAccessibleTableModelChangeEvent::DataChanged);
        hidden.setFirstColumn(section(ExtraColumn::Country));
        hidden.setLastColumn(section(ExtraColumn::Continent));
        table->modelChange(&hidden);
        QCOMPARE(hidden.firstColumn(), -1);

        QAccessibleInterface* second = table->cellAt(1, 0);
        QAccessibleTableModelChangeEvent removed(list_, QAccessibleTableModelChangeEvent::RowsRemoved);
        removed.setFirstRow(0);
        removed.setLastRow(0);
        table->modelChange(&removed);
        QCOMPARE(second->tableCellInterface()->rowIndex(), 0);
        QCOMPARE(table->cellAt(0, 0), second);
    }
};

QTEST_MAIN(SpotListAccessibleTest)
#include "SpotListAccessibleTest.moc"
