#pragma once

namespace quendra {

// The stretch of one band the map shows and how it lies on the pane: frequencies run down the
// pane, the lowest at the top. The stretch always lies within the band and is never narrower
// than kNarrowestKHz nor wider than the band.
class BandWindow {
public:
    static constexpr double kNarrowestKHz = 1.0;

    BandWindow() = default;
    // The whole band shown.
    BandWindow(double bandLowKHz, double bandHighKHz);

    double bandLow() const { return bandLow_; }
    double bandHigh() const { return bandHigh_; }
    double low() const { return low_; }
    double high() const { return high_; }
    double span() const { return high_ - low_; }
    bool wholeBand() const { return low_ <= bandLow_ && high_ >= bandHigh_; }
    bool shows(double kHz) const { return kHz >= low_ && kHz <= high_; }

    // The pixel rows the stretch is drawn on.
    void setPixels(double top, double height);
    double top() const { return top_; }
    double height() const { return height_; }
    double pixelsPerKHz() const { return span() > 0 ? height_ / span() : 0; }
    double yOf(double kHz) const;
    double kHzAt(double y) const;

    // Narrower by `factor` (above 1 zooms in, below 1 out), keeping `aroundKHz` where it stands.
    void zoom(double factor, double aroundKHz);
    void scrollBy(double kHz);
    void scrollByPixels(double pixels) { scrollBy(pixelsPerKHz() > 0 ? pixels / pixelsPerKHz() : 0); }
    void centreOn(double kHz);

    // The distance between labelled ticks, 1, 2 or 5 times a power of ten in kHz, the smallest
    // that leaves at least `minPixels` between them.
    double tickStep(double minPixels) const;

private:
    void keepWithinBand();

    double bandLow_ = 0;
    double bandHigh_ = 1;
    double low_ = 0;
    double high_ = 1;
    double top_ = 0;
    double height_ = 1;
};

}  // namespace quendra
