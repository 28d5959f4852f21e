#pragma once

#include "features/Feature.h"

#include <QObject>

class QAction;

namespace quendra {

class FeatureHost;

// "Spot...": asks for a spot, filled in from the current row (or the radio's frequency while a
// radio reports one), and sends it to the node. In the Tools menu and the list's context menu.
class SpottingFeature : public QObject, public Feature {
    Q_OBJECT
public:
    explicit SpottingFeature(FeatureHost& host);

    void radioFrequency(double kHz) override { radioKHz_ = kHz; }
    void OnSpot();
    QAction* spotCommand() const { return spotCommand_; }

private:
    FeatureHost& host_;
    QAction* spotCommand_ = nullptr;
    double radioKHz_ = 0;
};

}  // namespace quendra
