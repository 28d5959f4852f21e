#pragma once

#include "features/Feature.h"

#include <QObject>

class QAction;
class QComboBox;
class QDockWidget;

namespace quendra {

class BandMapCanvas;
class FeatureHost;

// Tools > Band map: a pane docked at the right of the window that draws one band with the listed
// spots on it and the radio's frequency. The band is the radio's while the radio is on and on a
// band, else the one picked in the pane. The pane is made the first time it is shown, so until
// then nothing of it exists; hidden, it spends nothing and reads the list again once shown.
class BandMapFeature : public QObject, public Feature {
    Q_OBJECT
public:
    explicit BandMapFeature(FeatureHost& host);
    ~BandMapFeature() override;

    QAction* showAction() const { return showAction_; }
    // Null until the map is first shown.
    QDockWidget* dock() const { return dock_; }
    BandMapCanvas* canvas() const { return canvas_; }
    QComboBox* bandSelector() const { return bandSelector_; }

    void radioFrequency(double kHz) override;

private:
    void setShown(bool shown);
    void makePane();
    void restorePlace();
    void savePlace() const;
    void showBand();
    bool radioDecides() const;

    FeatureHost& host_;
    QAction* showAction_ = nullptr;
    QDockWidget* dock_ = nullptr;
    BandMapCanvas* canvas_ = nullptr;
    QComboBox* bandSelector_ = nullptr;
    double radioKHz_ = 0;
};

}  // namespace quendra
