#pragma once

#include "activity/BandActivity.h"
#include "features/Feature.h"

#include <QObject>
#include <QPointer>

class QAction;
class QTimer;

namespace quendra {

class BandActivityModel;
class BandActivityWindow;
class FeatureHost;

// Counts every stored spot by band and continent of the spotted station, and on Tools > Band
// activity shows the counts of the last 15 minutes (or hour, ACTIVITY/HOUR) as a grid. A click
// on a cell sets the filter bar to that band and continent.
class BandActivityFeature : public QObject, public Feature {
    Q_OBJECT
public:
    explicit BandActivityFeature(FeatureHost& host);
    ~BandActivityFeature() override;

    void spotStored(int storeIndex) override;

    QAction* windowAction() const { return windowAction_; }
    BandActivityWindow* window() const;
    BandActivityModel& model() const { return *model_; }
    // Counts again, up to now.
    void refresh();
    // As a click on that cell does.
    void choose(int band, int column);

private:
    void showWindow();
    std::int64_t windowSeconds() const;

    FeatureHost& host_;
    BandActivity activity_;
    BandActivityModel* model_;
    QAction* windowAction_ = nullptr;
    QTimer* timer_;
    QPointer<BandActivityWindow> window_;
};

}  // namespace quendra
