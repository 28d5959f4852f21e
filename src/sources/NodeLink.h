#pragma once

#include "app/StreamIntake.h"
#include "autolink/LoginPrompt.h"
#include "links/TelnetLineJoiner.h"
#include "links/LinkOwner.h"
#include "sources/NodeSources.h"
#include "terminal/TerminalOwner.h"

#include <QObject>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

class QLabel;
class QTimer;

namespace quendra {

class FeatureHost;
class LinkRetry;
class TelnetSocket;
class TerminalWindow;

// One node link beside the classic one, kept up in the background: it logs in with its call
// once per connection and sends its start-up commands, comes back after a failed or lost
// connection with a growing pause, shows the node's traffic in a terminal of its own, where
// typed lines go to this node, and hands its spots to the store under the node's name.
class NodeLink : public QObject, public LinkOwner, public TerminalOwner {
    Q_OBJECT
public:
    NodeLink(FeatureHost& host, NodeSource source, int windowId, QObject* parent = nullptr);
    ~NodeLink() override;

    void start();

    const NodeSource& source() const { return source_; }
    TelnetSocket& socket() const { return *socket_; }
    TerminalWindow& terminal() const { return *terminal_; }
    QLabel& statusField() const { return *status_; }
    LinkRetry& retry() const { return *retry_; }
    // Spots this link stored in the last minute.
    int spotsLastMinute();

    void RouteTelnetText(std::u16string_view text, int length) override;
    void RouteTelnetStatus(std::u16string_view text) override;
    void RouteMonitorText(std::u16string_view, int, int, int, int) override {}
    void OnLinkStateChanged() override { updateStatus(); }

    std::u16string callSign() const override { return source_.call; }
    void SendTypedLine(std::u16string_view line) override;

private:
    void hand(const IntakeOutcome& outcome);
    void logIn();
    void onConnectFinished(int error);
    void tryAgainLater(const char* what);
    void attempt();
    void updateStatus();
    void countSpots(int spots);

    FeatureHost& host_;
    NodeSource source_;
    std::unique_ptr<TerminalWindow> terminal_;
    std::unique_ptr<TelnetSocket> socket_;
    StreamIntake intake_;
    TelnetLineJoiner lines_;  // whole lines for the other features, apart from the intake's own
    LoginPrompt prompt_;
    bool loginAnswered_ = false;
    LinkRetry* retry_ = nullptr;
    QLabel* status_ = nullptr;  // owned by the status bar
    QTimer* statusTimer_ = nullptr;
    std::chrono::steady_clock::time_point connectedAt_;
    // Spots stored per second over the last minute, as a ring: bounded whatever the rate.
    std::array<int, 60> spotsPerSecond_{};
    std::int64_t lastSecond_ = 0;
};

}  // namespace quendra
