#pragma once

#include "bandmap/LabelPlacement.h"
#include "spots/BandRange.h"

#include <QColor>
#include <QStaticText>
#include <QString>

#include <cstdint>
#include <vector>

namespace quendra {

class SpotListModel;
class SpotStore;

// A spot the map has not placed yet; a placed call's row is never negative.
inline constexpr double kLabelNew = -2.0;

// One listed spot as the band map draws it. Only what placing needs is read when its row
// arrives; the call and the row's colours are read when the call is first drawn.
struct BandMapSpot {
    double kHz = 0;
    int row = 0;                 // in the list's model, until the model is next reset
    std::uint64_t serial = 0;    // the store's, which follows the spot across age-outs
    std::int64_t receivedSeconds = 0;
    double labelY = kLabelNew;   // the centre row of its call, kLabelNotPlaced without room
    bool drawn = false;          // whether the call and colours below have been read
    QStaticText call;
    QColor background;           // the row's, invalid when the row has none
    QColor foreground;
};

// The list's current rows that lie on one band, in frequency order (spots on one frequency in
// arrival order). It reads what the list shows, so the band tree, the filter bar and collapsed
// repeats decide here as they do in the list; the row's colours are the list's own.
class BandMapSpots {
public:
    BandMapSpots(const SpotStore& store, const SpotListModel& model) : store_(store), model_(model) {}

    void setBand(BandRange band) { band_ = band; }
    BandRange band() const { return band_; }

    // Every row of the list, after it was refilled.
    void readAll();
    // Rows the list has just added at its end.
    void readRows(int first, int last);
    // Rows whose cells changed: their calls and colours are read again when next drawn.
    void forgetLooks(int first, int last);

    const std::vector<BandMapSpot>& spots() const { return spots_; }
    std::vector<BandMapSpot>& spots() { return spots_; }
    int size() const { return static_cast<int>(spots_.size()); }
    // Its place in frequency order, or -1.
    int positionOfSerial(std::uint64_t serial) const;
    // The store index the spot has now, or -1 once it is gone.
    int storeIndexOf(const BandMapSpot& spot) const;
    // Its row in the list, or -1 when the list has changed since it was read.
    int rowOf(const BandMapSpot& spot) const;
    // Reads the call and the row's colours for drawing, once.
    void readLooks(BandMapSpot& spot, const QFont& font) const;
    // As a screen reader reads it: "14,025.0 ZZ2CD CW New DXCC".
    QString textOf(const BandMapSpot& spot) const;

private:
    void findStatusColumn();

    const SpotStore& store_;
    const SpotListModel& model_;
    BandRange band_;
    int statusColumn_ = -1;
    std::vector<BandMapSpot> spots_;  // at most one per listed row
};

}  // namespace quendra
