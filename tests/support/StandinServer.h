#pragma once

// Starts one of the stand-in servers (engine or cluster node) for a test: on a free port of
// 127.0.0.1, read back from the line the program prints once it listens. The server is stopped
// when the object goes.

#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

class StandinServer {
public:
    static constexpr int kWaitMs = 5000;

    // program: "quendra_engine_standin" or "quendra_node_standin"; arguments as on its --help.
    bool start(const QString& program, QStringList arguments) {
        process_.setProgram(QStringLiteral(QUENDRA_TOOLS_DIR "/") + program);
        process_.setArguments(arguments << QStringLiteral("--port") << QStringLiteral("0"));
        process_.start();
        if (!process_.waitForStarted(kWaitMs))
            return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(kWaitMs))
                return false;
        const QString line = QString::fromLatin1(process_.readLine()).trimmed();
        static const QRegularExpression announced(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$"));
        const auto match = announced.match(line);
        port_ = static_cast<quint16>(match.captured(1).toUInt());
        return match.hasMatch() && port_ != 0;
    }

    quint16 port() const { return port_; }

    bool connect(QTcpSocket& socket) const {
        socket.connectToHost(QStringLiteral("127.0.0.1"), port_);
        return socket.waitForConnected(kWaitMs);
    }

    QProcess& process() { return process_; }

    ~StandinServer() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(kWaitMs);
        }
    }

private:
    QProcess process_;
    quint16 port_ = 0;
};
