#include "spots/SpotTableAccessible.h"

#include "spots/OnScreenColumns.h"
#include "spots/SpotTableCellAccessible.h"
#include "spots/SpotTableView.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace quendra {
namespace {

// The children start with the header's row of cells while the header is shown.
int headerRowsOf(const QTableView& view) { return view.horizontalHeader()->isHidden() ? 0 : 1; }

qint64 cellKey(int row, int section) { return (static_cast<qint64>(row) << 32) | static_cast<quint32>(section); }

}  // namespace

int accessibleChildIndex(const QTableView& view, const QModelIndex& index) {
    const QHeaderView& header = *view.horizontalHeader();
    const int columns = on_screen_columns::count(header);
    if (!index.isValid() || columns == 0)
        return -1;
    const int column = std::max(0, on_screen_columns::columnOf(header, index.column()));
    return (index.row() + headerRowsOf(view)) * columns + column;
}

SpotTableAccessible::SpotTableAccessible(QTableView* view) : QAccessibleWidget(view, QAccessible::Table) {}

SpotTableAccessible::~SpotTableAccessible() { forgetAll(); }

void* SpotTableAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QModelIndex SpotTableAccessible::modelIndex(int row, int section) const {
    const QAbstractItemModel* model = view()->model();
    return model ? model->index(row, section, view()->rootIndex()) : QModelIndex();
}

QAccessibleInterface* SpotTableAccessible::headerCell(int section) const {
    if (section < 0 || section >= header().count())
        return nullptr;
    auto found = headers_.constFind(section);
    if (found == headers_.constEnd()) {
        auto* made = new SpotTableHeaderAccessible(view(), section);
        found = headers_.insert(section, QAccessible::registerAccessibleInterface(made));
    }
    return QAccessible::accessibleInterface(*found);
}

QAccessibleInterface* SpotTableAccessible::cellOf(int row, int section) const {
    if (!modelIndex(row, section).isValid())
        return nullptr;
    auto found = cells_.constFind(cellKey(row, section));
    if (found == cells_.constEnd()) {
        auto* made = new SpotTableCellAccessible(view(), row, section);
        found = cells_.insert(cellKey(row, section), QAccessible::registerAccessibleInterface(made));
        lastCachedRow_ = std::max(lastCachedRow_, row);
    }
    return QAccessible::accessibleInterface(*found);
}

// --- Children ----------------------------------------------------------------------------------

int SpotTableAccessible::childCount() const {
    return (rowCount() + headerRowsOf(*view())) * columnCount();
}

QAccessibleInterface* SpotTableAccessible::child(int index) const {
    const int columns = columnCount();
    if (index < 0 || columns == 0)
        return nullptr;
    const int row = index / columns - headerRowsOf(*view());
    const int section = on_screen_columns::sectionAt(header(), index % columns);
    return row < 0 ? headerCell(section) : cellOf(row, section);
}

int SpotTableAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (const auto* cell = dynamic_cast<const SpotTableCellAccessible*>(child)) {
        if (cell->table() != this || !cell->isValid() || cell->columnIndex() < 0)
            return -1;
        return (cell->row() + headerRowsOf(*view())) * columnCount() + cell->columnIndex();
    }
    if (const auto* heading = dynamic_cast<const SpotTableHeaderAccessible*>(child)) {
        if (heading->parent() != this || headerRowsOf(*view()) == 0)
            return -1;
        return on_screen_columns::columnOf(header(), heading->section());
    }
    return -1;
}

QAccessibleInterface* SpotTableAccessible::childAt(int x, int y) const {
    const QPoint global(x, y);
    if (!header().isHidden()) {
        const QPoint inHeader = header().viewport()->mapFromGlobal(global);
        if (header().viewport()->rect().contains(inHeader))
            return headerCell(header().logicalIndexAt(inHeader));
    }
    const QPoint inList = view()->viewport()->mapFromGlobal(global);
    if (!view()->viewport()->rect().contains(inList))
        return nullptr;
    const QModelIndex index = view()->indexAt(inList);
    return index.isValid() ? cellOf(index.row(), index.column()) : nullptr;
}

QAccessibleInterface* SpotTableAccessible::focusChild() const {
    return child(accessibleChildIndex(*view(), view()->currentIndex()));
}

// --- The table ---------------------------------------------------------------------------------

int SpotTableAccessible::columnCount() const { return on_screen_columns::count(header()); }

