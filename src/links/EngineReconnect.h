#pragma once

#include <QObject>

namespace quendra {

class LinkRetry;
class NorrvelSocket;
class Settings;

// Brings the engine link back after it failed or dropped, when the operator asked for it
// (AUTOLINK\ENGINE_RECONNECT), with the same growing pause as the telnet link. The engine's
// address is the one in the settings, read at each attempt. Off, it does nothing.
class EngineReconnect : public QObject {
    Q_OBJECT
public:
    EngineReconnect(Settings& settings, NorrvelSocket& link, QObject* parent = nullptr);
    ~EngineReconnect() override;

    // The operator's own Connect and Disconnect end any retrying.
    void userConnected();
    void userDisconnected();
    bool retrying() const;

private:
    void tryAgainLater();

    Settings& settings_;
    NorrvelSocket& link_;
    LinkRetry* retry_ = nullptr;
    // The engine is connected at start without the operator, so a loss counts from the start.
    bool stoppedByUser_ = false;
};

}  // namespace quendra
