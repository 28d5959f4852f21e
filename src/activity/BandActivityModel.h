#pragma once

#include "activity/BandActivity.h"

#include <QAbstractTableModel>

namespace quendra {

// The activity grid as a table: a row per band, a column per continent of the spotted stations,
// each cell the spots of the window with a mark for the trend against the window before, shaded
// by count. Screen readers read each cell as a sentence with its band and continent.
class BandActivityModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setGrid(BandActivity::Grid grid, int windowMinutes);
    const BandActivity::Grid& grid() const { return grid_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString continentName(int column);

private:
    QString sentence(const QModelIndex& index) const;

    BandActivity::Grid grid_;
    int windowMinutes_ = 15;
};

}  // namespace quendra
