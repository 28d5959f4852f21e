#pragma once

#include "features/Feature.h"
#include "features/NeedOfSpot.h"
#include "features/QsoSink.h"
#include "log/AdifReader.h"
#include "log/NeedStatus.h"
#include "spots/ListColumn.h"

#include <QObject>
#include <QString>

#include <deque>
#include <memory>

class QCheckBox;
class QLabel;

namespace quendra {

class EntityNumbers;
class FeatureHost;
class LogChanges;
class LogFollower;
class LogLoader;
class OperatorLog;
class SpotNeeds;
class StatusRemark;
struct LoadedLog;
struct RowMark;

// The operator's log (LOG\ADIF): read at start in a thread of its own, then followed as the
// logger appends to it. Every spot gets its need status when it arrives, and again when the log
// changes; the list shows it in a "Status" column, row colours, the row's spoken text and its
// tooltip, and the filter bar can keep the needed spots only. It lends a sink for QSOs other
// programs report and what it says of each spot. Without LOG\ADIF it adds nothing at all.
class LogFeature : public QObject, public Feature, public QsoSink, public NeedOfSpot {
    Q_OBJECT
public:
    explicit LogFeature(FeatureHost& host);
    ~LogFeature() override;

    void featuresBuilt() override;
    void spotStored(int storeIndex) override;

    void addQso(std::string_view adifRecord) override;
    std::u16string needText(int storeIndex) const override;
    bool needed(int storeIndex) const override;

    NeedStatus statusAt(int storeIndex) const;
    // The status and any remark, as the column shows them.
    QString statusText(int storeIndex) const;
    bool active() const { return follower_ != nullptr; }
    bool loading() const { return loader_ != nullptr; }
    QLabel* statusField() const { return field_; }
    QCheckBox* neededOnlyBox() const { return neededOnly_; }
    int statusColumn() const { return column_; }
    const OperatorLog* log() const { return log_.get(); }

    static QColor colourOf(NeedStatus status);

signals:
    // A reading of the whole file has been taken in (or failed); for tests and tools.
    void logRead();

private:
    class StatusColumn : public ListColumn {
    public:
        explicit StatusColumn(const LogFeature& feature) : feature_(feature) {}
        QString title() const override { return QStringLiteral("Status"); }
        QVariant text(int storeIndex) const override { return feature_.statusText(storeIndex); }

    private:
        const LogFeature& feature_;
    };

    void startReading();
    void takeRead(const std::shared_ptr<LoadedLog>& read);
    void takeAppended(const QByteArray& bytes);
    void apply(const LogChanges& changes);
    void showCounts();
    RowMark markOf(int storeIndex) const;

    FeatureHost& host_;
    QString path_;
    NeedRule rule_;
    StatusColumn columnText_{*this};
    int column_ = -1;
    QLabel* field_ = nullptr;
    QCheckBox* neededOnly_ = nullptr;
    const StatusRemark* remark_ = nullptr;
    LogFollower* follower_ = nullptr;
    std::unique_ptr<LogLoader> loader_;
    // Declared in the order they depend on each other: the needs read the log, which reads the numbers.
    std::unique_ptr<EntityNumbers> numbers_;
    std::unique_ptr<OperatorLog> log_;
    std::unique_ptr<SpotNeeds> needs_;
    // QSOs reported by other programs, taken in again when the file is read anew; the oldest go
    // past kMaxReported, by then long in the file.
    std::deque<AdifQso> reported_;
};

}  // namespace quendra
