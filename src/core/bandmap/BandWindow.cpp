#include "bandmap/BandWindow.h"

#include <algorithm>
#include <cmath>

namespace quendra {

BandWindow::BandWindow(double bandLowKHz, double bandHighKHz)
    : bandLow_(std::min(bandLowKHz, bandHighKHz)), bandHigh_(std::max(bandLowKHz, bandHighKHz)) {
    if (bandHigh_ - bandLow_ < kNarrowestKHz)
        bandHigh_ = bandLow_ + kNarrowestKHz;
    low_ = bandLow_;
    high_ = bandHigh_;
}

void BandWindow::setPixels(double top, double height) {
    top_ = top;
    height_ = std::max(1.0, height);
}

double BandWindow::yOf(double kHz) const { return top_ + (kHz - low_) * pixelsPerKHz(); }

double BandWindow::kHzAt(double y) const { return low_ + (y - top_) / pixelsPerKHz(); }

void BandWindow::zoom(double factor, double aroundKHz) {
    if (!(factor > 0) || !std::isfinite(factor) || !std::isfinite(aroundKHz))
        return;
    const double bandSpan = bandHigh_ - bandLow_;
    const double wanted = std::clamp(span() / factor, kNarrowestKHz, bandSpan);
    const double anchor = std::clamp(aroundKHz, low_, high_);
    const double share = span() > 0 ? (anchor - low_) / span() : 0.5;
    low_ = anchor - share * wanted;
    high_ = low_ + wanted;
    keepWithinBand();
}

void BandWindow::scrollBy(double kHz) {
    if (!std::isfinite(kHz))
        return;
    low_ += kHz;
    high_ += kHz;
    keepWithinBand();
}

void BandWindow::centreOn(double kHz) {
    if (std::isfinite(kHz))
        scrollBy(kHz - (low_ + high_) / 2);
}

void BandWindow::keepWithinBand() {
    const double width = std::min(high_ - low_, bandHigh_ - bandLow_);
    if (low_ < bandLow_)
        low_ = bandLow_;
    if (low_ + width > bandHigh_)
        low_ = bandHigh_ - width;
    high_ = low_ + width;
}

double BandWindow::tickStep(double minPixels) const {
    const double perKHz = pixelsPerKHz();
    if (!(perKHz > 0))
        return span();
    const double least = std::max(minPixels, 1.0) / perKHz;
    double power = std::pow(10.0, std::floor(std::log10(least)));
    for (;;) {
        for (double multiple : {1.0, 2.0, 5.0}) {
            if (multiple * power >= least)
                return multiple * power;
        }
        power *= 10;
    }
}

}  // namespace quendra
