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

void BandMapSpots::readAll() {
    spots_.clear();
    findStatusColumn();
    readRows(0, model_.rowCount() - 1);
}

void BandMapSpots::readRows(int first, int last) {
    const std::size_t before = spots_.size();
    for (int row = std::max(0, first); row <= last && row < model_.rowCount(); ++row) {
        const int storeIndex = model_.storeIndexAt(row);
        if (storeIndex < 0 || storeIndex >= store_.count())
            continue;
        const double kHz = store_.frequencyKHzAt(storeIndex);
        if (!band_.contains(kHz))
            continue;
        BandMapSpot& spot = spots_.emplace_back();
        spot.kHz = kHz;
        spot.row = row;
        spot.serial = store_.serialAt(storeIndex);
        spot.receivedSeconds = secondsSince1970(store_.spotAt(storeIndex).received);
    }
    // New rows are mostly few: sort them and merge them in.
    const auto middle = spots_.begin() + static_cast<std::ptrdiff_t>(before);
    std::sort(middle, spots_.end(), inFrequencyOrder);
    std::inplace_merge(spots_.begin(), middle, spots_.end(), inFrequencyOrder);
}

void BandMapSpots::forgetLooks(int first, int last) {
    for (BandMapSpot& spot : spots_) {
        if (spot.row >= first && spot.row <= last)
            spot.drawn = false;
    }
}

int BandMapSpots::positionOfSerial(std::uint64_t serial) const {
    for (std::size_t i = 0; i < spots_.size(); ++i) {
        if (spots_[i].serial == serial)
            return static_cast<int>(i);
    }
    return -1;
}

int BandMapSpots::storeIndexOf(const BandMapSpot& spot) const { return store_.indexOfSerial(spot.serial); }

int BandMapSpots::rowOf(const BandMapSpot& spot) const {
    const int storeIndex = storeIndexOf(spot);
    if (storeIndex < 0 || spot.row >= model_.rowCount() || model_.storeIndexAt(spot.row) != storeIndex)
        return -1;
    return spot.row;
}

void BandMapSpots::readLooks(BandMapSpot& spot, const QFont& font) const {
    if (spot.drawn)
        return;
    const int storeIndex = storeIndexOf(spot);
    if (storeIndex < 0)
        return;
    spot.drawn = true;
    spot.call.setTextFormat(Qt::PlainText);
    spot.call.setText(toQString(store_.spotAt(storeIndex).station));
    spot.call.prepare(QTransform(), font);
    const int row = rowOf(spot);
    const QModelIndex cell = model_.index(row, SpotListModel::Station);
    spot.background = row >= 0 ? colourOf(model_.data(cell, Qt::BackgroundRole)) : QColor();
    spot.foreground = row >= 0 ? colourOf(model_.data(cell, Qt::ForegroundRole)) : QColor();
}

QString BandMapSpots::textOf(const BandMapSpot& spot) const {
    const int storeIndex = storeIndexOf(spot);
    if (storeIndex < 0)
        return {};
    const std::string_view mode = modeName(store_.detailsAt(storeIndex).mode);
    const int row = rowOf(spot);
    const QString status = row >= 0 && statusColumn_ >= 0 && statusColumn_ < model_.columnCount()
                               ? model_.data(model_.index(row, statusColumn_)).toString()
                               : QString();
    return toQString(bandMapItemText(spot.kHz, store_.spotAt(storeIndex).station,
                                     std::u16string(mode.begin(), mode.end()), toU16(status)));
}

}  // namespace quendra
