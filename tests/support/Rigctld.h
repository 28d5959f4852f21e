#pragma once

// Hamlib's network daemon running its dummy radio on 127.0.0.1, for tests that tune a radio, and
// a plain second client that reads back what the radio holds.

#include "settings/Settings.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace quendra::testing {

// Generous: on a loaded two-core machine a fresh daemon may take seconds to listen.
inline constexpr int kRigWaitMs = 20000;

// Switches the radio on in the settings, pointed at a daemon on 127.0.0.1.
inline void pointRadioAt(Settings& settings, quint16 port) {
    settings.WriteProfileInt(u"RADIO", u"ENABLED", 1);
    settings.WriteProfileInt(u"RADIO", u"PORT", port);
}

inline bool rigctldInstalled() { return !QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty(); }

inline quint16 freeLocalPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

// What the radio holds, as the daemon reports it to "f" then "m": frequency in Hz, mode, passband.
// The daemon is asked to end the connection itself ("q"), and given a moment after that to finish
// closing it, so that its double close cannot end the connection of whoever comes next.
inline QStringList askRadio(quint16 port) {
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    if (!client.waitForConnected(kRigWaitMs))
        return {};
    client.write("f\nm\nq\n");
    QByteArray bytes;
    const bool closed = QTest::qWaitFor([&] {
        bytes += client.readAll();
        return client.state() == QAbstractSocket::UnconnectedState;
    }, kRigWaitMs);
    bytes += client.readAll();
    QTest::qWait(100);
    if (!closed)
        return {};
    return QString::fromLatin1(bytes).split(u'\n', Qt::SkipEmptyParts).mid(0, 3);
}

class Rigctld {
public:
    Rigctld() = default;
    ~Rigctld() { stop(); }
    Rigctld(const Rigctld&) = delete;
    Rigctld& operator=(const Rigctld&) = delete;

    // On a port of its own choosing. A port found free can be taken by someone else's connection
    // before the daemon binds it (both come from the same ephemeral range); the daemon then exits,
    // and another port is tried.
    bool start() {
        for (int attempt = 0; attempt < 5; ++attempt) {
            port_ = freeLocalPort();
            if (port_ != 0 && startOn(port_))
                return true;
        }
        return false;
    }

    // Again on the port it had, as a radio restarted by its operator.
    bool restart() { return port_ != 0 && startOn(port_); }

    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.kill();
        process_.waitForFinished(kRigWaitMs);
    }

    quint16 port() const { return port_; }

private:
    bool startOn(quint16 port) {
        stop();
        process_.start(QStandardPaths::findExecutable(QStringLiteral("rigctld")),
                       {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port)});
        if (!process_.waitForStarted(kRigWaitMs))
            return false;
        // Listening is the sign of readiness; an early exit (the port taken) ends the wait at once.
        // It is read from the kernel's socket table rather than tried with a connection: Hamlib
        // 4.5's daemon closes a finished client's socket twice, which can end the connection of
        // the client that comes next.
        const bool listening = QTest::qWaitFor([&] {
            return process_.state() != QProcess::Running || isListening(port);
        }, kRigWaitMs);
        if (listening && process_.state() == QProcess::Running)
            return true;
        stop();
        return false;
    }

    // A line of /proc/net/tcp reads "sl local_address rem_address st ...", the address as hex
    // "0100007F:1F90" and state 0A for a listening socket.
    static bool isListening(quint16 port) {
        QFile table(QStringLiteral("/proc/net/tcp"));
        if (!table.open(QIODevice::ReadOnly))
            return false;
        const QByteArray local = "0100007F:" + QByteArray::number(port, 16).rightJustified(4, '0').toUpper();
        const QList<QByteArray> lines = table.readAll().split('\n');
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 3 && fields.at(1) == local && fields.at(3) == "0A")
                return true;
        }
        return false;
    }

    quint16 port_ = 0;
    QProcess process_;
};

}  // namespace quendra::testing
