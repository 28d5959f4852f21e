#include "dxcc/CountryLookup.h"
#include "filters/FilterBar.h"
#include "filters/SpotFacts.h"
#include "settings/MemorySettings.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "support/ManualClock.h"

#include "support/TwoCountries.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

using namespace quendra;
using quendra::testing::ManualClock;

namespace {


// station, spotter, kHz, comment: a small field of spots on several bands, modes and continents.
struct HandSpot {
    const char16_t* spotter;
    const char16_t* kHz;
    const char16_t* station;
    const char16_t* comment;
};
constexpr HandSpot kSpots[] = {
    {u"ZY9AA", u"14025.0", u"ZZ1AB", u"CW 599"},      // 20m CW, EU heard by NA
    {u"ZZ9BB", u"14250.0", u"ZY2CD", u"SSB 59"},      // 20m phone, NA heard by EU
    {u"ZZ9BB", u"7074.0", u"ZZ3EF", u"FT8 -10"},      // 40m digital, EU heard by EU
    {u"ZY8CC-#", u"7012.0", u"ZY4GH", u"CW 24 dB 28 WPM CQ"},  // 40m CW skimmer
    {u"ZY9AA", u"144300", u"ZZ5IJ", u"SSB tropo"},    // 2m phone
};

struct Fixture {
    MemorySettings settings;
    ManualClock clock;
    CountryLookup countries{quendra::testing::twoCountries()};
    CountryResolver resolver{countries};
    SpotStore store{settings, clock};
    std::unique_ptr<ViewDxClusterFrame> view;

    explicit Fixture(bool fill = true) {
        store.setResolver(&resolver);
        if (fill) {
            for (const HandSpot& spot : kSpots)
                store.parseTimedSpot(text(spot), u"NODE");
        }
        open();
    }
    static std::u16string text(const HandSpot& spot) {
        return u"1234Z DX de " + std::u16string(spot.spotter) + u": " + spot.kHz + u" " + spot.station + u" " +
               spot.comment;
    }
    void open() {
        view = std::make_unique<ViewDxClusterFrame>(settings);
        view->model().setCountries(&countries);
        view->setSpotStore(&store);
        view->refillList();
    }
    FilterBar& bar() const { return view->filterBar(); }
    int add(const HandSpot& spot) {
        const int index = store.parseTimedSpot(text(spot), u"NODE");
        view->addSpot(index);
        return index;
    }
    QStringList listed() const {
        QStringList stations;
        const QAbstractItemModel* model = view->spotList()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            stations << model->index(row, SpotListModel::Station).data().toString();
        return stations;
    }
    void selectTree(const QString& name) {
        const auto found = view->bandTree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        view->bandTree()->setCurrentItem(found.first());
    }
};

// Checks the menu items of a bar button as a user would, one click each.
void check(QToolButton* button, const QStringList& items) {
    for (QAction* item : button->menu()->actions()) {
        if (items.contains(item->text()))
            item->setChecked(true);
    }
}

}  // namespace

class FilterBarTest : public QObject {
    Q_OBJECT

private slots:
    // A feature's filter: its control stands in the bar before the count, its test works with
    // the bar's own on refills and on new spots, and what it refuses is counted as hidden.
    void featureFilterJoinsTheBar() {
        Fixture fixture;
        auto* control = new QCheckBox(QStringLiteral("Even only"));
        fixture.view->addFilter(control, [](int storeIndex) { return storeIndex % 2 == 0; });
        fixture.view->refillList();
        QCOMPARE(control->parentWidget(), &fixture.bar());
        QCOMPARE(fixture.listed(), (QStringList{"ZZ1AB", "ZZ3EF", "ZZ5IJ"}));
        QCOMPARE(fixture.bar().hiddenText(), QStringLiteral("2 hidden"));
        check(fixture.bar().bandsButton(), {"20m"});
        QCOMPARE(fixture.listed(), (QStringList{"ZZ1AB"}));
        fixture.add({u"ZZ9BB", u"14010.0", u"ZZ6KL", u"CW"});  // store index 5: refused
        fixture.add({u"ZZ9BB", u"14011.0", u"ZZ7MN", u"CW"});  // 6: shown
        QTRY_COMPARE(fixture.listed(), (QStringList{"ZZ1AB", "ZZ7MN"}));
        QCOMPARE(fixture.bar().hiddenText(), QStringLiteral("5 hidden"));
    }