int SpotTableAccessible::rowCount() const {
    const QAbstractItemModel* model = view()->model();
    return model ? model->rowCount(view()->rootIndex()) : 0;
}

QAccessibleInterface* SpotTableAccessible::cellAt(int row, int column) const {
    return cellOf(row, on_screen_columns::sectionAt(header(), column));
}

QString SpotTableAccessible::columnDescription(int column) const {
    const int section = on_screen_columns::sectionAt(header(), column);
    const QAbstractItemModel* model = view()->model();
    return model && section >= 0 ? model->headerData(section, Qt::Horizontal).toString() : QString();
}

QString SpotTableAccessible::rowDescription(int row) const {
    const QAbstractItemModel* model = view()->model();
    return model && row >= 0 && row < rowCount() ? model->headerData(row, Qt::Vertical).toString() : QString();
}

// --- Selection: only the columns on screen count -----------------------------------------------

int SpotTableAccessible::shownSectionsBetween(int first, int last) const {
    int shown = 0;
    for (int section = std::max(0, first); section <= last && section < header().count(); ++section)
        shown += header().isSectionHidden(section) ? 0 : 1;
    return shown;
}

int SpotTableAccessible::selectedCellCount() const {
    const QItemSelectionModel* selection = view()->selectionModel();
    if (!selection)
        return 0;
    int cells = 0;
    for (const QItemSelectionRange& range : selection->selection())
        cells += range.height() * shownSectionsBetween(range.left(), range.right());
    return cells;
}

QList<QAccessibleInterface*> SpotTableAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    const QItemSelectionModel* selection = view()->selectionModel();
    if (!selection)
        return cells;
    const on_screen_columns::Sections shown = on_screen_columns::sections(header());
    for (const QItemSelectionRange& range : selection->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            for (int section : shown) {
                if (section >= range.left() && section <= range.right())
                    if (QAccessibleInterface* cell = cellOf(row, section))
                        cells.append(cell);
            }
        }
    }
    return cells;
}

bool SpotTableAccessible::isRowSelected(int row) const {
    const QItemSelectionModel* selection = view()->selectionModel();
    const on_screen_columns::Sections shown = on_screen_columns::sections(header());
    if (!selection || shown.isEmpty() || row < 0 || row >= rowCount())
        return false;
    return std::all_of(shown.begin(), shown.end(),
                       [&](int section) { return selection->isSelected(modelIndex(row, section)); });
}

// A row is selected when all its columns on screen are; a range that spans them all selects its
// rows without looking at each.
QList<int> SpotTableAccessible::selectedRows() const {
    QList<int> rows;
    const QItemSelectionModel* selection = view()->selectionModel();
    const on_screen_columns::Sections shown = on_screen_columns::sections(header());
    if (!selection || shown.isEmpty())
        return rows;
    const auto [leftmost, rightmost] = std::minmax_element(shown.begin(), shown.end());
    for (const QItemSelectionRange& range : selection->selection()) {
        const bool spansAll = range.left() <= *leftmost && range.right() >= *rightmost;
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (spansAll || isRowSelected(row))
                rows.append(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool SpotTableAccessible::isColumnSelected(int column) const {
    const QItemSelectionModel* selection = view()->selectionModel();
    const int section = on_screen_columns::sectionAt(header(), column);
    return selection && section >= 0 && rowCount() > 0 && selection->isColumnSelected(section, view()->rootIndex());
}

QList<int> SpotTableAccessible::selectedColumns() const {
    QList<int> columns;
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnSelected(column))
            columns.append(column);
    }
    return columns;
}

bool SpotTableAccessible::selectRow(int row) {
    QItemSelectionModel* selection = view()->selectionModel();
    const QModelIndex index = modelIndex(row, 0);
    if (!selection || !index.isValid() || view()->selectionMode() == QAbstractItemView::NoSelection ||
        view()->selectionBehavior() == QAbstractItemView::SelectColumns)
        return false;
    auto command = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    if (view()->selectionMode() == QAbstractItemView::SingleSelection)
        command |= QItemSelectionModel::Clear;
    selection->select(index, command);
    return true;
}

bool SpotTableAccessible::unselectRow(int row) {
    QItemSelectionModel* selection = view()->selectionModel();
    const QModelIndex index = modelIndex(row, 0);
    // With a single selection the operator cannot unselect either: one row always stays.
    if (!selection || !index.isValid() || view()->selectionMode() == QAbstractItemView::NoSelection ||
        view()->selectionMode() == QAbstractItemView::SingleSelection)
        return false;
    selection->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    return true;
}

bool SpotTableAccessible::selectColumn(int column) {
    QItemSelectionModel* selection = view()->selectionModel();
    const QModelIndex index = modelIndex(0, on_screen_columns::sectionAt(header(), column));
    if (!selection || !index.isValid() || view()->selectionMode() == QAbstractItemView::NoSelection ||
        view()->selectionBehavior() == QAbstractItemView::SelectRows)
        return false;
    auto command = QItemSelectionModel::Select | QItemSelectionModel::Columns;
    if (view()->selectionMode() == QAbstractItemView::SingleSelection)
        command |= QItemSelectionModel::Clear;
    selection->select(index, command);
    return true;
}

bool SpotTableAccessible::unselectColumn(int column) {
    QItemSelectionModel* selection = view()->selectionModel();
    const QModelIndex index = modelIndex(0, on_screen_columns::sectionAt(header(), column));
    if (!selection || !index.isValid() || view()->selectionMode() == QAbstractItemView::NoSelection ||
        view()->selectionMode() == QAbstractItemView::SingleSelection ||
        view()->selectionBehavior() == QAbstractItemView::SelectRows)
        return false;
    selection->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Columns);
    return true;
}

