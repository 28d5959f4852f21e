// Spots that age out while one read is being stored: the list, the alerts and everything else that
// hears of the read's spots must see each stored spot once, in arrival order, and no other.
#include "alerts/AlertCenter.h"
#include "alerts/AlertsFeature.h"
#include "app/FeatureRoom.h"
#include "platform/QtText.h"
#include "spots/SpotListModel.h"
#include "support/FrameHarness.h"

#include <QSignalSpy>
#include <QTest>

#include <random>
#include <string>
#include <vector>

using namespace quendra;
using quendra::testing::FrameHarness;

namespace {

constexpr int kLifetime = 10;

std::u16string spotLine(std::u16string_view station, std::u16string_view kHz = u"14025.0",
                        std::u16string_view lineEnd = u"\r\n") {
    return u"DX de ZZ1AB:     " + std::u16string(kHz) + u"  " + std::u16string(station) +
           u"        CW 599                         1234Z" + std::u16string(lineEnd);
}

std::u16string stationName(int n) { return u"ZZ" + std::u16string(1, char16_t(u'A' + n % 26)) + u"N" + toU16(QString::number(n)); }

struct AgingFrame {
    FrameHarness harness;

    explicit AgingFrame(std::initializer_list<std::u16string_view> watched = {}) {
        harness.settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", kLifetime);
        int n = 0;
        for (std::u16string_view entry : watched)
            harness.settings.WriteProfileString(u"ALERTS", u"WATCH" + std::u16string(1, char16_t(u'0' + n++)), entry);
        harness.settings.WriteProfileInt(u"ALERTS", u"NOTIFY", 0);
    }
    SpotListModel& model() { return harness.frame.clusterView().model(); }
    void telnet(const std::u16string& text) { harness.frame.RouteTelnetText(text, static_cast<int>(text.size())); }

    // The stations the list shows, top to bottom, once the refresh that follows a read is over.
    std::vector<std::u16string> listedStations(std::size_t expected) {
        if (!QTest::qWaitFor([&] { return static_cast<std::size_t>(harness.listedRows()) == expected; }, 2000))
            return {};
        std::vector<std::u16string> stations;
        for (int row = 0; row < model().rowCount(); ++row)
            stations.push_back(toU16(model().index(row, SpotListModel::Station).data().toString()));
        return stations;
    }
    std::vector<std::u16string> alertedStations() {
        std::vector<std::u16string> stations;
        for (int row = 0; row < model().rowCount(); ++row) {
            if (model().index(row, 0).data(SpotListModel::AlertedRole).toBool())
                stations.push_back(toU16(model().index(row, SpotListModel::Station).data().toString()));
        }
        return stations;
    }
};

// What the list must show, kept as plainly as it can be said: every spot sent, once, in order,
// until a read that stores a new spot finds it older than the lifetime.
struct PlainList {
    struct Entry { std::u16string station; std::int64_t stamp; };
    std::vector<Entry> entries;

    void read(const std::vector<std::u16string>& stations, std::int64_t now) {
        bool agedOut = false;
        for (const std::u16string& station : stations) {
            bool known = false;
            for (const Entry& entry : entries)
                known = known || entry.station == station;
            if (known)
                continue;
            entries.push_back({station, now});
            if (!agedOut) {
                agedOut = true;
                std::erase_if(entries, [now](const Entry& entry) { return now - entry.stamp > kLifetime; });
            }
        }
    }
    std::vector<std::u16string> stations() const {
        std::vector<std::u16string> out;
        for (const Entry& entry : entries)
            out.push_back(entry.station);
        return out;
    }
};

}  // namespace

class AgeOutInReadTest : public QObject {
    Q_OBJECT
private slots:
    void aReadAfterAnAgeOutIsListedOnceInOrder_data() {
        QTest::addColumn<int>("spotsInRead");
        QTest::newRow("20 spots") << 20;
        QTest::newRow("500 spots") << 500;
    }
    void aReadAfterAnAgeOutIsListedOnceInOrder() {
        QFETCH(int, spotsInRead);
        AgingFrame f;
        QVERIFY(f.harness.startShown());
        f.telnet(spotLine(u"ZZ0OLDA") + spotLine(u"ZZ0OLDB") + spotLine(u"ZZ0OLDC"));
        QCOMPARE(f.listedStations(3).size(), 3u);
        f.harness.clock.advance(12);
        std::u16string read;
        std::vector<std::u16string> sent;
        for (int i = 0; i < spotsInRead; ++i) {
            sent.push_back(stationName(i));
            read += spotLine(sent.back());
        }
        f.telnet(read);
        QCOMPARE(f.harness.frame.spotStore().count(), spotsInRead);
        QCOMPARE(f.listedStations(sent.size()), sent);
    }

