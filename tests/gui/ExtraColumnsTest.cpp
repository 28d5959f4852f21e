// The optional list columns and countries with the real main frame: the classic list untouched
// while nothing is configured, columns shown from the header's menu and kept, the cells a small
// country file gives, and a damaged country file.
#include "platform/QtProfileSettings.h"
#include "settings/MemorySettings.h"
#include "spots/ColumnOrder.h"
#include "spots/ListColumn.h"
#include "spots/SpotListModel.h"
#include "support/FrameHarness.h"

#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace quendra;
using testing::FrameHarness;

namespace {

// Made-up entities; ZZ and ZY stand for no real country.
constexpr char kCountryFile[] =
    "Northland:                14:  28:  EU:   45.50:    -1.00:    -1.0:  ZZ:\n"
    "    ZZ,=ZZ1XX(16)[30]{AS};\n"
    "Ypsiland:                 05:  08:  NA:   37.60:    91.87:     5.0:  ZY:\n"
    "    ZY;\n";

const QStringList kClassicTitles = {"Station", "Frequency", "Info", "GMT", "Author", "DX-Node"};

QStringList shownTitles(const QTableView* list) {
    const QHeaderView* header = list->horizontalHeader();
    QStringList titles;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            titles << list->model()->headerData(logical, Qt::Horizontal).toString();
    }
    return titles;
}

void routeSpot(FrameHarness& fixture, const QString& line) {
    const std::u16string text = (line + QStringLiteral("\r\n")).toStdU16String();
    fixture.frame.RouteTelnetText(text, static_cast<int>(text.size()));
}

// Opens the header's menu as a right click does and picks the entries with these titles while it
// is open; the menu's exec returns once it is closed.
void pickFromHeaderMenu(FrameHarness& fixture, const QStringList& titles) {
    QHeaderView* header = fixture.frame.clusterView().spotList()->horizontalHeader();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        seen = true;
        for (const QString& title : titles) {
            QAction* found = nullptr;
            for (QAction* action : menu->actions())
                if (action->text() == title)
                    found = action;
            QVERIFY2(found, qPrintable(title));
            found->trigger();
        }
        menu->close();
    });
    emit header->customContextMenuRequested(QPoint(10, 5));
    QVERIFY(seen);
}

int section(ExtraColumn column) { return SpotListModel::columnOf(column); }

QString cell(const FrameHarness& fixture, int row, int column) {
    const QAbstractItemModel* model = fixture.frame.clusterView().spotList()->model();
    return model->data(model->index(row, column)).toString();
}

// A column as a feature adds it: the cell names the store index, so a test sees which spot it read.
class IndexColumn : public ListColumn {
public:
    QString title() const override { return QStringLiteral("Heard here"); }
    QVariant text(int storeIndex) const override { return QStringLiteral("#%1").arg(storeIndex); }
};

}  // namespace

