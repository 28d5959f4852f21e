#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

namespace quendra::testing {

inline constexpr int kStandinWaitMs = 5000;

// One stand-in server started with --port 0; it reads back the port the program announces.
class StandinServer {
public:
    bool start(const QString& program, QStringList arguments) {
        process_.setProgram(QStringLiteral(QUENDRA_TOOLS_DIR "/") + program);
        process_.setArguments(arguments << QStringLiteral("--port") << QStringLiteral("0"));
        process_.start();
        if (!process_.waitForStarted(kStandinWaitMs))
            return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(kStandinWaitMs))
                return false;
        const QString line = QString::fromLatin1(process_.readLine()).trimmed();
        const auto match =
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$")).match(line);
        port_ = static_cast<quint16>(match.captured(1).toUInt());
        return match.hasMatch() && port_ != 0;
    }

    bool connect(QTcpSocket& socket) const {
        socket.connectToHost(QStringLiteral("127.0.0.1"), port_);
        return socket.waitForConnected(kStandinWaitMs);
    }

    QProcess& process() { return process_; }
    quint16 port() const { return port_; }

    ~StandinServer() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(kStandinWaitMs);
        }
    }

private:
    QProcess process_;
    quint16 port_ = 0;
};

}  // namespace quendra::testing
