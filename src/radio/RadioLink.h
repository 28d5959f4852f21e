#pragma once

#include "radio/RigReplyReader.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <optional>

class QTcpSocket;

namespace quendra {

class Settings;

// The link to the radio through Hamlib's rigctld. A tune connects first when needed, without
// waiting: the commands wait in a queue until the connection stands. While connected the link
// reads the radio's frequency and mode every second, so the status bar follows the VFO knob.
// Any transport trouble (refused, lost, unanswered) drops the connection and says so; the next
// tune connects again. Settings are read at each connect, so a change takes effect there.
class RadioLink : public QObject {
    Q_OBJECT

public:
    enum class State { NotConnected, Connecting, Connected };

    static constexpr int kReplyTimeoutMs = 2000;
    static constexpr int kConnectTimeoutMs = 5000;
    static constexpr int kReadIntervalMs = 1000;

    explicit RadioLink(Settings& settings, QObject* parent = nullptr);
    ~RadioLink() override;

    // Sets the radio to a spot's frequency text in kHz and, unless the token is empty, to the
    // Hamlib mode ("CW", "USB", "PKTUSB"). A token that is not one sets the frequency alone.
    // False when the radio is switched off in the settings or the text holds no frequency;
    // otherwise the outcome arrives as tuneFinished. A tune not yet sent is replaced by a newer one.
    bool tune(const QString& frequencyText, const QString& modeToken);
    void disconnectFromRadio();

    State state() const { return state_; }
    const QString& statusText() const { return status_; }

signals:
    void statusChanged(const QString& text);
    void frequencyRead(qint64 hz, const QString& mode);
    void tuneFinished(bool ok);

private:
    enum class Purpose { TuneFrequency, TuneMode, ReadFrequency, ReadMode };
    struct Command {
        QByteArray line;
        RigReplyKind kind;
        Purpose purpose;
    };

    void connectToDaemon();
    void onConnected();
    void onReadyRead();
    void onTransportEnd(bool lost);
    bool retryQuietly();
    void onTimeout();
    void readRadio();
    void sendNext();
    void handleReply(const RigReply& reply);
    void dropQueued(Purpose purpose);
    bool tunePending() const;
    void fail(const QString& status);
    // Ends the connection and forgets everything queued on it.
    void dropSocket();
    void releaseSocket();
    void setStatus(const QString& text);

    Settings& settings_;
    QTcpSocket* socket_ = nullptr;
    State state_ = State::NotConnected;
    // At most one tune (two commands) and one reading (two commands): tune() replaces an unsent
    // tune, and a reading is only queued when nothing else waits.
    std::deque<Command> queue_;
    std::optional<Command> inFlight_;
    RigReplyReader reader_;
    QTimer replyTimer_;
    QTimer readTimer_;
    qint64 readHertz_ = 0;
    bool answeredOnConnection_ = false;
    // One quiet reconnect per tune that had to connect, for a connection lost before any answer.
    bool quietRetryLeft_ = false;
    QString status_;
};

}  // namespace quendra
