#include "app/FeatureRoom.h"
#include "features/StatusRemark.h"
#include "filters/FilterBar.h"
#include "settings/MemorySettings.h"
#include "skimmer/SkimmerCheckFeature.h"
#include "spots/SpotListModel.h"
#include "support/FrameHarness.h"

#include <QBoxLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace quendra;
using quendra::testing::FrameHarness;

namespace {

// A skimmer's announcement laid out as the network sends it.
QString columnLine(const QString& author, const QString& frequency, const QString& station, const QString& comment) {
    QString line = QStringLiteral("DX de %1:").arg(author);
    line += QString(24 - line.size() - frequency.size(), QLatin1Char(' ')) + frequency;
    line += QString(26 - line.size(), QLatin1Char(' ')) + station;
    line += QString(39 - line.size(), QLatin1Char(' ')) + comment;
    return line + QString(70 - line.size(), QLatin1Char(' ')) + QStringLiteral("1234Z\r\n");
}

void route(FrameHarness& fixture, const QString& author, const QString& frequency, const QString& station,
           const QString& comment = QStringLiteral("CW 23 dB 27 WPM CQ")) {
    const std::u16string text = columnLine(author, frequency, station, comment).toStdU16String();
    fixture.frame.RouteTelnetText(text, static_cast<int>(text.size()));
}

QStringList remarks(FrameHarness& fixture, const StatusRemark& remark) {
    QStringList said;
    for (int i = 0; i < fixture.frame.spotStore().count(); ++i)
        said << QString::fromStdU16String(remark.remark(i));
    return said;
}

}  // namespace

class SkimmerCheckFeatureTest : public QObject {
    Q_OBJECT

private slots:
    void nothingConfiguredChecksNothing() {
        FrameHarness fixture;
        QVERIFY(fixture.startShown());
        QCOMPARE(fixture.frame.features().host().find<const StatusRemark>(), nullptr);
        QCOMPARE(fixture.frame.findChild<QToolButton*>(QStringLiteral("verifiedSkimmersOnly")), nullptr);
    }

    void skimmerSpotsAreVerifiedOrBustedInTheListAndTheFilterBar() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString scp = folder.filePath(QStringLiteral("MASTER.SCP"));
        QFile file(scp);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# Super check partial\nZZ9ZZ\n");
        file.close();
        MemorySettings settings;
        settings.WriteProfileInt(u"SKIMMER", u"CHECK", 1);
        settings.WriteProfileString(u"SKIMMER", u"SCP", scp.toStdU16String());
        FrameHarness fixture(settings);
        QVERIFY(fixture.startShown());
        auto* feature = fixture.frame.features().find<SkimmerCheckFeature>();
        QVERIFY(feature && feature->enabled());
        QCOMPARE(feature->knownCallCount(), std::size_t{1});
        const StatusRemark* remark = fixture.frame.features().host().find<const StatusRemark>();
        QVERIFY(remark);

        route(fixture, "ZZ1A-#", "14025.0", "ZZ2CD");
        route(fixture, "ZZ3B-#", "14025.1", "ZZ2CD");
        route(fixture, "ZZ4C-#", "14025.0", "ZZ2CF");
        route(fixture, "ZZ5D-#", "7010.0", "ZZ9ZZ");
        route(fixture, "ZZ6E-#", "7020.0", "ZZ8QQ");
        route(fixture, "ZZ7HU", "21020.0", "ZZ1XX", "cw 599");
        QTRY_COMPARE(fixture.listedRows(), 6);
        QCOMPARE(remarks(fixture, *remark), (QStringList{"verified", "verified", "busted: ZZ2CD?", "verified", "", ""}));
        const QAbstractItemModel* model = fixture.frame.clusterView().spotList()->model();
        QVERIFY(model->data(model->index(2, SpotListModel::Station), Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("Skimmer spot busted: likely ZZ2CD")));

        // "Verified only" stands beside the skimmer control and hides the other skimmer spots.
        FilterBar& bar = fixture.frame.clusterView().filterBar();
        QToolButton* verifiedOnly = feature->verifiedOnlyButton();
        auto* row = static_cast<QBoxLayout*>(bar.layout());
        QCOMPARE(row->indexOf(verifiedOnly), row->indexOf(bar.skimmerButton()) + 1);
        verifiedOnly->click();
        QCOMPARE(fixture.listedRows(), 4);
        QCOMPARE(settings.GetProfileInt(u"SKIMMER", u"VERIFIED_ONLY", 0), 1);

        // A second skimmer verifies the lone spot, which the list then shows.
        route(fixture, "ZZ1A-#", "7020.1", "ZZ8QQ");
        QTRY_COMPARE(fixture.listedRows(), 6);
        QCOMPARE(remarks(fixture, *remark).mid(4), (QStringList{"verified", "", "verified"}));
        verifiedOnly->click();
        QCOMPARE(fixture.listedRows(), 7);
    }
};

QTEST_MAIN(SkimmerCheckFeatureTest)
#include "SkimmerCheckFeatureTest.moc"
