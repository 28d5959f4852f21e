#include "spots/SpotTableView.h"

#include <algorithm>
#include <utility>

namespace quendra {

void SpotTableView::hold() {
    if (held_)
        return;
    held_ = true;
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
    // The whole viewport is drawn again, once for everything the frame added: drawing only the
    // new rows and letting the scroll move the rest left rows drawn over each other on X11.
    updateGeometries();
    viewport()->update();
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
