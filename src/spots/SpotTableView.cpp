#include "spots/SpotTableView.h"

#include <algorithm>
#include <utility>

namespace quendra {

void SpotTableView::hold() {
    if (held_)
        return;
    held_ = true;
    // Called just after a row was appended: that row is the first one not yet drawn.
    firstNewRow_ = model() ? std::max(0, model()->rowCount() - 1) : 0;
}

void SpotTableView::release() {
    if (!held_)
        return;
    held_ = false;
    const bool whole = std::exchange(wholeLayoutWanted_, false);
    if (!std::exchange(layoutWanted_, false) && !whole)
        return;
    if (whole) {
        QTableView::doItemsLayout();
        return;
    }
    updateGeometries();
    const int top = rowViewportPosition(firstNewRow_);
    if (top < viewport()->height())
        viewport()->update(0, std::max(0, top), viewport()->width(), viewport()->height());
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
