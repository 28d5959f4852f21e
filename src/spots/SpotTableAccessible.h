#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QTableView>

namespace quendra {

class SpotTableCellAccessible;

// The spot list as a screen reader reads it: a table of the columns on screen only, in their
// order on screen, with their header titles (see OnScreenColumns.h). Its children are the
// header's cells, one per column, then the cells row by row. Qt's own table counts every model
// column, so the optional columns the header hides would be read as if shown.
class SpotTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit SpotTableAccessible(QTableView* view);
    ~SpotTableAccessible() override;

    QTableView* view() const { return static_cast<QTableView*>(widget()); }
    // The header's cell above a model column, and the cell of a row and model column; null
    // when there is none. Each is made once and then kept, so that it stays the same object.
    QAccessibleInterface* headerCell(int section) const;
    QAccessibleInterface* cellOf(int row, int section) const;

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return static_cast<int>(selectedColumns().size()); }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int row) override;
    bool unselectColumn(int column) override;
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    QHeaderView& header() const { return *view()->horizontalHeader(); }
    QModelIndex modelIndex(int row, int section) const;
    int shownSectionsBetween(int first, int last) const;
    void moveRowsFrom(int first, int delta);
    void forgetRows(int first, int last);
    void forgetAll();
    void showColumnsIn(QAccessibleTableModelChangeEvent& event) const;

    // Only the cells a screen reader has asked for are kept, never one per row of the list;
    // keyed by row and model column, so a moved or hidden column leaves them right.
    mutable QHash<qint64, QAccessible::Id> cells_;
    mutable QHash<int, QAccessible::Id> headers_;
    mutable int lastCachedRow_ = -1;
};

// The number SpotTableAccessible gives as a child to the cell at this model index; a cell in a
// hidden column stands for its row's first column on screen. -1 when there is none.
int accessibleChildIndex(const QTableView& view, const QModelIndex& index);

void installSpotTableAccessibleFactory();

}  // namespace quendra
