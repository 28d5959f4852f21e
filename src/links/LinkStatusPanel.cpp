#include "links/LinkStatusPanel.h"

#include "links/Link.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace quendra {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kSpotWindow = std::chrono::minutes(1);

QString elapsed(Clock::duration since) {
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(since).count();
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

LinkStatusPanel::LinkStatusPanel(QStatusBar& bar, const Link& telnet, const Link& engine, QObject* parent)
    : QObject(parent), timer_(new QTimer(this)) {
    fields_[Telnet] = {&telnet, new QLabel(&bar), tr("Telnet"), {}, false, {}, {}};
    fields_[Engine] = {&engine, new QLabel(&bar), tr("Packet"), {}, false, {}, {}};
    for (Field& field : fields_) {
        field.label->setAccessibleName(tr("%1 link").arg(field.name));
        bar.addPermanentWidget(field.label);
    }
    // Minutes and the spot rate move on by themselves; ten seconds is fine enough for either.
    timer_->setInterval(10'000);
    connect(timer_, &QTimer::timeout, this, &LinkStatusPanel::refresh);
    timer_->start();
    refresh();
}

void LinkStatusPanel::setNode(Which link, const QString& node) {
    fields_[link].node = node;
    update(fields_[link]);
}

void LinkStatusPanel::spotReceived(Which link) { fields_[link].spots.push_back(Clock::now()); }

void LinkStatusPanel::refresh() {
    for (Field& field : fields_)
        update(field);
}

QString LinkStatusPanel::text(Which link) const { return fields_[link].label->text(); }

void LinkStatusPanel::update(Field& field) {
    const auto now = Clock::now();
    while (!field.spots.empty() && now - field.spots.front() > kSpotWindow)
        field.spots.pop_front();
    const bool connected = field.link->connected() != 0;
    if (connected && !field.wasConnected)
        field.connectedAt = now;
    field.wasConnected = connected;
    QString text = field.name + QStringLiteral(": ");
    if (!connected) {
        text += tr("not connected");
    } else {
        if (!field.node.isEmpty())
            text += field.node + QLatin1Char(' ');
        text += tr("%1, %2 spots/min").arg(elapsed(now - field.connectedAt)).arg(field.spots.size());
    }
    field.label->setText(text);
}

}  // namespace quendra
