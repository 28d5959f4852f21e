#pragma once

#include <QAbstractTableModel>

#include <vector>

namespace quendra {

class SpotStore;

// The cluster list as a thin model over the spot store: each row holds a store index and its
// cells are read from the store whenever they are drawn, so no spot text is ever copied here.
// The rows must be refilled after the store has expired records, since indexes then shift.
class SpotListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Station, Frequency, Info, Gmt, Author, DxNode, ColumnCount };

    explicit SpotListModel(QObject* parent = nullptr);

    void setStore(const SpotStore* store);
    // Replaces every row; the store indexes must stand in arrival order.
    void setRows(std::vector<int> storeIndexes);
    // Adds one row at the end and returns its row number.
    int appendRow(int storeIndex);
    int storeIndexAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QVariant cellText(int storeIndex, int column) const;

    const SpotStore* store_ = nullptr;
    std::vector<int> rows_;  // one per listed spot; bounded by the store's own size
};

}  // namespace quendra
