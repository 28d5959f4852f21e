#include "terminal/TabMfcSDI.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using quendra::TabMfcSDI;

class TabMfcSDITest : public QObject {
    Q_OBJECT
private slots:
    void tabsAreAppendedInOrder() {
        QWidget frame;
        TabMfcSDI tabs;
        tabs.Create(&frame, false);
        QCOMPARE(tabs.AddTab(QStringLiteral("Telnet")), 0);
        QCOMPARE(tabs.AddTab(QStringLiteral("Packet")), 1);
        QCOMPARE(tabs.AddTab(QStringLiteral("DXCluster")), 2);
        QCOMPARE(tabs.tabCount(), 3);
        QCOMPARE(tabs.tabText(2), QStringLiteral("DXCluster"));
        QCOMPARE(tabs.parentWidget(), &frame);
        tabs.setParent(nullptr);
    }

    void stripSpansTheWidthAndReachesIntoTheViews_data() {
        QTest::addColumn<bool>("highResolution");
        QTest::addColumn<int>("claimed");
        QTest::addColumn<int>("strip");
        QTest::newRow("small screen") << false << 26 << 28;
        QTest::newRow("high resolution") << true << 52 << 56;
    }
    void stripSpansTheWidthAndReachesIntoTheViews() {
        QFETCH(bool, highResolution);
        QFETCH(int, claimed);
        QFETCH(int, strip);
        QWidget frame;
        auto* tabs = new TabMfcSDI;
        tabs->Create(&frame, highResolution);
        QCOMPARE(tabs->claimedHeight(), claimed);
        QCOMPARE(tabs->stripHeight(), strip);

        QRect free(0, 30, 480, 600);
        tabs->layoutInto(free);
        QCOMPARE(tabs->geometry(), QRect(0, 30, 480, strip));
        QCOMPARE(free, QRect(0, 30 + claimed, 480, 600 - claimed));
    }

    void pickingATabLeavesTheFocusWithTheView() {
        QWidget frame;
        auto* tabs = new TabMfcSDI;
        tabs->Create(&frame, false);
        tabs->AddTab(QStringLiteral("Telnet"));
        tabs->AddTab(QStringLiteral("Packet"));
        auto* view = new QLineEdit(&frame);
        view->move(0, 40);
        frame.resize(300, 200);
        QRect free = frame.rect();
        tabs->layoutInto(free);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());

        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(view->hasFocus());
        QCOMPARE(tabs->focusPolicy(), Qt::NoFocus);
    }
};

QTEST_MAIN(TabMfcSDITest)
#include "TabMfcSDITest.moc"
