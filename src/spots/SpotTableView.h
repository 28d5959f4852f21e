#pragma once

#include "spots/OnScreenColumns.h"

#include <QTableView>

namespace quendra {

class SteadyScrollBar;

// The spot list's table. A table lays itself out and repaints all its rows for every new row;
// while held it does neither. When let go it lays out once, scrolls to the newest row if asked,
// and draws only the rows added meanwhile that are in view: the scroll has moved the picture of
// the others. A reset while held still lays out and repaints everything.
// Screen readers meet it as a table of the columns on screen only (see SpotTableAccessible.h).
class SpotTableView : public QTableView {
    Q_OBJECT
public:
    explicit SpotTableView(QWidget* parent = nullptr);

    void hold();
    void release(bool scrollToNewest);
    bool held() const { return held_; }

    void doItemsLayout() override;
    void reset() override;

protected:
    // Tell assistive technology of the current and selected cells by the numbers the list's
    // accessible table gives them, which leave out hidden columns; QTableView counts them.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void tellOfColumnChanges();

    void releaseHeld(bool scrollToNewest);
    void layOutKeepingThePicture();
    bool newRowsFillTheView() const;

    SteadyScrollBar* scrollBar_;
    bool held_ = false;
    bool layoutWanted_ = false;
    bool wholeLayoutWanted_ = false;
    int firstNewRow_ = 0;
    on_screen_columns::Sections columnsOnScreen_;  // as last told to assistive technology
};

}  // namespace quendra
