#include "alerts/AlertCenter.h"
#include "alerts/DesktopNotifier.h"
#include "alerts/WatchListDialog.h"
#include "dxcc/CountryLookup.h"
#include "filters/SpotFacts.h"
#include "settings/MemorySettings.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "support/FrameHarness.h"
#include "support/ManualClock.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace quendra;
using quendra::testing::ManualClock;

namespace {

// Set by main() when it could start a private session bus for this process.
bool g_privateBus = false;

// Stands in for the desktop's notification service and keeps what it was asked to show.
class NotificationListener : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList summaries;
    QStringList bodies;

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout) {
        Q_UNUSED(appName) Q_UNUSED(replacesId) Q_UNUSED(icon) Q_UNUSED(actions) Q_UNUSED(hints)
        Q_UNUSED(expireTimeout)
        summaries << summary;
        bodies << body;
        return static_cast<uint>(summaries.size());
    }
};

struct Watching {
    MemorySettings settings;
    ManualClock clock;
    CountryLookup countries;
    CountryResolver resolver{countries};
    SpotStore store{settings, clock};
    std::unique_ptr<AlertCenter> alerts;

    explicit Watching(std::initializer_list<std::u16string_view> watched) {
        store.setResolver(&resolver);
        int n = 0;
        for (std::u16string_view entry : watched)
            settings.WriteProfileString(u"ALERTS", u"WATCH" + std::u16string(1, char16_t(u'0' + n++)), entry);
        settings.WriteProfileInt(u"ALERTS", u"NOTIFY", 0);
        alerts = std::make_unique<AlertCenter>(settings, clock, store, countries);
    }
    int spot(std::u16string_view spotter, std::u16string_view kHz, std::u16string_view station) {
        const int index = store.parseTimedSpot(u"1234Z DX de " + std::u16string(spotter) + u": " +
                                                   std::u16string(kHz) + u" " + std::u16string(station) + u" CW 599",
                                               u"NODE");
        alerts->spotArrived(index);
        return index;
    }
};

}  // namespace

