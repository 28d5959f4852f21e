#include "spots/SpotListModel.h"

#include "dxcc/LocationText.h"
#include "spots/ListColumn.h"
#include "spots/RowMark.h"
#include "platform/QtText.h"
#include "spots/SpotStore.h"

#include <QColor>
#include <QFont>
#include <QStringList>

namespace quendra {
namespace {

Qt::Alignment alignmentOf(int column) {
    if (column == SpotListModel::Frequency || column == SpotListModel::columnOf(ExtraColumn::CqZone) ||
        column == SpotListModel::columnOf(ExtraColumn::Age))
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SpotListModel::SpotListModel(QObject* parent) : QAbstractTableModel(parent) {}

void SpotListModel::setStore(const SpotStore* store) {
    beginResetModel();
    store_ = store;
    rows_.clear();
    shownRows_ = 0;
    markedRow_ = -1;
    endResetModel();
}

void SpotListModel::setLocationTips(bool on, std::string homeLocator) {
    locationTips_ = on;
    homeLocator_ = std::move(homeLocator);
}

void SpotListModel::setRows(std::vector<int> storeIndexes, std::vector<int> spotters) {
    beginResetModel();
    rows_ = std::move(storeIndexes);
    spotters_ = std::move(spotters);
    if (!spotters_.empty())
        spotters_.resize(rows_.size(), 1);
    shownRows_ = rows_.size();
    markedRow_ = -1;
    endResetModel();
}

int SpotListModel::appendRow(int storeIndex, int spotters) {
    const int row = static_cast<int>(rows_.size());
    rows_.push_back(storeIndex);
    if (spotters > 0) {
        spotters_.resize(rows_.size() - 1, 1);
        spotters_.push_back(spotters);
    }
    if (!holding_)
        showNewRows();
    return row;
}

void SpotListModel::showNewRows() {
    holding_ = false;
    if (shownRows_ == rows_.size())
        return;
    // Rows are only ever added at the end, so they can be stored before the views hear of them.
    beginInsertRows({}, static_cast<int>(shownRows_), static_cast<int>(rows_.size()) - 1);
    shownRows_ = rows_.size();
    endInsertRows();
}

void SpotListModel::replaceRow(int row, int storeIndex, int spotters) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return;
    rows_[static_cast<std::size_t>(row)] = storeIndex;
    spotters_.resize(rows_.size(), 1);
    spotters_[static_cast<std::size_t>(row)] = spotters;
    if (row < rowCount())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void SpotListModel::setMarkedRow(int row) {
    if (row == markedRow_)
        return;
    const int before = std::exchange(markedRow_, row);
    for (int changed : {before, row}) {
        if (changed >= 0 && changed < rowCount())
            emit dataChanged(index(changed, 0), index(changed, columnCount() - 1), {Qt::FontRole});
    }
}

void SpotListModel::refreshAges() {
    const int column = columnOf(ExtraColumn::Age);
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::DisplayRole});
}

int SpotListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shownRows_);
}

int SpotListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kAllColumns + static_cast<int>(addedColumns_.size());
}

QVariant SpotListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int storeIndex = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::TextAlignmentRole: return QVariant::fromValue(alignmentOf(index.column()));
    case Qt::DisplayRole: {
        const int spotters = spotterCount(index.row());
        if (index.column() == Info && spotters > 1)
            return cellText(storeIndex, Info).toString() + QStringLiteral(" (%1)").arg(spotters);
        return cellText(storeIndex, index.column());
    }
    case SpotterCountRole: return spotterCount(index.row());
    case AlertedRole: return alerted_ && alerted_(storeIndex);
    case Qt::BackgroundRole:
        // A soft amber that keeps the text readable in light and dark palettes alike.
        if (alerted_ && alerted_(storeIndex))
            return QColor(255, 200, 80, 110);
        return markData(storeIndex, role);
    case Qt::ForegroundRole:
        if (alerted_ && alerted_(storeIndex))
            return {};
        return markData(storeIndex, role);
    case RowNoteRole: return markData(storeIndex, role);
    case Qt::ToolTipRole: return tooltip(storeIndex, index.column());
    case Qt::FontRole:
        if (index.row() == markedRow_) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default: return {};
    }
}

