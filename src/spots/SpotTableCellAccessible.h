#pragma once

#include <QAccessible>
#include <QModelIndex>
#include <QPointer>
#include <QTableView>

namespace quendra {

// What a cell and a header cell have in common: no object of their own, no children, read only.
class SpotTableLeafAccessible : public QAccessibleInterface {
public:
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
};

// One cell of the spot list, fixed to a row and a model column; the column it is read in is the
// place that model column has on screen now, so it follows the operator's dragging and hiding.
class SpotTableCellAccessible : public SpotTableLeafAccessible, public QAccessibleTableCellInterface {
public:
    SpotTableCellAccessible(QTableView* view, int row, int section);

    int row() const { return row_; }
    int section() const { return section_; }
    // Rows added or removed before this one moved it.
    void setRow(int row) { row_ = row; }

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    QModelIndex index() const;

    QPointer<QTableView> view_;
    int row_;
    int section_;
};

// The header's cell above one model column; like a cell, it is read where its column stands.
class SpotTableHeaderAccessible : public SpotTableLeafAccessible {
public:
    SpotTableHeaderAccessible(QTableView* view, int section);

    int section() const { return section_; }

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override;

private:
    QPointer<QTableView> view_;
    int section_;
};

}  // namespace quendra