class AlertsTest : public QObject {
    Q_OBJECT

private slots:
    void aStationAndBandAlertsOncePerLifetime() {
        Watching watching{u"ZZ1AB", u"ZY*"};
        QSignalSpy alerted(watching.alerts.get(), &AlertCenter::alerted);
        const int first = watching.spot(u"ZY9AA", u"14025.0", u"ZZ1AB");
        const int other = watching.spot(u"ZY9AA", u"14030.0", u"ZZ2XX");
        QCOMPARE(alerted.count(), 1);
        QCOMPARE(alerted.last().at(0).toString(), QStringLiteral("ZZ1AB on 20m"));
        QVERIFY(watching.alerts->isAlerted(first));
        QVERIFY(!watching.alerts->isAlerted(other));
        // Another spotter, same band, within MAXTIME: highlighted, not announced again.
        watching.clock.advance(1799);
        const int repeat = watching.spot(u"ZZ9BB", u"14025.5", u"ZZ1AB");
        QVERIFY(watching.alerts->isAlerted(repeat));
        QCOMPARE(alerted.count(), 1);
        // Another band counts on its own; a pattern alerts as well.
        watching.spot(u"ZZ9BB", u"7010.0", u"ZZ1AB");
        watching.spot(u"ZZ9BB", u"7011.0", u"ZY3CD");
        QCOMPARE(alerted.count(), 3);
        // A lifetime after the first alert, the station on 20m is news again.
        watching.clock.advance(2);
        watching.spot(u"ZY7DD", u"14025.9", u"ZZ1AB");
        QCOMPARE(alerted.count(), 4);
        // A shorter MAXTIME is honoured as soon as it is set.
        watching.settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 60);
        watching.clock.advance(61);
        watching.spot(u"ZY6EE", u"14025.1", u"ZZ1AB");
        QCOMPARE(alerted.count(), 5);
    }

    void alertedRowsAreHighlightedInTheList() {
        Watching watching{u"ZZ1AB"};
        SpotListModel model;
        model.setStore(&watching.store);
        watching.alerts->attach(model);
        const int plain = watching.spot(u"ZY9AA", u"14030.0", u"ZZ2XX");
        const int watched = watching.spot(u"ZY9AA", u"14025.0", u"ZZ1AB");
        model.setRows({plain, watched});
        QCOMPARE(model.index(0, 0).data(SpotListModel::AlertedRole).toBool(), false);
        QVERIFY(!model.index(0, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(model.index(1, 0).data(SpotListModel::AlertedRole).toBool(), true);
        QVERIFY(model.index(1, 2).data(Qt::BackgroundRole).isValid());
        watching.alerts.reset();
        QCOMPARE(model.index(1, 0).data(SpotListModel::AlertedRole).toBool(), false);
    }

    void theWatchListDialogShowsProblems() {
        WatchListDialog dialog({u"ZZ1AB", u"ZZ1* bands=20m"}, nullptr);
        QCOMPARE(dialog.problemsText(), QString());
        dialog.editor()->appendPlainText(QStringLiteral("\nZZ2AB bands=11m\n  ZY3CD  "));
        QVERIFY(dialog.problemsText().startsWith(QStringLiteral("Line 4: ")));
        const std::vector<std::u16string> expected{u"ZZ1AB", u"ZZ1* bands=20m", u"ZZ2AB bands=11m", u"ZY3CD"};
        QCOMPARE(dialog.entries(), expected);
        QVERIFY(!dialog.editor()->accessibleName().isEmpty());
    }

    void theToolsMenuFollowsTheClassicMenu() {
        quendra::testing::FrameHarness harness;
        QVERIFY(harness.create());
        QStringList titles;
        for (QAction* menu : harness.frame.menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&Menu", "&Tools"}));
        auto* sound = harness.frame.findChild<QAction*>(QStringLiteral("alertSound"));
        auto* notify = harness.frame.findChild<QAction*>(QStringLiteral("alertNotify"));
        QVERIFY(sound && notify);
        QVERIFY(notify->isChecked());
        QVERIFY(!sound->isChecked());
        sound->setChecked(true);
        QCOMPARE(harness.settings.GetProfileInt(u"ALERTS", u"SOUND", 0), 1);
    }

    void aNotificationReachesTheSessionBus() {
        if (!g_privateBus)
            QSKIP("dbus-daemon is not available");
        NotificationListener listener;
        QDBusConnection service =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("notificationService"));
        QVERIFY(service.isConnected());
        QVERIFY(service.registerObject(QString::fromLatin1(DesktopNotifier::kPath), &listener,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(QString::fromLatin1(DesktopNotifier::kService)));

        Watching watching{u"ZZ1AB"};
        watching.settings.WriteProfileInt(u"ALERTS", u"NOTIFY", 1);
        watching.store.parseTimedSpot(u"1234Z DX de ZY9AA: 14025.0 ZZ1AB CW 599 up 2", u"NODE");
        watching.alerts->spotArrived(watching.store.count() - 1);
        QTRY_COMPARE(listener.summaries, QStringList{QStringLiteral("ZZ1AB on 20m")});
        const QString body = listener.bodies.first();
        for (const char* part : {"14025.0 kHz", "CW", "ZY9AA", "CW 599 up 2"})
            QVERIFY2(body.contains(QLatin1String(part)), qPrintable(body));

        // Switched off, nothing more is sent, though the alert still happens.
        watching.settings.WriteProfileInt(u"ALERTS", u"NOTIFY", 0);
        QSignalSpy alerted(watching.alerts.get(), &AlertCenter::alerted);
        watching.spot(u"ZY9AA", u"7010.0", u"ZZ1AB");
        QCOMPARE(alerted.count(), 1);
        // With nobody owning the name, sending still succeeds quietly and the program carries on.
        service.unregisterService(QString::fromLatin1(DesktopNotifier::kService));
        watching.settings.WriteProfileInt(u"ALERTS", u"NOTIFY", 1);
        watching.spot(u"ZY9AA", u"3510.0", u"ZZ1AB");
        QCOMPARE(alerted.count(), 2);
        QTest::qWait(100);
        QCOMPARE(listener.summaries.size(), 1);
        service.unregisterObject(QString::fromLatin1(DesktopNotifier::kPath));
        QDBusConnection::disconnectFromBus(QStringLiteral("notificationService"));
    }
};

// A private session bus for this process alone, started before the application so that Qt's
// session bus is this one; the daemon is ended by its process id when the tests are done.
int main(int argc, char** argv) {
    long daemonPid = 0;
    if (FILE* daemon = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r")) {
        char address[512] = {};
        char pid[64] = {};
        if (fgets(address, sizeof address, daemon) && fgets(pid, sizeof pid, daemon)) {
            std::string text(address);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            setenv("DBUS_SESSION_BUS_ADDRESS", text.c_str(), 1);
            daemonPid = std::strtol(pid, nullptr, 10);
            g_privateBus = daemonPid > 0 && !text.empty();
        }
        pclose(daemon);
    }
    if (!g_privateBus)
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quendra-test-bus", 1);
    int result = 0;
    {
        QApplication app(argc, argv);
        AlertsTest test;
        result = QTest::qExec(&test, argc, argv);
    }
    if (daemonPid > 0)
        kill(static_cast<pid_t>(daemonPid), SIGTERM);
    return result;
}

#include "AlertsTest.moc"
