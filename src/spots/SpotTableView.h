#pragma once

#include <QTableView>

namespace quendra {

// The spot list's table. A table lays itself out and repaints all its rows for every new row;
// while held it does neither, and when let go it lays out and repaints once for all the rows
// added meanwhile. A reset while held still lays out and repaints everything.
class SpotTableView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    void hold();
    void release();
    bool held() const { return held_; }

    void doItemsLayout() override;
    void reset() override;

private:
    bool held_ = false;
    bool layoutWanted_ = false;
    bool wholeLayoutWanted_ = false;
};

}  // namespace quendra
