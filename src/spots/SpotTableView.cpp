#include "spots/SpotTableView.h"

#include "spots/SteadyScrollBar.h"

#include <QHeaderView>

#include <algorithm>
#include <utility>

namespace quendra {

SpotTableView::SpotTableView(QWidget* parent)
    : QTableView(parent), scrollBar_(new SteadyScrollBar(Qt::Vertical, this)) {
    setVerticalScrollBar(scrollBar_);
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