// --- Model changes -----------------------------------------------------------------------------

// Cells kept for rows that moved follow their rows, so a screen reader holding one still holds
// the same spot; cells of removed rows are let go.
void SpotTableAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
    const int first = event->firstRow();
    const int last = event->lastRow();
    switch (event->modelChangeType()) {
    case QAccessibleTableModelChangeEvent::RowsInserted:
        if (first >= 0 && last >= first)
            moveRowsFrom(first, last - first + 1);
        break;
    case QAccessibleTableModelChangeEvent::RowsRemoved:
        if (first >= 0 && last >= first) {
            forgetRows(first, last);
            moveRowsFrom(last + 1, -(last - first + 1));
        }
        break;
    case QAccessibleTableModelChangeEvent::DataChanged:
        showColumnsIn(*event);
        break;
    default:
        forgetAll();
        break;
    }
}

// The view names the model's columns; whoever hears the event next is told the columns on screen
// the change covers (none: -1).
void SpotTableAccessible::showColumnsIn(QAccessibleTableModelChangeEvent& event) const {
    if (event.firstColumn() < 0 || event.lastColumn() < event.firstColumn())
        return;
    int first = -1;
    int last = -1;
    for (int section = event.firstColumn(); section <= event.lastColumn(); ++section) {
        if (const int column = on_screen_columns::columnOf(header(), section); column >= 0) {
            first = first < 0 ? column : std::min(first, column);
            last = std::max(last, column);
        }
    }
    event.setFirstColumn(first);
    event.setLastColumn(last);
}

void SpotTableAccessible::moveRowsFrom(int first, int delta) {
    // New rows come at the end of the list; then no kept cell moves and nothing is looked at.
    if (first > lastCachedRow_)
        return;
    QHash<qint64, QAccessible::Id> moved;
    moved.reserve(cells_.size());
    lastCachedRow_ = -1;
    for (auto it = cells_.cbegin(); it != cells_.cend(); ++it) {
        auto* cell = static_cast<SpotTableCellAccessible*>(QAccessible::accessibleInterface(it.value()));
        if (cell->row() >= first)
            cell->setRow(cell->row() + delta);
        moved.insert(cellKey(cell->row(), cell->section()), it.value());
        lastCachedRow_ = std::max(lastCachedRow_, cell->row());
    }
    cells_ = std::move(moved);
}

void SpotTableAccessible::forgetRows(int first, int last) {
    for (auto it = cells_.begin(); it != cells_.end();) {
        const int row = static_cast<int>(it.key() >> 32);
        if (row >= first && row <= last) {
            QAccessible::deleteAccessibleInterface(it.value());
            it = cells_.erase(it);
        } else {
            ++it;
        }
    }
}

void SpotTableAccessible::forgetAll() {
    for (QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
    for (QAccessible::Id id : std::as_const(headers_))
        QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
    headers_.clear();
    lastCachedRow_ = -1;
}

namespace {

QAccessibleInterface* spotTableFactory(const QString&, QObject* object) {
    if (auto* view = qobject_cast<SpotTableView*>(object))
        return new SpotTableAccessible(view);
    return nullptr;
}

}  // namespace

void installSpotTableAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(spotTableFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace quendra
