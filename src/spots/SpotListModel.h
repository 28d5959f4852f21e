#pragma once

#include "spots/ExtraColumns.h"

#include <QAbstractTableModel>

#include <functional>
#include <string>
#include <vector>

namespace quendra {

class CountryLookup;
class ListColumn;
class SpotStore;
struct RowMark;

// The cluster list as a thin model over the spot store: each row holds a store index and its
// cells are read from the store whenever they are drawn, so no spot text is ever copied here.
// The rows must be refilled after the store has expired records, since indexes then shift.
// The six classic columns come first; the optional ones follow, hidden by the view until asked for.
class SpotListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Station, Frequency, Info, Gmt, Author, DxNode, ColumnCount };
    // The columns the list always knows; the features' columns follow them.
    static constexpr int kAllColumns = ColumnCount + kExtraColumnCount;
    static int columnOf(ExtraColumn column) { return ColumnCount + static_cast<int>(column); }
    // How many spotters a collapsed row stands for (0 when repeats are not collapsed).
    static constexpr int SpotterCountRole = Qt::UserRole + 1;
    // Whether the row's spot matched the watch list.
    static constexpr int AlertedRole = Qt::UserRole + 2;
    // Words the features' row marks give for screen readers, read with the row's first cell.
    static constexpr int RowNoteRole = Qt::UserRole + 3;

    explicit SpotListModel(QObject* parent = nullptr);

    void setStore(const SpotStore* store);
    // Names countries in the optional columns; not owned.
    void setCountries(const CountryLookup* countries) { countries_ = countries; }
    const CountryLookup* countries() const { return countries_; }
    // The time now in seconds since 1970, for the age column.
    void setClock(std::function<std::int64_t()> nowSeconds) { nowSeconds_ = std::move(nowSeconds); }
    // Adds where the station is to each row's tooltip, from this locator when it is valid.
    void setLocationTips(bool on, std::string homeLocator);
    // Tells which stored spots to draw as alerted; none without it.
    void setAlertTest(std::function<bool(int storeIndex)> alerted) { alerted_ = std::move(alerted); }
    // Replaces every row; the store indexes must stand in arrival order. With collapsed repeats,
    // `spotters` holds each row's count of spotters, shown after the Info text.
    void setRows(std::vector<int> storeIndexes, std::vector<int> spotters = {});
    // Adds one row at the end and returns its row number. While new rows are held, it is kept
    // back from the views until showNewRows: a view that learns of rows one by one does work
    // for each (and tells assistive technology of each) that one batch costs only once.
    int appendRow(int storeIndex, int spotters = 0);
    void holdNewRows() { holding_ = true; }
    void showNewRows();
    // A collapsed row now shows a newer spot of the same station.
    void replaceRow(int row, int storeIndex, int spotters);
    int storeIndexAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    // The row drawn as the one nearest the radio's frequency; -1 for none.
    void setMarkedRow(int row);
    int markedRow() const { return markedRow_; }
    // Tells the views that the ages have moved on.
    void refreshAges();
    // A feature's column, after all others; not owned, and it must outlive the model's use of it.
    // Returns its column number.
    int addColumn(const ListColumn& column);
    // A line a feature adds to every row's tooltip; an empty text adds nothing.
    void addTooltipLine(std::function<QString(int storeIndex)> line) { tooltipLines_.push_back(std::move(line)); }
    // A feature's colours and spoken words for every row; an alert's colour wins over them.
    void addRowMark(std::function<RowMark(int storeIndex)> mark) { rowMarks_.push_back(std::move(mark)); }
    // The spots at these store indexes look different now: their rows are drawn again.
    void storeIndexesChanged(const std::vector<int>& storeIndexes);
    void allRowsChanged();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QVariant cellText(int storeIndex, int column) const;
    int spotterCount(int row) const;
    QVariant extraText(int storeIndex, ExtraColumn column) const;
    QString countryName(int entity) const;
    QVariant tooltip(int storeIndex, int column) const;
    QVariant markData(int storeIndex, int role) const;

    const SpotStore* store_ = nullptr;
    const CountryLookup* countries_ = nullptr;
    std::function<std::int64_t()> nowSeconds_;
    bool locationTips_ = false;
    std::string homeLocator_;
    std::vector<int> rows_;  // one per listed spot; bounded by the store's own size
    std::size_t shownRows_ = 0;  // the first rows_, which the views know of
    bool holding_ = false;
    std::vector<int> spotters_;  // parallel to rows_ while repeats are collapsed, else empty
    std::function<bool(int)> alerted_;
    std::vector<const ListColumn*> addedColumns_;
    std::vector<std::function<QString(int)>> tooltipLines_;
    std::vector<std::function<RowMark(int)>> rowMarks_;
    int markedRow_ = -1;
};

}  // namespace quendra
