#pragma once

#include "alerts/AlertThrottle.h"
#include "alerts/DesktopNotifier.h"
#include "alerts/WatchList.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <unordered_set>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace quendra {

class Clock;
class CountryLookup;
class NeedOfSpot;
class Settings;
class SpotListModel;
class SpotStore;
struct Spot;

// Watches new spots for the stations on the watch list (ALERTS\WATCHn): a match is drawn
// highlighted in the list and, at most once per station and band within MAXTIME, announced by a
// desktop notification (ALERTS\NOTIFY) and a sound (ALERTS\SOUND). It owns the "Tools" menu
// that edits these.
class AlertCenter : public QObject {
    Q_OBJECT
public:
    AlertCenter(Settings& settings, const Clock& clock, const SpotStore& store, const CountryLookup& countries,
                QObject* parent = nullptr);
    ~AlertCenter() override;

    // Draws the alerted spots of this list highlighted.
    void attach(SpotListModel& model);
    // Adds the watch list and the alert switches to the Tools menu; its dialog opens over `window`.
    void addToTools(QMenu* tools, QWidget* window);

    // The spot the store has just appended; true when it matched the watch list.
    bool spotArrived(int index);
    bool isAlerted(int index) const;

    const WatchList& watchList() const { return list_; }
    // Reads the watch list from the settings again.
    void reload();
    void setNotifier(DesktopNotifier notifier) { notifier_ = std::move(notifier); }
    // What the operator's log says of a spot, for the watch word "needed" and the notification's
    // text; not owned, null without a log.
    void setNeeds(const NeedOfSpot* needs) { needs_ = needs; }

    void editWatchList(QWidget* window);

signals:
    // A notification was let through with this summary and text (sent or not).
    void alerted(const QString& summary, const QString& text);

private:
    void announce(int index, int band);
    void forgetExpired();

    Settings& settings_;
    const Clock& clock_;
    const SpotStore& store_;
    const CountryLookup& countries_;
    WatchList list_;
    AlertThrottle throttle_;
    DesktopNotifier notifier_;
    const NeedOfSpot* needs_ = nullptr;
    // Stored spots keep their address while they live, unlike their index, which expiry moves.
    // An address freed by expiry and taken by a new spot is corrected when that spot arrives.
    std::unordered_set<const Spot*> alertedSpots_;
    QPointer<SpotListModel> model_;
};

}  // namespace quendra
