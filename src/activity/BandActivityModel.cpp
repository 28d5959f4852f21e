#include "activity/BandActivityModel.h"

#include "modes/BandPlan.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace quendra {

void BandActivityModel::setGrid(BandActivity::Grid grid, int windowMinutes) {
    const bool reshaped = grid.rows != grid_.rows;
    if (reshaped)
        beginResetModel();
    grid_ = std::move(grid);
    windowMinutes_ = windowMinutes;
    if (reshaped) {
        endResetModel();
    } else if (grid_.rows > 0) {
        emit dataChanged(index(0, 0), index(grid_.rows - 1, BandActivity::kColumns - 1));
    }
}

int BandActivityModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.rows; }

int BandActivityModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : BandActivity::kColumns;
}

QString BandActivityModel::continentName(int column) {
    switch (BandActivity::continentOfColumn(column)) {
    case Continent::Africa: return tr("Africa");
    case Continent::Antarctica: return tr("Antarctica");
    case Continent::Asia: return tr("Asia");
    case Continent::Europe: return tr("Europe");
    case Continent::NorthAmerica: return tr("North America");
    case Continent::Oceania: return tr("Oceania");
    case Continent::SouthAmerica: return tr("South America");
    case Continent::Unknown: break;
    }
    return tr("Continent not known");
}

QString BandActivityModel::sentence(const QModelIndex& index) const {
    const BandActivity::Cell& cell = grid_.at(index.row(), index.column());
    const QString where = headerData(index.row(), Qt::Vertical, Qt::DisplayRole).toString() + QStringLiteral(", ") +
                          continentName(index.column());
    const QString count = cell.now == 1 ? tr("1 spot in %1 minutes").arg(windowMinutes_)
                                        : tr("%1 spots in %2 minutes").arg(cell.now).arg(windowMinutes_);
    switch (BandActivity::trendOf(cell)) {
    case BandActivity::Trend::Up: return tr("%1: %2, up from %3").arg(where, count).arg(cell.before);
    case BandActivity::Trend::Down: return tr("%1: %2, down from %3").arg(where, count).arg(cell.before);
    case BandActivity::Trend::Steady: break;
    }
    return tr("%1: %2, as before").arg(where, count);
}

QVariant BandActivityModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= grid_.rows || index.column() >= BandActivity::kColumns)
        return {};
    const BandActivity::Cell& cell = grid_.at(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole: {
        if (cell.now == 0 && cell.before == 0)
            return QString();
        const BandActivity::Trend trend = BandActivity::trendOf(cell);
        const QString mark = trend == BandActivity::Trend::Up     ? QStringLiteral(" \u25b2")
                             : trend == BandActivity::Trend::Down ? QStringLiteral(" \u25bc")
                                                                  : QString();
        return QString::number(cell.now) + mark;
    }
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return sentence(index);
    case Qt::TextAlignmentRole:
        return QVariant(static_cast<int>(Qt::AlignCenter));
    case Qt::BackgroundRole: {
        if (cell.now == 0 || grid_.busiest == 0)
            return {};
        // From a pale to a strong green as the count nears the busiest cell's.
        const auto share = static_cast<float>(cell.now) / static_cast<float>(grid_.busiest);
        return QColor::fromHsvF(0.33f, 0.15f + 0.75f * share, 0.95f - 0.45f * share);
    }
    case Qt::ForegroundRole: {
        if (cell.now == 0 || grid_.busiest == 0)
            return {};
        return static_cast<double>(cell.now) / grid_.busiest > 0.5 ? QColor(Qt::white) : QColor(Qt::black);
    }
    default:
        return {};
    }
}

QVariant BandActivityModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        const auto bands = amateurBands();
        if (section < 0 || section >= static_cast<int>(bands.size()) || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
            return {};
        const std::string_view name = bands[static_cast<std::size_t>(section)].name;
        return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
    if (section < 0 || section >= BandActivity::kColumns)
        return {};
    if (role == Qt::DisplayRole) {
        const std::string_view code = continentCode(BandActivity::continentOfColumn(section));
        return code.empty() ? QStringLiteral("?") : QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()));
    }
    if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
        return continentName(section);
    return {};
}

}  // namespace quendra
