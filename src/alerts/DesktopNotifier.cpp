#include "alerts/DesktopNotifier.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace quendra {
namespace {

// Long enough to be seen over a busy band, short enough not to pile up.
constexpr int kExpireMs = 10'000;

}  // namespace

DesktopNotifier::DesktopNotifier() : connection_(QDBusConnection::sessionBus()) {}

DesktopNotifier::DesktopNotifier(QDBusConnection connection) : connection_(std::move(connection)) {}

bool DesktopNotifier::notify(const QString& summary, const QString& body) {
    if (!connection_.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                       QString::fromLatin1(kService), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("category"), QStringLiteral("im.received"));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("quendra"));
    call << QStringLiteral("Quendra") << uint{0} << QStringLiteral("quendra") << summary << body << QStringList{}
         << hints << int{kExpireMs};
    // The service may be absent or slow; its reply, or the error, is of no use here.
    return connection_.send(call);
}

}  // namespace quendra
