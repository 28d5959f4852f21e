#pragma once

// The main frame as the tests meet it: real settings, clock and links, with the engine link
// pointed at 127.0.0.1 only, so that no test depends on a network or on a user's settings.

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "links/DlgTelnetConnect.h"
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/ManualClock.h"
#include "terminal/SendTerm.h"
#include "terminal/TerminalWindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QTcpServer>
#include <QTimer>
#include <QtTest>

#include <optional>
#include <string>
#include <string_view>

namespace quendra::testing {

struct FrameOptions {
    // The settings the frame reads and writes; null: a MemorySettings owned by the harness.
    Settings* settings = nullptr;
    // Tests that run against stand-in servers stamp spots with the real time.
    bool systemClock = false;
    bool highResolution = false;
    QSize size{640, 480};
    // Written before the frame is created; left unset, the frame starts as NOCALL.
    std::optional<std::u16string> callSign = {};
};

inline bool terminalHolds(const TerminalWindow& terminal, std::u16string_view text) {
    const MonitorBuffer& buffer = terminal.buffer();
    for (int i = 0; i < buffer.count(); ++i) {
        if (buffer.line(i).find(text) != std::u16string::npos)
            return true;
    }
    return false;
}

class FrameHarness {
public:
    static constexpr quint16 kNothingListens = 0;

    FrameHarness() : FrameHarness(FrameOptions{}) {}
    explicit FrameHarness(Settings& external) : FrameHarness(FrameOptions{.settings = &external}) {}
    explicit FrameHarness(FrameOptions options)
        : settings(options.settings ? *options.settings : ownSettings_),
          frame(settings, options.systemClock ? static_cast<const Clock&>(systemClock_) : clock,
                options.highResolution),
          callSign_(std::move(options.callSign)) {
        frame.resize(options.size);
    }

    void pointEngineAt(quint16 port) {
        settings.WriteProfileString(u"STATUS", u"NORRVEL", u"127.0.0.1");
        settings.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", port);
    }

    // A port that was free a moment ago: connecting to it is refused, never answered.
    bool pointEngineAtClosedPort() {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return false;
        pointEngineAt(probe.serverPort());
        return true;
    }

    bool create(quint16 enginePort = kNothingListens) {
        if (enginePort == kNothingListens) {
            if (!pointEngineAtClosedPort())
                return false;
        } else {
            pointEngineAt(enginePort);
        }
        if (callSign_)
            settings.WriteProfileString(u"STATUS", u"MYCALL", *callSign_);
        return frame.OnCreate() == 0;
    }

    // Created and shown as the start-up shows it.
    bool startShown(quint16 enginePort = kNothingListens) {
        if (!create(enginePort))
            return false;
        frame.show();
        return QTest::qWaitForWindowExposed(&frame);
    }

    // Shown and holding the keyboard focus, as for an operator at the keyboard.
    bool startActive(quint16 enginePort = kNothingListens) {
        if (!create(enginePort))
            return false;
        frame.show();
        frame.activateWindow();
        return QTest::qWaitForWindowActive(&frame);
    }

    // Connect on the Telnet tab, answering the Connect dialog with an address as a user types it.
    void connectTelnet(const QString& address) {
        frame.selectTab(kTabTelnet);
        QTimer::singleShot(0, [address] {
            auto* dialog = qobject_cast<DlgTelnetConnect*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->addressBox()->setEditText(address);
            dialog->accept();
        });
        frame.action(kCmdConnect)->trigger();
    }
    void connectTelnet(quint16 port) { connectTelnet(QStringLiteral("127.0.0.1:%1").arg(port)); }

    void connectEngine() {
        frame.selectTab(kTabPacket);
        frame.action(kCmdConnect)->trigger();
    }

    void type(const TerminalWindow& terminal, const QString& line) {
        terminal.entryPane()->insertPlainText(line);
        QTest::keyClick(terminal.entryPane(), Qt::Key_Return);
    }

    int listedRows() const { return frame.clusterView().spotList()->model()->rowCount(); }

    bool storeHoldsStation(std::u16string_view station) {
        SpotStore& store = frame.spotStore();
        std::u16string text;
        for (int i = 0; i < store.count(); ++i)
            if (store.getStation(i, text) && text == station)
                return true;
        return false;
    }

private:
    // Declared first: the frame below is built on them.
    MemorySettings ownSettings_;
    SystemClock systemClock_;

public:
    ManualClock clock;
    Settings& settings;
    CMainFrame frame;

private:
    std::optional<std::u16string> callSign_;
};

}  // namespace quendra::testing
