#include "spots/SpotTableCellAccessible.h"

#include "spots/OnScreenColumns.h"
#include "spots/SpotListModel.h"
#include "spots/SpotTableAccessible.h"

#include <QHeaderView>
#include <QWindow>

namespace quendra {
namespace {

SpotTableAccessible* tableOf(QTableView* view) {
    return view ? dynamic_cast<SpotTableAccessible*>(QAccessible::queryAccessibleInterface(view)) : nullptr;
}

QWindow* windowOf(const QTableView* view) {
    return view && view->window() ? view->window()->windowHandle() : nullptr;
}

}  // namespace

SpotTableCellAccessible::SpotTableCellAccessible(QTableView* view, int row, int section)
    : view_(view), row_(row), section_(section) {}

QModelIndex SpotTableCellAccessible::index() const {
    if (!view_ || !view_->model())
        return {};
    return view_->model()->index(row_, section_, view_->rootIndex());
}

bool SpotTableCellAccessible::isValid() const { return index().isValid(); }

QWindow* SpotTableCellAccessible::window() const { return windowOf(view_); }

QAccessibleInterface* SpotTableCellAccessible::parent() const { return tableOf(view_); }

QAccessibleInterface* SpotTableCellAccessible::table() const { return tableOf(view_); }

QString SpotTableCellAccessible::text(QAccessible::Text t) const {
    const QModelIndex cell = index();
    if (!cell.isValid())
        return {};
    switch (t) {
    case QAccessible::Name: {
        const QVariant spoken = cell.data(Qt::AccessibleTextRole);
        const QString name = spoken.isValid() ? spoken.toString() : cell.data(Qt::DisplayRole).toString();
        // What features say of the whole row goes with its first cell on screen, which a screen
        // reader speaks as it moves onto the row.
        const QString note = columnIndex() == 0 ? cell.data(SpotListModel::RowNoteRole).toString() : QString();
        return note.isEmpty() ? name : name + QStringLiteral(", ") + note;
    }
    case QAccessible::Description: return cell.data(Qt::AccessibleDescriptionRole).toString();
    default: return {};
    }
}

QRect SpotTableCellAccessible::rect() const {
    const QModelIndex cell = index();
    if (!cell.isValid() || view_->horizontalHeader()->isSectionHidden(section_))
        return {};
    const QRect inViewport = view_->visualRect(cell);
    if (inViewport.isNull())
        return {};
    return QRect(view_->viewport()->mapToGlobal(inViewport.topLeft()), inViewport.size());
}

QAccessible::State SpotTableCellAccessible::state() const {
    QAccessible::State state;
    const QModelIndex cell = index();
    if (!cell.isValid())
        return state;
    const QRect shown(view_->viewport()->mapToGlobal(QPoint(0, 0)), view_->viewport()->size());
    state.invisible = !shown.intersects(rect());
    const QItemSelectionModel* selection = view_->selectionModel();
    state.selected = selection && selection->isSelected(cell);
    // The focus is on the current cell, or on its row's first column when the current one is hidden.
    const QModelIndex current = view_->currentIndex();
    state.focused = columnIndex() >= 0 && current.isValid() &&
                    accessibleChildIndex(*view_, current) == accessibleChildIndex(*view_, cell);
    if (cell.flags() & Qt::ItemIsSelectable) {
        state.selectable = true;
        state.focusable = true;
        state.multiSelectable = view_->selectionMode() == QAbstractItemView::MultiSelection;
        state.extSelectable = view_->selectionMode() == QAbstractItemView::ExtendedSelection;
    }
    return state;
}

void* SpotTableCellAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

bool SpotTableCellAccessible::isSelected() const {
    const QModelIndex cell = index();
    return cell.isValid() && view_->selectionModel() && view_->selectionModel()->isSelected(cell);
}

QList<QAccessibleInterface*> SpotTableCellAccessible::columnHeaderCells() const {
    auto* table = tableOf(view_);
    QAccessibleInterface* header = table ? table->headerCell(section_) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

int SpotTableCellAccessible::columnIndex() const {
    return view_ ? on_screen_columns::columnOf(*view_->horizontalHeader(), section_) : -1;
}

// --- The header's cells ------------------------------------------------------------------------

SpotTableHeaderAccessible::SpotTableHeaderAccessible(QTableView* view, int section)
    : view_(view), section_(section) {}

bool SpotTableHeaderAccessible::isValid() const {
    return view_ && view_->model() && section_ < view_->model()->columnCount(view_->rootIndex());
}

QWindow* SpotTableHeaderAccessible::window() const { return windowOf(view_); }

QAccessibleInterface* SpotTableHeaderAccessible::parent() const { return tableOf(view_); }

QString SpotTableHeaderAccessible::text(QAccessible::Text t) const {
    if (!isValid() || t != QAccessible::Name)
        return {};
    const QAbstractItemModel* model = view_->model();
    const QVariant spoken = model->headerData(section_, Qt::Horizontal, Qt::AccessibleTextRole);
    return spoken.isValid() ? spoken.toString() : model->headerData(section_, Qt::Horizontal).toString();
}

QRect SpotTableHeaderAccessible::rect() const {
    if (!isValid() || view_->horizontalHeader()->isSectionHidden(section_))
        return {};
    const QHeaderView* header = view_->horizontalHeader();
    const QPoint topLeft(header->sectionViewportPosition(section_), 0);
    return QRect(header->viewport()->mapToGlobal(topLeft),
                 QSize(header->sectionSize(section_), header->height()));
}

QAccessible::State SpotTableHeaderAccessible::state() const {
    QAccessible::State state;
    state.invisible = !isValid() || view_->horizontalHeader()->isHidden() ||
                      view_->horizontalHeader()->isSectionHidden(section_);
    return state;
}

}  // namespace quendra
