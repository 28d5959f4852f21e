#pragma once

#include <QDBusConnection>
#include <QString>

namespace quendra {

// Hands a notification to the desktop's notification service on the session bus. The call is
// sent without waiting for an answer: with no bus, or no service owning the name, nothing shows
// and the program carries on.
class DesktopNotifier {
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";

    DesktopNotifier();
    explicit DesktopNotifier(QDBusConnection connection);

    // False when it could not even be sent.
    bool notify(const QString& summary, const QString& body);

private:
    QDBusConnection connection_;
};

}  // namespace quendra
