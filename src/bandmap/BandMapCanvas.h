#pragma once

#include "bandmap/BandMapSpots.h"
#include "bandmap/BandWindow.h"
#include "platform/RefreshPacing.h"

#include <QPixmap>
#include <QStaticText>
#include <QWidget>

#include <functional>

class QTimer;

namespace quendra {

class Clock;
class SpotListModel;
class SpotStore;

// The band map's drawing: a frequency scale down the left, the band plan as a tinted strip beside
// it, a mark for every listed spot of the band and its call beside it, moved apart from crowding
// neighbours with a thin leader line, and the radio's frequency as a line across. The wheel zooms,
// dragging scrolls, a click selects the spot's row in the list and a double click (or Enter on the
// current spot) acts on it as the list's activation does. While hidden it only notes that the
// list changed, and reads it again when shown.
class BandMapCanvas : public QWidget {
    Q_OBJECT
public:
    struct Parts {
        const SpotStore& store;
        const SpotListModel& model;
        const Clock& clock;
        int spotLifetimeSeconds;
        std::function<void(int storeIndex)> select;    // the spot's row in the list
        std::function<void(int storeIndex)> activate;  // as the list's activated row
    };
    BandMapCanvas(Parts parts, QWidget* parent = nullptr);
    ~BandMapCanvas() override;

    // The band shown, whole; the plan of this IARU region is drawn on it.
    void setBand(BandRange band, int region);
    BandRange band() const { return spots_.band(); }
    // The radio's frequency in kHz, 0 for none. The map follows it when it moves off the stretch
    // shown.
    void setRadioKHz(double kHz);
    double radioKHz() const { return radioKHz_; }

    const BandWindow& bandWindow() const { return window_; }
    const BandMapSpots& spots() const { return spots_; }
    // The spot the keyboard is on, its place in frequency order; -1 for none.
    int currentPosition() const;
    void setCurrentPosition(int position);
    // Where the spot's call is drawn, or its mark when the call had no room.
    QRect spotRect(int position) const;
    void activatePosition(int position);
    // How many calls there was no room for: their spots are marked on the scale only.
    int unplacedCount() const { return unplaced_; }
    // True when the list changed while hidden and the map will read it again once shown.
    bool stale() const { return stale_; }

    QSize sizeHint() const override;

signals:
    void currentChanged(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The pane's columns, left to right: the scale, the plan's strip, the marks, the leaders, the calls.
    static constexpr int kStripWidth = 8;
    static constexpr int kMarkLength = 8;
    static constexpr int kLeaderWidth = 14;
    static constexpr int kMargin = 4;

    void listReset();
    void rowsAdded(int first, int last);
    void rowsChanged(int first, int last, const QList<int>& roles);
    void readAgain();
    // Reads what the list changed since, at most once a frame.
    void catchUp();
    // Places the calls again; repaints what moved, or all when `everything`.
    void place(bool everything);
    void placeAndRepaintAll() { place(true); }
    int positionAt(const QPoint& point) const;
    int storeIndexAt(int position) const;
    void ensureShown(int position);
    void tellAssistiveTools(bool reordered);
    void zoomBy(double factor, double aroundKHz);
    QRect radioLineRect() const;
    int labelLeft() const;
    void drawBackground();
    void drawMarks(const std::vector<double>& frequencies);

    struct BackgroundKey {
        double low = 0;
        double high = 0;
        int width = 0;
        int height = 0;
        int region = 0;
        std::uint64_t marksVersion = 0;
        bool operator==(const BackgroundKey&) const = default;
    };
    int labelHeight() const;

    Parts parts_;
    BandMapSpots spots_;
    BandWindow window_;
    int region_ = 1;
    double radioKHz_ = 0;
    std::uint64_t currentSerial_ = 0;
    bool hasCurrent_ = false;
    bool stale_ = true;
    int unplaced_ = 0;
    QStaticText unplacedText_;
    QPoint pressedAt_;
    double pressedLow_ = 0;
    bool dragging_ = false;
    bool pressed_ = false;
    QTimer* fadeTimer_ = nullptr;
    QPixmap background_;
    BackgroundKey backgroundKey_;
    std::uint64_t marksVersion_ = 0;     // moves on whenever spots went, so every mark is drawn again
    std::vector<double> newMarks_;       // marks of spots added since the last painting
    bool resetPending_ = false;          // the list was refilled since the map read it
    int pendingFirst_ = -1;              // rows the list added since the map last read it
    int pendingLast_ = -1;
    refresh_pacing::FramePacer pacer_{this, [this] { catchUp(); }};
};

}  // namespace quendra