class ExtraColumnsTest : public QObject {
    Q_OBJECT

private slots:
    void nothingConfiguredLooksAndActsClassic() {
        MemorySettings settings;
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        QTableView* list = fixture.frame.clusterView().spotList();
        QCOMPARE(shownTitles(list), kClassicTitles);
        fixture.frame.selectTab(kTabCluster);
        routeSpot(fixture, "DX de ZZ1AB:     14025.0  ZY9XY        CW 599                         1234Z");
        routeSpot(fixture, "DX de ZZ1AB:     14200.0  ZY8XY        SSB 59                         1235Z");
        QTRY_COMPARE(fixture.listedRows(), 2);
        const int writesBefore = settings.writeCount();

        const QRect second = list->visualRect(list->model()->index(1, 1));
        QVERIFY(second.isValid());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QTest::keyClick(list, Qt::Key_Return);
        QTest::qWait(50);
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list->selectionModel()->selectedRows().first().row(), 1);
        QCOMPARE(fixture.frame.findChild<QStatusBar*>(), nullptr);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(settings.writeCount(), writesBefore);
        QCOMPARE(settings.GetProfileString(u"RADIO", u"ENABLED", u"unset"), std::u16string(u"unset"));
        // The classic columns carry the spot's text; the hidden ones carry nothing a country
        // file would add, since none is configured here and none need be installed.
        QCOMPARE(cell(fixture, 0, SpotListModel::Station), QString("ZY9XY"));
    }

    // A file from before the optional columns existed: its widths and order come back, and exit
    // writes back exactly its keys, with the same values.
    void classicSettingsFileReadsBack() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("Quendra.conf"));
        const QList<int> widths = {120, 90, 230, 60, 110, 70};
        const std::vector<int> order = {2, 0, 1, 5, 3, 4};
        {
            QSettings file(path, QSettings::IniFormat);
            for (int i = 0; i < 6; ++i)
                file.setValue(QStringLiteral("DXCLUSTER_1/Col%1").arg(i), widths[i]);
            file.setValue(QStringLiteral("DXCLUSTER_1/HOWMANYCOLUMNS"), 6);
        }
        {
            QtProfileSettings settings(path);
            QVERIFY(settings.WriteProfileBinary(u"DXCLUSTER_1", u"ORDER", encodeColumnOrder(order)));
        }
        QMap<QString, QVariant> before;
        {
            QSettings file(path, QSettings::IniFormat);
            file.beginGroup(QStringLiteral("DXCLUSTER_1"));
            for (const QString& key : file.allKeys())
                before.insert(key, file.value(key));
        }
        {
            QtProfileSettings settings(path);
            FrameHarness fixture(settings);
            QVERIFY(fixture.startShown());
            QTableView* list = fixture.frame.clusterView().spotList();
            const QHeaderView* header = list->horizontalHeader();
            QCOMPARE(shownTitles(list), (QStringList{"Info", "Station", "Frequency", "DX-Node", "GMT", "Author"}));
            for (int i = 0; i < 6; ++i)
                QCOMPARE(header->sectionSize(i), widths[i]);
            fixture.frame.close();
        }
        QSettings file(path, QSettings::IniFormat);
        file.beginGroup(QStringLiteral("DXCLUSTER_1"));
        QMap<QString, QVariant> after;
        for (const QString& key : file.allKeys())
            after.insert(key, file.value(key));
        QCOMPARE(after.keys(), before.keys());
        for (const QString& key : before.keys())
            QCOMPARE(after.value(key).toString(), before.value(key).toString());
        file.endGroup();
        QVERIFY(!file.childGroups().contains(QStringLiteral("RADIO")));
        QVERIFY(!file.childGroups().contains(QStringLiteral("DXCC")));
    }

    void headerMenuColumnsKeptAcrossRestart() {
        MemorySettings settings;
        {
            FrameHarness fixture(settings);
            QVERIFY(fixture.startShown());
            QTableView* list = fixture.frame.clusterView().spotList();
            QHeaderView* header = list->horizontalHeader();
            pickFromHeaderMenu(fixture, {"Country", "Mode", "Age"});
            QCOMPARE(shownTitles(list), kClassicTitles + QStringList({"Country", "Mode", "Age"}));
            // Taken away again through the same menu: not kept.
            pickFromHeaderMenu(fixture, {"Age"});
            pickFromHeaderMenu(fixture, {"CQ zone"});
            header->resizeSection(section(ExtraColumn::Country), 140);
            header->resizeSection(section(ExtraColumn::Mode), 55);
            header->resizeSection(section(ExtraColumn::CqZone), 44);
            // CQ zone dragged in front of Country, and Station behind everything.
            header->moveSection(header->visualIndex(section(ExtraColumn::CqZone)),
                                header->visualIndex(section(ExtraColumn::Country)));
            header->moveSection(header->visualIndex(SpotListModel::Station), header->count() - 1);
            QCOMPARE(shownTitles(list), (QStringList{"Frequency", "Info", "GMT", "Author", "DX-Node", "CQ zone",
                                                     "Country", "Mode", "Station"}));
            fixture.frame.close();
        }
        QCOMPARE(settings.GetProfileString(u"DXCLUSTER_1", u"EXTRACOLUMNS"), std::u16string(u"CQ zone,Country,Mode"));
        QCOMPARE(settings.GetProfileString(u"DXCLUSTER_1", u"EXTRAWIDTHS"), std::u16string(u"44,140,55"));
        {
            FrameHarness fixture(settings);
            QVERIFY(fixture.startShown());
            QTableView* list = fixture.frame.clusterView().spotList();
            const QHeaderView* header = list->horizontalHeader();
            // Every column where it was, a classic one behind the optional ones included.
            const QStringList titles = shownTitles(list);
            QCOMPARE(titles, (QStringList{"Frequency", "Info", "GMT", "Author", "DX-Node", "CQ zone", "Country",
                                          "Mode", "Station"}));
            QCOMPARE(header->sectionSize(section(ExtraColumn::Country)), 140);
            QCOMPARE(header->sectionSize(section(ExtraColumn::Mode)), 55);
            QCOMPARE(header->sectionSize(section(ExtraColumn::CqZone)), 44);
            // Hiding them all is kept too, as an empty list rather than as "never configured".
            pickFromHeaderMenu(fixture, {"Country", "Mode", "CQ zone"});
            QCOMPARE(shownTitles(list).size(), 6);
            fixture.frame.close();
        }
        QCOMPARE(settings.GetProfileString(u"DXCLUSTER_1", u"EXTRACOLUMNS", u"unset"), std::u16string(u""));
        {
            FrameHarness fixture(settings);
            QVERIFY(fixture.startShown());
            QCOMPARE(shownTitles(fixture.frame.clusterView().spotList()).size(), 6);
        }
    }

    // A feature's column comes back where the operator left it among the others, found by its
    // title, is offered in the header's menu, reads its cells from the feature, and is saved by
    // title in its order; a title no feature offers any more is dropped, nothing else.
    void featureColumnKeptByTitle() {
        const IndexColumn heard;
        MemorySettings settings;
        settings.WriteProfileString(u"DXCLUSTER_1", u"EXTRACOLUMNS", u"Mode, Heard here,Gone column");
        settings.WriteProfileString(u"DXCLUSTER_1", u"EXTRAWIDTHS", u"55,77,60");
        settings.WriteProfileString(u"DXCLUSTER_1", u"EXTRAPLACES", u"7,1");
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        ViewDxClusterFrame& view = fixture.frame.clusterView();
        const int logical = view.addOptionalColumn(heard);
        QTableView* list = view.spotList();
        QCOMPARE(shownTitles(list), (QStringList{"Station", "Heard here", "Frequency", "Info", "GMT", "Author",
                                                 "DX-Node", "Mode"}));
        QCOMPARE(list->horizontalHeader()->sectionSize(logical), 77);
        routeSpot(fixture, "DX de ZZ1AB:     14025.0  ZY9XY        CW 599                         1234Z");
        QTRY_COMPARE(fixture.listedRows(), 1);
        QCOMPARE(cell(fixture, 0, logical), QString("#0"));
        // A feature's tooltip line follows the cell's text; an empty one adds nothing.
        view.addTooltipLine([](int storeIndex) { return QStringLiteral("Heard as #%1").arg(storeIndex); });
        view.addTooltipLine([](int) { return QString(); });
        const QAbstractItemModel* model = list->model();
        const QString tip = model->data(model->index(0, 0), Qt::ToolTipRole).toString();
        QVERIFY2(tip.startsWith("ZY9XY\n") && tip.endsWith("\nHeard as #0") && !tip.endsWith("\n\n"), qPrintable(tip));

        pickFromHeaderMenu(fixture, {"Heard here"});
        QCOMPARE(shownTitles(list), kClassicTitles + QStringList{"Mode"});
        pickFromHeaderMenu(fixture, {"Heard here"});
        fixture.frame.saveLayout();
        QCOMPARE(settings.GetProfileString(u"DXCLUSTER_1", u"EXTRACOLUMNS"), std::u16string(u"Heard here,Mode"));
    }

    void countryCells_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("continent");
        QTest::addColumn<QString>("cqZone");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("spotterCountry");
        QTest::newRow("cw") << "DX de ZY1AB:     14025.0  ZZ9XY        CW 599                         1234Z"
                            << "Northland" << "EU" << "14" << "CW" << "Ypsiland";
        QTest::newRow("exact call's own zone") << "DX de ZZ2AB:     14200.0  ZZ1XX        ssb 59 up 5                    1235Z"
                                               << "Northland" << "AS" << "16" << "SSB" << "Northland";
        QTest::newRow("digital") << "DX de ZZ2AB-#:   14074.0  ZY3AA        FT8 -12 dB                     1236Z"
                                 << "Ypsiland" << "NA" << "5" << "FT8" << "Northland";
        QTest::newRow("unknown call") << "DX de QQ1AB:      7012.0  QQ9ZZ        cw                             1237Z"
                                      << "" << "" << "" << "CW" << "";
    }

    void countryCells() {
        QFETCH(QString, line);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile cty(folder.filePath(QStringLiteral("cty.dat")));
        QVERIFY(cty.open(QIODevice::WriteOnly));
        cty.write(kCountryFile);
        cty.close();
        MemorySettings settings;
        settings.WriteProfileString(u"DXCC", u"CTYFILE", cty.fileName().toStdU16String());
        settings.WriteProfileString(u"DXCLUSTER_1", u"EXTRACOLUMNS",
                                    u"Country,Continent,CQ zone,Mode,Spotter country");
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        routeSpot(fixture, line);
        QTRY_COMPARE(fixture.listedRows(), 1);
        QFETCH(QString, country);
        QCOMPARE(cell(fixture, 0, section(ExtraColumn::Country)), country);
        QFETCH(QString, continent);
        QCOMPARE(cell(fixture, 0, section(ExtraColumn::Continent)), continent);
        QFETCH(QString, cqZone);
        QCOMPARE(cell(fixture, 0, section(ExtraColumn::CqZone)), cqZone);
        QFETCH(QString, mode);
        QCOMPARE(cell(fixture, 0, section(ExtraColumn::Mode)), mode);
        QFETCH(QString, spotterCountry);
        QCOMPARE(cell(fixture, 0, section(ExtraColumn::SpotterCountry)), spotterCountry);
        // A good file is nothing to report.
        QStatusBar* bar = fixture.frame.findChild<QStatusBar*>();
        QVERIFY(!bar || bar->currentMessage().isEmpty());
    }

    void damagedCountryFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("\x01\xfe not a country file :::: ;;;\n");
        QTest::newRow("cut short") << QByteArray("Northland:   14:  28:  EU:   45.50:\n    ZZ,ZZ9");
        QTest::newRow("continent unknown") << QByteArray("Northland: 14: 28: XX: 45.5: -1.0: -1.0: ZZ:\n ZZ;\n");
        QTest::newRow("missing") << QByteArray();
    }

    void damagedCountryFile() {
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("cty.dat"));
        if (!content.isEmpty()) {
            QFile cty(path);
            QVERIFY(cty.open(QIODevice::WriteOnly));
            cty.write(content);
        }
        MemorySettings settings;
        settings.WriteProfileString(u"DXCC", u"CTYFILE", path.toStdU16String());
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        routeSpot(fixture, "DX de ZY1AB:     14025.0  ZZ9XY        CW 599                         1234Z");
        QTRY_COMPARE(fixture.listedRows(), 1);
        // Nobody asked for countries: nothing is said.
        QCOMPARE(fixture.frame.findChild<QStatusBar*>(), nullptr);

        pickFromHeaderMenu(fixture, {"Country", "CQ zone"});
        QStatusBar* bar = fixture.frame.findChild<QStatusBar*>();
        QVERIFY(bar);
        QVERIFY2(bar->currentMessage().startsWith("Countries: "), qPrintable(bar->currentMessage()));
        QVERIFY(bar->currentMessage().contains(path));
        QCOMPARE(fixture.frame.findChildren<QStatusBar*>().size(), 1);
        QCOMPARE(cell(fixture, 0, section(ExtraColumn::Country)), QString());
        QCOMPARE(cell(fixture, 0, section(ExtraColumn::CqZone)), QString());
        // The mode needs no countries.
        QCOMPARE(cell(fixture, 0, section(ExtraColumn::Mode)), QString("CW"));
        QCOMPARE(cell(fixture, 0, SpotListModel::Station), QString("ZZ9XY"));
        routeSpot(fixture, "DX de ZY1AB:     14026.0  ZZ8XY        CW 599                         1234Z");
        QTRY_COMPARE(fixture.listedRows(), 2);
    }
};

QTEST_MAIN(ExtraColumnsTest)
#include "ExtraColumnsTest.moc"
