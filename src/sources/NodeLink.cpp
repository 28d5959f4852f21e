#include "sources/NodeLink.h"

#include "features/FeatureHost.h"
#include "links/LinkRetry.h"
#include "links/TelnetSocket.h"
#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"
#include "terminal/TerminalWindow.h"
#include "text/CodePage.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <numeric>

namespace quendra {
namespace {

using SteadyClock = std::chrono::steady_clock;

std::int64_t secondNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(SteadyClock::now().time_since_epoch()).count();
}

}  // namespace

NodeLink::NodeLink(FeatureHost& host, NodeSource source, int windowId, QObject* parent)
    : QObject(parent),
      host_(host),
      source_(std::move(source)),
      terminal_(std::make_unique<TerminalWindow>(host.settings(), windowId, TerminalStream::Telnet)),
      socket_(std::make_unique<TelnetSocket>()),
      intake_(host.store()),
      retry_(new LinkRetry(this)),
      status_(new QLabel),
      statusTimer_(new QTimer(this)) {
    const QString name = toQString(source_.name);
    terminal_->setObjectName(QStringLiteral("NodeTerminal%1").arg(windowId));
    terminal_->setAccessibleTitle(name);
    terminal_->setOwnerFrame(this);
    status_->setAccessibleName(tr("%1 link").arg(name));
    socket_->setMainWindow(this);
    socket_->setAddress(toQString(source_.host), source_.port);
    connect(socket_.get(), &AsyncSocket::connectFinished, this, &NodeLink::onConnectFinished);
    connect(socket_.get(), &AsyncSocket::closed, this, [this] { tryAgainLater("Link lost"); });
    connect(retry_, &LinkRetry::attemptDue, this, &NodeLink::attempt);
    // Minutes and the spot rate move on by themselves; ten seconds is fine enough for either.
    statusTimer_->setInterval(10'000);
    connect(statusTimer_, &QTimer::timeout, this, &NodeLink::updateStatus);
    statusTimer_->start();
    updateStatus();
}

NodeLink::~NodeLink() { socket_->setMainWindow(nullptr); }

void NodeLink::start() { socket_->connectLink(); }

void NodeLink::RouteTelnetText(std::u16string_view text, int /*length*/) {
    hand(intake_.telnetText(text, source_.name));
    for (const std::u16string& line : lines_.feed(text))
        host_.announceLinkText(LinkKind::FeatureLink, line);
    if (!loginAnswered_ && prompt_.feed(text))
        logIn();
}

void NodeLink::RouteTelnetStatus(std::u16string_view text) { hand(intake_.telnetStatus(text, source_.name)); }

void NodeLink::hand(const IntakeOutcome& outcome) {
    for (std::u16string_view piece : outcome.shown)
        terminal_->AppendText(piece);
    if (outcome.storedSpots.empty() && outcome.expiredSpots == 0)
        return;
    countSpots(static_cast<int>(outcome.storedSpots.size()));
    host_.listStoredSpots(LinkKind::FeatureLink, outcome);
}

void NodeLink::logIn() {
    loginAnswered_ = true;
    std::u16string lines = source_.call + u"\r\n";
    for (const std::u16string& command : source_.commands)
        lines += command + u"\r\n";
    socket_->sendTyped(encodeWindows1252(lines));
}

void NodeLink::SendTypedLine(std::u16string_view line) { socket_->sendTyped(encodeWindows1252(line)); }

void NodeLink::onConnectFinished(int error) {
    if (error != 0) {
        tryAgainLater("Connect failed");
        return;
    }
    prompt_.reset();
    lines_.clear();  // a line the last connection left unfinished never ends
    loginAnswered_ = false;
    intake_.setReadListings(readSetting(host_.settings(), setting::kReadSpotListings) != 0);
    connectedAt_ = SteadyClock::now();
    retry_->succeeded();
    updateStatus();
}

void NodeLink::tryAgainLater(const char* what) {
    const RetrySchedule::Retry next = retry_->scheduleAfterFailure();
    const auto seconds = std::max<long long>(1, (next.pause.count() + 500) / 1000);
    RouteTelnetStatus(toU16(QStringLiteral("***%1; trying again in %2 s. \r\n").arg(QLatin1String(what)).arg(seconds)));
    updateStatus();
}

void NodeLink::attempt() {
    if (socket_->connected() != 0)
        return;
    RouteTelnetStatus(u"***Reconnecting... \r\n");
    socket_->connectLink();
}

void NodeLink::countSpots(int spots) {
    const std::int64_t now = secondNow();
    // Seconds that passed without a spot are emptied as the ring moves past them.
    for (std::int64_t second = std::max(lastSecond_ + 1, now - 59); second <= now; ++second)
        spotsPerSecond_[static_cast<std::size_t>(second % 60)] = 0;
    lastSecond_ = std::max(lastSecond_, now);
    spotsPerSecond_[static_cast<std::size_t>(now % 60)] += spots;
}

int NodeLink::spotsLastMinute() {
    countSpots(0);
    return std::accumulate(spotsPerSecond_.begin(), spotsPerSecond_.end(), 0);
}

void NodeLink::updateStatus() {
    QString text = toQString(source_.name) + QStringLiteral(": ");
    if (socket_->connected() != 0) {
        const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(SteadyClock::now() - connectedAt_).count();
        text += tr("%1:%2, %3 spots/min")
                    .arg(minutes / 60)
                    .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                    .arg(spotsLastMinute());
    } else if (retry_->waiting()) {
        text += tr("trying again");
    } else {
        text += tr("not connected");
    }
    status_->setText(text);
}

}  // namespace quendra