    void aWatchedStationInsideSuchAReadIsAlertedOnceAndAlone() {
        AgingFrame f{u"ZZEN4"};
        QVERIFY(f.harness.startShown());
        QSignalSpy alerted(&f.harness.frame.features().find<AlertsFeature>()->alerts(), &AlertCenter::alerted);
        f.telnet(spotLine(u"ZZ0OLDA") + spotLine(u"ZZ0OLDB") + spotLine(u"ZZ0OLDC"));
        f.harness.clock.advance(12);
        std::u16string read;
        for (int i = 0; i < 20; ++i)
            read += spotLine(stationName(i));  // the 5th is ZZEN4
        f.telnet(read);
        QCOMPARE(f.listedStations(20).size(), 20u);
        QCOMPARE(alerted.count(), 1);
        QCOMPARE(alerted.first().first().toString(), QStringLiteral("ZZEN4 on 20m"));
        QCOMPARE(f.alertedStations(), std::vector<std::u16string>{u"ZZEN4"});
    }

    // One monitored frame carries several spot lines; the engine's frames are whole units.
    void aMonitoredFrameWithSeveralSpotsAfterAnAgeOut() {
        AgingFrame f{u"ZZCN2"};
        QVERIFY(f.harness.startShown());
        QSignalSpy alerted(&f.harness.frame.features().find<AlertsFeature>()->alerts(), &AlertCenter::alerted);
        const auto frame = [](const std::vector<std::u16string>& stations) {
            std::u16string text = u" 1:Fm ZZ5XY To CQ <UI pid=F0 Len=70 >[12:34:56]\r";
            for (const std::u16string& station : stations)
                text += spotLine(station, u"7012.0", u"\r");
            return text;
        };
        const std::u16string old = frame({u"ZZ0OLDA", u"ZZ0OLDB"});
        f.harness.frame.RouteMonitorText(old, static_cast<int>(old.size()), 1, 0, 0);
        f.harness.clock.advance(12);
        std::vector<std::u16string> sent;
        for (int i = 0; i < 6; ++i)
            sent.push_back(stationName(i));
        const std::u16string heard = frame(sent);
        f.harness.frame.RouteMonitorText(heard, static_cast<int>(heard.size()), 1, 0, 0);
        QCOMPARE(f.listedStations(sent.size()), sent);
        QCOMPARE(alerted.count(), 1);
        QCOMPARE(f.alertedStations(), std::vector<std::u16string>{u"ZZCN2"});
    }

    // Random reads (lines cut anywhere, repeats among them) and random clock steps: the list is
    // always the plain list of what was sent within the lifetime.
    void randomReadsAndClockStepsMatchThePlainList() {
        AgingFrame f;
        QVERIFY(f.harness.startShown());
        PlainList plain;
        std::mt19937 random(20261208);
        int next = 0;
        for (int round = 0; round < 40; ++round) {
            for (int read = 0; read < 4; ++read) {
                f.harness.clock.advance(std::uniform_int_distribution<int>(0, 6)(random));
                std::u16string text;
                std::vector<std::u16string> completed;
                const int lines = std::uniform_int_distribution<int>(1, 8)(random);
                for (int i = 0; i < lines; ++i) {
                    // Now and then a station sent a moment ago again: a duplicate while it lives.
                    const bool repeat = next > 3 && random() % 5 == 0;
                    completed.push_back(stationName(repeat ? next - 1 - static_cast<int>(random() % 3) : next++));
                    text += spotLine(completed.back());
                }
                // The read may end inside its last line; the next read brings the rest.
                std::u16string rest;
                if (random() % 3 == 0)
                    rest = text.substr(text.size() - 1 - random() % 40);
                f.telnet(text.substr(0, text.size() - rest.size()));
                if (!rest.empty()) {
                    const std::u16string last = completed.back();
                    completed.pop_back();
                    plain.read(completed, f.harness.clock.seconds());
                    completed = {last};
                    f.telnet(rest);
                }
                plain.read(completed, f.harness.clock.seconds());
            }
            const std::vector<std::u16string> expected = plain.stations();
            QCOMPARE(f.listedStations(expected.size()), expected);
        }
    }
};

QTEST_MAIN(AgeOutInReadTest)
#include "AgeOutInReadTest.moc"
