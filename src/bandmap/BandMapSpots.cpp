#include "bandmap/BandMapSpots.h"

#include "bandmap/BandMapText.h"
#include "modes/Mode.h"
#include "platform/QtText.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"

#include <QBrush>

#include <algorithm>

namespace quendra {
namespace {

bool inFrequencyOrder(const BandMapSpot& a, const BandMapSpot& b) {
    return a.kHz < b.kHz || (a.kHz == b.kHz && a.serial < b.serial);
}

QColor colourOf(const QVariant& value) {
    if (value.canConvert<QBrush>())
        return value.value<QBrush>().color();
    return value.value<QColor>();
}

}  // namespace

void BandMapSpots::findStatusColumn() {
    statusColumn_ = -1;
    for (int column = 0; column < model_.columnCount(); ++column) {
        if (model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() == QLatin1String("Status")) {
            statusColumn_ = column;
            return;
        }
    }
}

bool BandMapSpots::read(int row, BandMapSpot& spot) const {
    const int storeIndex = model_.storeIndexAt(row);
    if (storeIndex < 0 || storeIndex >= store_.count())
        return false;
    const double kHz = store_.frequencyKHzAt(storeIndex);
    if (!band_.contains(kHz))
        return false;
    const Spot& stored = store_.spotAt(storeIndex);
    const QModelIndex cell = model_.index(row, SpotListModel::Station);
    spot.kHz = kHz;
    spot.row = row;
    spot.serial = store_.serialAt(storeIndex);
    spot.call = toQString(stored.station);
    const std::string_view mode = modeName(store_.detailsAt(storeIndex).mode);
    const QString status = statusColumn_ >= 0 ? model_.data(model_.index(row, statusColumn_)).toString() : QString();
    spot.text = toQString(bandMapItemText(kHz, stored.station, toU16(QString::fromLatin1(mode.data(), static_cast<qsizetype>(mode.size()))),
                                          toU16(status)));
    spot.background = colourOf(model_.data(cell, Qt::BackgroundRole));
    spot.foreground = colourOf(model_.data(cell, Qt::ForegroundRole));
    spot.receivedSeconds = secondsSince1970(stored.received);
    return true;
}

void BandMapSpots::readAll() {
    spots_.clear();
    findStatusColumn();
    readRows(0, model_.rowCount() - 1);
}

void BandMapSpots::readRows(int first, int last) {
    if (first == 0 || statusColumn_ >= model_.columnCount())
        findStatusColumn();
    const std::size_t before = spots_.size();
    BandMapSpot spot;
    for (int row = std::max(0, first); row <= last && row < model_.rowCount(); ++row) {
        if (read(row, spot))
            spots_.push_back(spot);
    }
    // New rows are mostly few: sort them and merge them in.
    const auto middle = spots_.begin() + static_cast<std::ptrdiff_t>(before);
    std::sort(middle, spots_.end(), inFrequencyOrder);
    std::inplace_merge(spots_.begin(), middle, spots_.end(), inFrequencyOrder);
}

bool BandMapSpots::rereadRows(int first, int last) {
    bool changed = false;
    for (BandMapSpot& spot : spots_) {
        if (spot.row < first || spot.row > last)
            continue;
        const double placed = spot.labelY;
        BandMapSpot fresh;
        // A collapsed row may now show another spot of its station, elsewhere on the band.
        if (!read(spot.row, fresh) || fresh.kHz != spot.kHz || fresh.serial != spot.serial) {
            readAll();
            return true;
        }
        fresh.labelY = placed;
        spot = fresh;
        changed = true;
    }
    return changed;
}

int BandMapSpots::positionOfSerial(std::uint64_t serial) const {
    for (std::size_t i = 0; i < spots_.size(); ++i) {
        if (spots_[i].serial == serial)
            return static_cast<int>(i);
    }
    return -1;
}

int BandMapSpots::storeIndexOf(const BandMapSpot& spot) const { return store_.indexOfSerial(spot.serial); }

}  // namespace quendra
