#include "spots/SpotListModel.h"

#include "spots/SpotStore.h"

namespace quendra {
namespace {

QString toQString(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

Qt::Alignment alignmentOf(int column) {
    if (column == SpotListModel::Frequency)
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

SpotListModel::SpotListModel(QObject* parent) : QAbstractTableModel(parent) {}

void SpotListModel::setStore(const SpotStore* store) {
    beginResetModel();
    store_ = store;
    rows_.clear();
    endResetModel();
}

void SpotListModel::setRows(std::vector<int> storeIndexes) {
    beginResetModel();
    rows_ = std::move(storeIndexes);
    endResetModel();
}

int SpotListModel::appendRow(int storeIndex) {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row);
    rows_.push_back(storeIndex);
    endInsertRows();
    return row;
}

int SpotListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SpotListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SpotListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignmentOf(index.column()));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return cellText(rows_[static_cast<std::size_t>(index.row())], index.column());
}

QVariant SpotListModel::cellText(int storeIndex, int column) const {
    // A row may briefly outlive its record between an expiry and the refill that follows it.
    if (!store_ || storeIndex < 0 || storeIndex >= store_->count())
        return {};
    const Spot& spot = store_->spotAt(storeIndex);
    switch (column) {
    case Station: return toQString(spot.station);
    case Frequency: return toQString(spot.frequency);
    case Info: return toQString(spot.info);
    case Gmt: return toQString(spot.gmt);
    case Author: return toQString(spot.author);
    case DxNode: return toQString(spot.dxNode);
    default: return {};
    }
}

QVariant SpotListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignmentOf(section));
    if (role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[ColumnCount] = {"Station", "Frequency", "Info",
                                                     "GMT",     "Author",    "DX-Node"};
    return QString::fromLatin1(kTitles[section]);
}

Qt::ItemFlags SpotListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace quendra
