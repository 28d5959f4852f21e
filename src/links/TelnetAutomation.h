#pragma once

#include "autolink/LoginPrompt.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string_view>

namespace quendra {

class LinkRetry;
class Settings;
class TelnetSocket;

// What the telnet link does by itself when the operator asked for it (AUTOLINK): answers the
// node's call-sign prompt once per connection and sends the start-up commands, and brings a lost
// link back with a growing pause, moving on through the address history after repeated failures.
// With every option off it does nothing, and the link behaves exactly as it always did.
class TelnetAutomation : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(std::u16string_view)> say;                  // a line for the terminal
        std::function<void(const QString& host, int port)> addressChosen;  // before each retry
    };
    TelnetAutomation(Settings& settings, TelnetSocket& link, Hooks hooks, QObject* parent = nullptr);
    ~TelnetAutomation() override;

    // What the node sent, as the terminal shows it.
    void received(std::u16string_view text);
    // The operator's own Connect (after the dialog) and Disconnect end any retrying.
    void userConnected();
    void userDisconnected();
    bool retrying() const;
    LinkRetry& retry() const { return *retry_; }

private:
    void onConnectFinished(int error);
    void onClosed();
    void tryAgainLater(const char* what);
    void attempt(int address);
    bool option(int value) const { return value != 0; }

    Settings& settings_;
    TelnetSocket& link_;
    Hooks hooks_;
    LoginPrompt prompt_;
    LinkRetry* retry_ = nullptr;
    bool loginWanted_ = false;
    bool loginAnswered_ = false;
    // Set from the operator's Disconnect until the next Connect: a close then is no loss.
    bool stoppedByUser_ = true;
};

}  // namespace quendra
