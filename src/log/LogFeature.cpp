#include "log/LogFeature.h"

#include "features/FeatureHost.h"
#include "features/StatusRemark.h"
#include "log/LogChanges.h"
#include "log/LogFollower.h"
#include "log/LogLoader.h"
#include "log/OperatorLog.h"
#include "log/SpotNeeds.h"
#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"
#include "spots/RowMark.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QStatusBar>
#include <QTableView>

namespace quendra {
namespace {

constexpr std::size_t kMaxReported = 10'000;

NeedRule ruleFrom(Settings& settings) {
    NeedRule rule;
    const QString need = toQString(readSetting(settings, setting::kLogNeed)).trimmed();
    if (need.compare(QLatin1String("confirmed"), Qt::CaseInsensitive) == 0)
        rule.policy = NeedPolicy::Confirmed;
    rule.eqslCounts = readSetting(settings, setting::kLogEqsl) != 0;
    return rule;
}

QString counted(qint64 count, const char* one, const char* many) {
    static const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    return grouped.toString(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

}  // namespace

LogFeature::LogFeature(FeatureHost& host) : host_(host) {
    path_ = toQString(readSetting(host.settings(), setting::kLogFile)).trimmed();
    if (path_.isEmpty())
        return;
    rule_ = ruleFrom(host.settings());

    field_ = new QLabel(&host.window());
    field_->setObjectName(QStringLiteral("logStatus"));
    field_->setAccessibleName(tr("Log"));
    host.addStatusField(field_);

    column_ = host.addOptionalColumn(columnText_);
    host.addTooltipLine([this](int storeIndex) {
        const QString text = statusText(storeIndex);
        return text.isEmpty() ? text : tr("Log: %1").arg(text);
    });
    host.addRowMark([this](int storeIndex) { return markOf(storeIndex); });

    neededOnly_ = new QCheckBox(tr("Needed only"));
    neededOnly_->setObjectName(QStringLiteral("neededOnly"));
    neededOnly_->setToolTip(tr("List only spots the log still needs: New DXCC, band, mode or slot"));
    neededOnly_->setChecked(readSetting(host.settings(), setting::kLogNeededOnly) != 0);
    host.addFilter(neededOnly_, [this](int storeIndex) {
        return !neededOnly_->isChecked() || !needs_ || isNeeded(needs_->statusAt(storeIndex));
    });
    connect(neededOnly_, &QCheckBox::toggled, this, [this](bool on) {
        writeSetting(host_.settings(), setting::kLogNeededOnly, on ? 1 : 0);
        host_.view().refillList();
    });

    host.provide<QsoSink>(*this);
    host.provide<const NeedOfSpot>(*this);

    follower_ = new LogFollower(path_, this);
    connect(follower_, &LogFollower::appended, this, &LogFeature::takeAppended);
    connect(follower_, &LogFollower::mustReread, this, &LogFeature::startReading);
    startReading();
}

LogFeature::~LogFeature() = default;

void LogFeature::featuresBuilt() {
    if (active())
        remark_ = host_.find<const StatusRemark>();
}

void LogFeature::startReading() {
    follower_->pause();
    field_->setText(tr("Log: reading %1").arg(path_));
    const QString countryFile = toQString(readSetting(host_.settings(), setting::kCountryFile));
    loader_ = std::make_unique<LogLoader>(path_, entityFilePath(countryFile));
    connect(loader_.get(), &LogLoader::progress, this, [this](qint64 read, qint64 total) {
        if (total > 0)
            field_->setText(tr("Log: reading %1 (%2%)").arg(path_).arg(read * 100 / total));
    });
    connect(loader_.get(), &LogLoader::loaded, this, &LogFeature::takeRead);
    loader_->start();
}

void LogFeature::takeRead(const std::shared_ptr<LoadedLog>& read) {
    // The loader has finished its thread; it goes once this call is over.
    loader_.release()->deleteLater();
    const bool hadStatus = needs_ != nullptr;
    needs_.reset();
    log_.reset();
    numbers_ = std::move(read->numbers);
    log_ = std::move(read->log);
    if (log_) {
        log_->add(std::vector<AdifQso>(reported_.begin(), reported_.end()));
        needs_ = std::make_unique<SpotNeeds>(host_.store(), *numbers_);
        needs_->setLog(log_.get(), rule_);
        needs_->markAll();
        showCounts();
    } else {
        field_->setText(read->problem);
    }
    // Without the entity numbers nothing in the file can be resolved: there is nothing to follow.
    if (numbers_)
        follower_->followFrom(read->bytesRead);
    if (log_ || hadStatus) {
        host_.view().refillList();
        host_.announceLogChanged();
    }
    emit logRead();
}

void LogFeature::takeAppended(const QByteArray& bytes) {
    if (log_)
        apply(log_->feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

void LogFeature::addQso(std::string_view adifRecord) {
    if (!active())
        return;
    AdifReader reader;
    std::vector<AdifQso> records;
    reader.feed(adifRecord, records);
    reader.finish(records);
    if (records.empty())
        return;
    for (const AdifQso& record : records)
        reported_.push_back(record);
    while (reported_.size() > kMaxReported)
        reported_.pop_front();
    if (log_)
        apply(log_->add(records));
}

void LogFeature::apply(const LogChanges& changes) {
    if (!needs_)
        return;
    showCounts();  // a damaged record changes the counts too
    if (changes.addedQsos() == 0)
        return;
    const SpotNeeds::Remarked remarked = needs_->remark(changes);
    SpotListModel& model = host_.view().model();
    if (neededOnly_->isChecked() && remarked.neededChanged) {
        host_.view().refillList();
    } else if (remarked.changed > remarked.serials.size()) {
        model.allRowsChanged();
    } else if (remarked.changed > 0) {
        std::vector<int> indexes;
        for (const std::uint64_t serial : remarked.serials)
            indexes.push_back(host_.store().indexOfSerial(serial));
        model.storeIndexesChanged(indexes);
    }
    host_.announceLogChanged();
}

void LogFeature::showCounts() {
    const LogCounts counts = log_->counts();
    QString text = tr("Log: %1, %2").arg(counted(static_cast<qint64>(counts.qsos), "QSO", "QSOs"),
                                         counted(counts.entities, "entity", "entities"));
    if (counts.damaged > 0)
        text += tr(", %1 skipped").arg(counted(counts.damaged, "damaged record", "damaged records"));
    field_->setText(text);
}

void LogFeature::spotStored(int storeIndex) {
    if (needs_)
        needs_->spotArrived(storeIndex);
}

NeedStatus LogFeature::statusAt(int storeIndex) const {
    return needs_ ? needs_->statusAt(storeIndex) : NeedStatus::None;
}

std::u16string LogFeature::needText(int storeIndex) const {
    const std::string_view name = needStatusName(statusAt(storeIndex));
    return std::u16string(name.begin(), name.end());
}

bool LogFeature::needed(int storeIndex) const { return isNeeded(statusAt(storeIndex)); }

QString LogFeature::statusText(int storeIndex) const {
    const std::string_view name = needStatusName(statusAt(storeIndex));
    QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    if (remark_) {
        const std::u16string remark = remark_->remark(storeIndex);
        if (!remark.empty())
            text += (text.isEmpty() ? QString() : QStringLiteral(", ")) + toQString(remark);
    }
    return text;
}

// Soft tints, like the watch list's amber, that leave the palette's own text colour readable on
// light and dark backgrounds alike; each status has a hue of its own.
QColor LogFeature::colourOf(NeedStatus status) {
    switch (status) {
    case NeedStatus::NewDxcc: return QColor(230, 40, 40, 100);
    case NeedStatus::NewBand: return QColor(170, 70, 230, 90);
    case NeedStatus::NewMode: return QColor(40, 120, 240, 90);
    case NeedStatus::NewSlot: return QColor(30, 170, 90, 90);
    case NeedStatus::Worked: return QColor(128, 128, 128, 60);
    case NeedStatus::None: break;
    }
    return {};
}

RowMark LogFeature::markOf(int storeIndex) const {
    RowMark mark;
    if (!needs_)
        return mark;
    mark.background = colourOf(needs_->statusAt(storeIndex));
    // The column, when shown, is read with the other cells; else the row's first cell says it.
    if (host_.view().spotList()->horizontalHeader()->isSectionHidden(column_))
        mark.spoken = statusText(storeIndex);
    return mark;
}

}  // namespace quendra
