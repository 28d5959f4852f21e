#pragma once

#include "features/Feature.h"
#include "propagation/PropagationReport.h"

#include <QObject>
#include <QPointer>

class QAction;
class QLabel;

namespace quendra {

class FeatureHost;
class PropagationWindow;

// Reads the propagation reports (WWV, WCY) any node sends, on either link, and keeps the last
// 24 hours of them. The terminal shows them as before. With PROPAGATION/STATUS set the status bar
// shows the last one; Tools > Propagation shows them all as a plot.
class PropagationFeature : public QObject, public Feature {
    Q_OBJECT
public:
    explicit PropagationFeature(FeatureHost& host);
    ~PropagationFeature() override;

    void linkReceived(LinkKind link, std::u16string_view text) override;

    const PropagationHistory& history() const { return history_; }
    QAction* windowAction() const { return windowAction_; }
    PropagationWindow* window() const;
    QLabel* statusField() const { return statusField_; }

private:
    void showWindow();

    FeatureHost& host_;
    PropagationReader telnet_;
    PropagationReader engine_;
    PropagationHistory history_;
    QAction* windowAction_ = nullptr;
    QLabel* statusField_ = nullptr;
    QPointer<PropagationWindow> window_;
};

}  // namespace quendra
