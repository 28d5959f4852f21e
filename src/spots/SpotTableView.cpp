#include "spots/SpotTableView.h"

#include "spots/OnScreenColumns.h"
#include "spots/SpotTableAccessible.h"
#include "spots/SteadyScrollBar.h"

#include <QAccessible>
#include <QHeaderView>

#include <algorithm>
#include <utility>

namespace quendra {

SpotTableView::SpotTableView(QWidget* parent)
    : QTableView(parent), scrollBar_(new SteadyScrollBar(Qt::Vertical, this)) {
    setVerticalScrollBar(scrollBar_);
    installSpotTableAccessibleFactory();
    // Columns shown, hidden or moved are told of. Hiding a section resizes it to nothing, unless
    // it was that already; then only the header's geometry changes.
    QHeaderView* header = horizontalHeader();
    connect(header, &QHeaderView::sectionMoved, this, &SpotTableView::tellOfColumnChanges);
    connect(header, &QHeaderView::sectionResized, this, &SpotTableView::tellOfColumnChanges);
    connect(header, &QHeaderView::sectionCountChanged, this, &SpotTableView::tellOfColumnChanges);
    connect(header, &QHeaderView::geometriesChanged, this, &SpotTableView::tellOfColumnChanges);
}

// A column shown, hidden or moved renumbers the table's columns and cells: screen readers are
// told to read it again. Resizing alone, the common case while dragging, tells nothing.
void SpotTableView::tellOfColumnChanges() {
    on_screen_columns::Sections shown = on_screen_columns::sections(*horizontalHeader());
    if (shown == columnsOnScreen_)
        return;
    columnsOnScreen_ = std::move(shown);
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&event);
    }
}

void SpotTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(accessibleChildIndex(*this, current));
        QAccessible::updateAccessibility(&event);
    }
    // QTableView's own would send the focus again, numbered among all model columns.
    QAbstractItemView::currentChanged(current, previous);
}

// Like QTableView, only the first cell added and the first removed are told of; they are found
// without listing every selected index, which for a long selection would be a list per row.
void SpotTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (QAccessible::isActive()) {
        const auto tell = [this](const QItemSelection& cells, QAccessible::Event type) {
            if (cells.isEmpty() || !cells.first().isValid())
                return;
            QAccessibleEvent event(this, type);
            event.setChild(accessibleChildIndex(*this, cells.first().topLeft()));
            QAccessible::updateAccessibility(&event);
        };
        tell(selected, QAccessible::SelectionAdd);
        tell(deselected, QAccessible::SelectionRemove);
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}

void SpotTableView::hold() {
    if (held_)
        return;
    held_ = true;
    // Called just after a row was appended: that row is the first one not yet drawn.
    firstNewRow_ = model() ? std::max(0, model()->rowCount() - 1) : 0;
}

void SpotTableView::release(bool scrollToNewest) {
    scrollBar_->holdRepaints();
    releaseHeld(scrollToNewest);
    scrollBar_->releaseRepaints();
}

void SpotTableView::releaseHeld(bool scrollToNewest) {
    // Rows the model has just shown asked for a layout at the next turn of the event loop; taken
    // now, while held, it becomes part of this refresh instead of a second one that lays out and
    // repaints the whole list.
    if (held_)
        executeDelayedItemsLayout();
    if (!std::exchange(held_, false)) {
        if (scrollToNewest)
            scrollToBottom();
        return;
    }
    const bool layoutWanted = std::exchange(layoutWanted_, false);
    if (std::exchange(wholeLayoutWanted_, false)) {
        QTableView::doItemsLayout();
        if (scrollToNewest)
            scrollToBottom();
        return;
    }
    if (newRowsFillTheView()) {
        // Nothing drawn so far stays in view: moving the picture would be wasted.
        viewport()->setUpdatesEnabled(false);
        updateGeometries();
        if (scrollToNewest)
            scrollToBottom();
        viewport()->setUpdatesEnabled(true);
        viewport()->update();
        return;
    }
    if (layoutWanted)
        layOutKeepingThePicture();
    if (scrollToNewest)
        scrollToBottom();
    // Only now are the new rows where they will be drawn.
    const int top = std::max(0, rowViewportPosition(firstNewRow_));
    if (top < viewport()->height())
        viewport()->update(0, top, viewport()->width(), viewport()->height() - top);
}

bool SpotTableView::newRowsFillTheView() const {
    const int newRows = model() ? model()->rowCount() - firstNewRow_ : 0;
    return static_cast<long long>(newRows) * verticalHeader()->defaultSectionSize() >= viewport()->height();
}

// At the bottom of the list the last row is kept at the bottom edge, between whole rows; once
// rows are added, laying out puts a whole row at the top edge again. That moves the rows but not
// the picture already drawn, so the picture is moved with them, and the scroll that follows
// moves it on from the right place; drawing only the new rows then leaves nothing stale.
void SpotTableView::layOutKeepingThePicture() {
    const int before = verticalHeader()->offset();
    updateGeometries();
    if (const int moved = before - verticalHeader()->offset(); moved != 0)
        viewport()->scroll(0, moved);
}

// A layout asked for while held waits for the release; anything that needs it sooner (a scroll
// to a row, a row's rectangle) gets it within one frame.
void SpotTableView::doItemsLayout() {
    if (held_) {
        layoutWanted_ = true;
        return;
    }
    QTableView::doItemsLayout();
}

void SpotTableView::reset() {
    if (held_)
        wholeLayoutWanted_ = true;
    QTableView::reset();
}

}  // namespace quendra
