#pragma once

// What both stand-in servers share: option checks, loopback listening, orderly shutdown, and the
// random source behind reproducible traffic.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>
#include <QAbstractSocket>
#include <QTcpServer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <iterator>
#include <string>

#include <sys/socket.h>
#include <unistd.h>

namespace standin {

// A client whose unread output grows beyond this is dropped: a reader that stalls must not make
// the server grow without bound.
inline constexpr qint64 kMaxClientBacklog = 1 << 20;

// Said on stderr so that an operator (or a test) can tell a dropped client from a lost one.
inline void reportDroppedClient(const QAbstractSocket& socket, const char* reason) {
    std::fprintf(stderr, "dropped client %s:%u: %s\n", qPrintable(socket.peerAddress().toString()),
                 unsigned{socket.peerPort()}, reason);
}

[[noreturn]] inline void failUsage(const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::exit(2);
}

inline QCommandLineOption option(const char* name, const char* description, const char* valueName = nullptr,
                                 const char* defaultValue = nullptr) {
    QCommandLineOption option(QString::fromLatin1(name), QString::fromLatin1(description));
    if (valueName)
        option.setValueName(QString::fromLatin1(valueName));
    if (defaultValue)
        option.setDefaultValue(QString::fromLatin1(defaultValue));
    return option;
}

inline quint64 unsignedOption(const QCommandLineParser& parser, const QString& name, quint64 max) {
    bool ok = false;
    const quint64 value = parser.value(name).toULongLong(&ok);
    if (!ok || value > max)
        failUsage(QStringLiteral("--%1 needs a whole number from 0 to %2").arg(name).arg(max));
    return value;
}

inline double rateOption(const QCommandLineParser& parser, const QString& name) {
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || !(value >= 0.0) || value > 1e6)
        failUsage(QStringLiteral("--%1 needs a number from 0 to 1000000").arg(name));
    return value;
}

// The signal handler may only do async-signal-safe work, so it writes one byte to a socket pair
// and the event loop quits when it reads that byte.
inline int signalSockets[2] = {-1, -1};

inline void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
}

inline void quitOnTerminationSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalSockets[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Listens on 127.0.0.1 only and tells the starter which port it got (port 0 picks a free one).
inline bool listenOnLoopback(QTcpServer& server, quint16 port) {
    if (!server.listen(QHostAddress::LocalHost, port)) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u: %s\n", unsigned{port},
                     qPrintable(server.errorString()));
        return false;
    }
    std::printf("listening on 127.0.0.1:%u\n", unsigned{server.serverPort()});
    std::fflush(stdout);
    return true;
}

// A seeded generator: the same seed gives the same traffic, apart from the clock times in it.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool chance(double probability) { return std::bernoulli_distribution(probability)(engine_); }
    template <typename Items> const auto& pick(const Items& items) {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(std::size(items)) - 1))];
    }

private:
    std::mt19937 engine_;
};

}  // namespace standin