QVariant SpotListModel::markData(int storeIndex, int role) const {
    if (rowMarks_.empty() || !store_ || storeIndex < 0 || storeIndex >= store_->count())
        return {};
    QStringList spoken;
    for (const auto& markOf : rowMarks_) {
        const RowMark mark = markOf(storeIndex);
        if (role == Qt::BackgroundRole && mark.background.isValid())
            return mark.background;
        if (role == Qt::ForegroundRole && mark.foreground.isValid())
            return mark.foreground;
        if (role == RowNoteRole && !mark.spoken.isEmpty())
            spoken << mark.spoken;
    }
    if (role == RowNoteRole && !spoken.isEmpty())
        return spoken.join(QStringLiteral(", "));
    return {};
}

void SpotListModel::storeIndexesChanged(const std::vector<int>& storeIndexes) {
    if (storeIndexes.empty() || rowCount() == 0 || !store_)
        return;
    // Collapsed rows need not stand in store order: look each row's index up in a table.
    std::vector<char> changed(static_cast<std::size_t>(store_->count()), 0);
    for (int index : storeIndexes) {
        if (index >= 0 && index < store_->count())
            changed[static_cast<std::size_t>(index)] = 1;
    }
    int first = -1;
    int last = -1;
    for (int row = 0; row < rowCount(); ++row) {
        const int index = rows_[static_cast<std::size_t>(row)];
        if (index >= 0 && static_cast<std::size_t>(index) < changed.size() && changed[static_cast<std::size_t>(index)]) {
            first = first < 0 ? row : first;
            last = row;
        }
    }
    if (first >= 0)
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void SpotListModel::allRowsChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int SpotListModel::spotterCount(int row) const {
    return static_cast<std::size_t>(row) < spotters_.size() ? spotters_[static_cast<std::size_t>(row)] : 0;
}

QVariant SpotListModel::tooltip(int storeIndex, int column) const {
    const QVariant cell = cellText(storeIndex, column);
    if (!cell.isValid())
        return cell;
    QStringList lines;
    if (locationTips_ && countries_)
        lines << toQString(locationText(store_->spotAt(storeIndex).station, *countries_, homeLocator_));
    for (const auto& line : tooltipLines_)
        lines << line(storeIndex);
    lines.removeAll(QString());
    if (lines.isEmpty())
        return cell;
    return QVariant(cell.toString() + QLatin1Char('\n') + lines.join(QLatin1Char('\n')));
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
    default: break;
    }
    if (column >= kAllColumns)
        return addedColumns_[static_cast<std::size_t>(column - kAllColumns)]->text(storeIndex);
    return extraText(storeIndex, static_cast<ExtraColumn>(column - ColumnCount));
}

int SpotListModel::addColumn(const ListColumn& column) {
    const int added = columnCount();
    beginInsertColumns({}, added, added);
    addedColumns_.push_back(&column);
    endInsertColumns();
    return added;
}

QVariant SpotListModel::extraText(int storeIndex, ExtraColumn column) const {
    const SpotDetails& details = store_->detailsAt(storeIndex);
    switch (column) {
    case ExtraColumn::Country: return countryName(details.dxEntity);
    case ExtraColumn::Continent: return latin1(continentCode(details.dxContinent));
    case ExtraColumn::CqZone: return details.cqZone > 0 ? QVariant(int(details.cqZone)) : QVariant();
    case ExtraColumn::Mode: return details.mode == Mode::Unknown ? QString() : latin1(modeName(details.mode));
    case ExtraColumn::Age: {
        if (!nowSeconds_)
            return {};
        const std::int64_t age = nowSeconds_() - secondsSince1970(store_->spotAt(storeIndex).received);
        return QVariant(static_cast<qlonglong>(std::max<std::int64_t>(0, age) / 60));
    }
    case ExtraColumn::SpotterCountry: return countryName(details.spotterEntity);
    case ExtraColumn::SpotterContinent: return latin1(continentCode(details.spotterContinent));
    }
    return {};
}

QString SpotListModel::countryName(int entity) const {
    if (!countries_ || entity < 0 || static_cast<std::size_t>(entity) >= countries_->entities().size())
        return {};
    return QString::fromStdString(countries_->entities()[static_cast<std::size_t>(entity)].name);
}

QVariant SpotListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignmentOf(section));
    if (role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[ColumnCount] = {"Station", "Frequency", "Info",
                                                     "GMT",     "Author",    "DX-Node"};
    if (section < ColumnCount)
        return QString::fromLatin1(kTitles[section]);
    if (section >= kAllColumns)
        return addedColumns_[static_cast<std::size_t>(section - kAllColumns)]->title();
    return toQString(extraColumnTitle(static_cast<ExtraColumn>(section - ColumnCount)));
}

Qt::ItemFlags SpotListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace quendra