    // `checks`: items to check in the bar's menus, "de EU" for a spotter's continent, "DX EU" for
    // the station's.
    void filtersCombineWithTheBandTree_data() {
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<bool>("skimmers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        using L = QStringList;
        QTest::newRow("nothing set") << "All" << L{} << true << "" << L{"ZZ1AB", "ZY2CD", "ZZ3EF", "ZY4GH", "ZZ5IJ"};
        QTest::newRow("two bands") << "All" << L{"20m", "2m"} << true << "" << L{"ZZ1AB", "ZY2CD", "ZZ5IJ"};
        QTest::newRow("band and tree") << "HF" << L{"20m", "2m"} << true << "" << L{"ZZ1AB", "ZY2CD"};
        QTest::newRow("phone") << "All" << L{"Phone"} << true << "" << L{"ZY2CD", "ZZ5IJ"};
        QTest::newRow("CW without skimmers") << "All" << L{"CW"} << false << "" << L{"ZZ1AB"};
        QTest::newRow("dx in Europe") << "All" << L{"DX EU"} << true << "" << L{"ZZ1AB", "ZZ3EF", "ZZ5IJ"};
        QTest::newRow("spotters in Europe, 40m") << "All" << L{"40m", "de EU"} << true << "" << L{"ZZ3EF"};
        QTest::newRow("text: call part") << "All" << L{} << true << "4gh" << L{"ZY4GH"};
        QTest::newRow("text: country name") << "All" << L{} << true << "ypsi" << L{"ZY2CD", "ZY4GH"};
        QTest::newRow("text: prefix and mode") << "All" << L{"Digital"} << true << "ZZ" << L{"ZZ3EF"};
        QTest::newRow("VHF tree, HF band") << "VHF" << L{"20m"} << true << "" << L{};
    }
    void filtersCombineWithTheBandTree() {
        QFETCH(QString, tree);
        QFETCH(QStringList, checks);
        QFETCH(bool, skimmers);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        Fixture fixture;
        QAbstractItemModelTester tester(&fixture.view->model());
        fixture.selectTree(tree);
        FilterBar& bar = fixture.bar();
        check(bar.bandsButton(), checks);
        check(bar.modesButton(), checks);
        check(bar.dxContinentButton(), checks.filter(QStringLiteral("DX ")).replaceInStrings(QStringLiteral("DX "), QString()));
        check(bar.spotterContinentButton(), checks.filter(QStringLiteral("de ")).replaceInStrings(QStringLiteral("de "), QString()));
        bar.skimmerButton()->setChecked(skimmers);
        bar.textField()->setText(text);
        QCOMPARE(fixture.listed(), expected);
    }

    void aHiddenNewSpotIsStoredButNotListed() {
        Fixture fixture;
        check(fixture.bar().bandsButton(), {"20m"});
        QCOMPARE(fixture.listed(), (QStringList{"ZZ1AB", "ZY2CD"}));
        QCOMPARE(fixture.bar().hiddenText(), QStringLiteral("3 hidden"));
        QSignalSpy inserted(&fixture.view->model(), &QAbstractItemModel::rowsInserted);
        const int before = fixture.store.count();
        fixture.add({u"ZZ9BB", u"7010.0", u"ZZ6KL", u"CW"});
        QCOMPARE(fixture.store.count(), before + 1);
        QCOMPARE(fixture.view->model().rowCount(), 2);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(fixture.bar().hiddenText(), QStringLiteral("4 hidden"));
        fixture.add({u"ZZ9BB", u"14010.0", u"ZZ7MN", u"CW"});
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(fixture.listed().last(), QStringLiteral("ZZ7MN"));
    }

    void repeatsCollapseIntoOneRowUpdatedInPlace() {
        Fixture fixture(false);
        QAbstractItemModelTester tester(&fixture.view->model());
        fixture.bar().collapseButton()->setChecked(true);
        fixture.add({u"ZY9AA", u"14025.0", u"ZZ1AB", u"CW 599"});
        fixture.add({u"ZY9AA", u"7010.0", u"ZZ1AB", u"CW 599"});  // another band: a row of its own
        QTRY_COMPARE(fixture.view->model().rowCount(), 2);
        QSignalSpy inserted(&fixture.view->model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&fixture.view->model(), &QAbstractItemModel::dataChanged);
        fixture.clock.advance(60);
        fixture.add({u"ZZ9BB", u"14025.5", u"ZZ1AB", u"CW 579"});
        fixture.add({u"ZY8CC", u"14026.0", u"ZZ1AB", u"CW up 1"});
        SpotListModel& model = fixture.view->model();
        QCOMPARE(fixture.store.count(), 4);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().at(0).value<QModelIndex>().row(), 0);
        QCOMPARE(model.index(0, SpotListModel::Frequency).data().toString(), QStringLiteral("14026.0"));
        QCOMPARE(model.index(0, SpotListModel::Info).data().toString(), QStringLiteral("CW up 1 (3)"));
        QCOMPARE(model.index(0, 0).data(SpotListModel::SpotterCountRole).toInt(), 3);
        QCOMPARE(model.index(1, SpotListModel::Info).data().toString(), QStringLiteral("CW 599"));
        // A refill, as after expiry, gives the same rows; switching collapse off lists every spot.
        fixture.view->refillList();
        QCOMPARE(model.index(0, 0).data(SpotListModel::SpotterCountRole).toInt(), 3);
        fixture.bar().collapseButton()->setChecked(false);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.index(0, SpotListModel::Info).data().toString(), QStringLiteral("CW 599"));
        QCOMPARE(model.index(0, 0).data(SpotListModel::SpotterCountRole).toInt(), 0);
    }

    void filtersAreSavedAndRestored() {
        Fixture fixture;
        QCOMPARE(fixture.settings.GetProfileString(u"FILTERS", u"BANDS", u"unset"), std::u16string(u"unset"));
        fixture.view->findChild<QAction*>(QStringLiteral("showFilterBar"))->trigger();
        check(fixture.bar().bandsButton(), {"40m", "20m"});
        fixture.bar().textField()->setText(QStringLiteral("zz"));
        fixture.bar().collapseButton()->setChecked(true);
        QCOMPARE(fixture.settings.GetProfileString(u"FILTERS", u"BANDS"), std::u16string(u"40m,20m"));
        QCOMPARE(fixture.settings.GetProfileString(u"FILTERS", u"TEXT"), std::u16string(u"zz"));
        QCOMPARE(fixture.settings.GetProfileInt(u"FILTERS", u"SHOWN", 0), 1);
        QCOMPARE(fixture.settings.GetProfileInt(u"FILTERS", u"COLLAPSE", 0), 1);
        fixture.view.reset();
        fixture.open();
        QVERIFY(!fixture.bar().isHidden());
        QCOMPARE(fixture.bar().bandsButton()->text(), QStringLiteral("40m,20m"));
        QCOMPARE(fixture.bar().textField()->text(), QStringLiteral("zz"));
        QCOMPARE(fixture.listed(), (QStringList{"ZZ1AB", "ZZ3EF"}));
    }

    void theBarOpensWithCtrlFAndClosesWithEscape() {
        Fixture fixture;
        fixture.view->resize(700, 300);
        fixture.view->show();
        fixture.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixture.view.get()));
        // Nothing configured: the bar stays out of sight and nothing is written.
        QVERIFY(fixture.bar().isHidden());
        fixture.view->spotList()->setFocus();
        QTest::keyClick(fixture.view->spotList(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(fixture.bar().isVisible());
        QVERIFY(fixture.bar().isAncestorOf(QApplication::focusWidget()));
        for (QWidget* control : fixture.bar().findChildren<QWidget*>()) {
            if (control->focusPolicy() != Qt::NoFocus && !qobject_cast<QMenu*>(control))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->metaObject()->className()));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(fixture.bar().isHidden());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(fixture.view->spotList()));
        QCOMPARE(fixture.settings.GetProfileInt(u"FILTERS", u"SHOWN", 7), 0);
    }
};

QTEST_MAIN(FilterBarTest)
#include "FilterBarTest.moc"
