#include "alerts/AlertCenter.h"

#include "alerts/WatchListDialog.h"
#include "features/NeedOfSpot.h"
#include "platform/QtText.h"

#include "filters/SpotFacts.h"
#include "modes/BandPlan.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace quendra {

AlertCenter::AlertCenter(Settings& settings, const Clock& clock, const SpotStore& store,
                         const CountryLookup& countries, QObject* parent)
    : QObject(parent), settings_(settings), clock_(clock), store_(store), countries_(countries) {
    reload();
}

// The list may outlive this; it must not ask a destroyed object about its rows.
AlertCenter::~AlertCenter() {
    if (model_)
        model_->setAlertTest({});
}

void AlertCenter::reload() { list_ = WatchList::load(settings_, &countries_).list; }

void AlertCenter::attach(SpotListModel& model) {
    model_ = &model;
    model.setAlertTest([this](int index) { return isAlerted(index); });
}

bool AlertCenter::isAlerted(int index) const {
    if (alertedSpots_.empty() || index < 0 || index >= store_.count())
        return false;
    return alertedSpots_.contains(&store_.spotAt(index));
}

bool AlertCenter::spotArrived(int index) {
    if (index < 0 || index >= store_.count())
        return false;
    const Spot& spot = store_.spotAt(index);
    alertedSpots_.erase(&spot);
    if (list_.size() == 0)
        return false;
    const SpotDetails& details = store_.detailsAt(index);
    SpotFacts facts = factsOf(spot, details, countries_);
    facts.needed = needs_ && needs_->needed(index);
    if (list_.firstMatch(facts) < 0)
        return false;
    forgetExpired();
    alertedSpots_.insert(&spot);
    const int lifetime = readSetting(settings_, setting::kSpotLifetimeSeconds);
    if (throttle_.shouldAlert(spot.station, details.band, secondsSince1970(clock_.now()), lifetime))
        announce(index, details.band);
    return true;
}

// Bounded by twice the store: then the dead addresses go, in one pass. A pass leaves at most one
// address per stored spot, so the passes cost a constant per alert however large the store.
void AlertCenter::forgetExpired() {
    if (alertedSpots_.size() < 2 * static_cast<std::size_t>(store_.count()) + 64)
        return;
    std::unordered_set<const Spot*> alive;
    for (int i = 0; i < store_.count(); ++i) {
        if (alertedSpots_.contains(&store_.spotAt(i)))
            alive.insert(&store_.spotAt(i));
    }
    alertedSpots_ = std::move(alive);
}

void AlertCenter::announce(int index, int band) {
    const Spot& spot = store_.spotAt(index);
    const auto bands = amateurBands();
    const QString bandName = band >= 0 && static_cast<std::size_t>(band) < bands.size()
                                 ? QString::fromLatin1(bands[static_cast<std::size_t>(band)].name.data(),
                                                       static_cast<qsizetype>(bands[static_cast<std::size_t>(band)].name.size()))
                                 : toQString(spot.frequency) + QStringLiteral(" kHz");
    const QString summary = tr("%1 on %2").arg(toQString(spot.station), bandName);
    const std::string_view mode = modeName(store_.detailsAt(index).mode);
    QStringList body{tr("%1 kHz").arg(toQString(spot.frequency))};
    if (!mode.empty())
        body << QString::fromLatin1(mode.data(), static_cast<qsizetype>(mode.size()));
    body << tr("de %1").arg(toQString(spot.author));
    QString text = body.join(QStringLiteral(", "));
    if (const std::u16string need = needs_ ? needs_->needText(index) : std::u16string(); !need.empty())
        text = toQString(need) + QStringLiteral(": ") + text;
    if (!spot.info.empty())
        text += QLatin1Char('\n') + toQString(spot.info);
    if (readSetting(settings_, setting::kAlertNotify) != 0)
        notifier_.notify(summary, text);
    if (readSetting(settings_, setting::kAlertSound) != 0)
        QApplication::beep();
    emit alerted(summary, text);
}

void AlertCenter::addToTools(QMenu* tools, QWidget* window) {
    QAction* watch = tools->addAction(tr("&Watch list..."));
    watch->setObjectName(QStringLiteral("editWatchList"));
    connect(watch, &QAction::triggered, this, [this, window] { editWatchList(window); });
    tools->addSeparator();
    const auto addSwitch = [&](const QString& text, const char* name, const IntSetting& setting) {
        QAction* item = tools->addAction(text);
        item->setObjectName(QString::fromLatin1(name));
        item->setCheckable(true);
        item->setChecked(readSetting(settings_, setting) != 0);
        connect(item, &QAction::toggled, this, [this, &setting](bool on) { writeSetting(settings_, setting, on ? 1 : 0); });
    };
    addSwitch(tr("Desktop &notifications"), "alertNotify", setting::kAlertNotify);
    addSwitch(tr("Alert &sound"), "alertSound", setting::kAlertSound);
}

void AlertCenter::editWatchList(QWidget* window) {
    WatchListDialog dialog(WatchList::load(settings_, &countries_).texts, &countries_, window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::vector<std::u16string> texts = dialog.entries();
    WatchList::save(settings_, texts);
    reload();
}

}  // namespace quendra
