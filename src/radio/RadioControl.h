#pragma once

#include "features/Feature.h"

#include <QObject>

class QAction;
class QLabel;

namespace quendra {

class FeatureHost;
class RadioLink;

// Tunes the radio from the spot list: an activated row (double-click or Enter) or the row menu's
// "Tune radio" sends the spot's frequency and mode to the radio; the radio's own frequency marks
// the nearest listed spot and shows in a status-bar field. With the radio switched off in the
// settings it does nothing at all, and the window looks as it always did. Every other feature
// hears the radio's frequency as it is read.
class RadioControl : public QObject, public Feature {
    Q_OBJECT
public:
    // The status bar is asked for only once the radio is switched on, so no status bar appears
    // otherwise.
    explicit RadioControl(FeatureHost& host);
    ~RadioControl() override;

    bool enabled() const;
    // Tunes to the spot at this store index; false when the radio is off or the spot has no
    // usable frequency.
    bool tuneTo(int storeIndex);
    RadioLink& link() const { return *link_; }
    QAction* tuneAction() const { return tuneAction_; }
    // The radio's frequency as last read, in kHz; 0 before the first reading.
    double lastKHz() const { return lastKHz_; }

private:
    void showStatus(const QString& text);

    FeatureHost& host_;
    RadioLink* link_ = nullptr;
    QAction* tuneAction_ = nullptr;
    QLabel* statusField_ = nullptr;
    double lastKHz_ = 0;
};

}  // namespace quendra
