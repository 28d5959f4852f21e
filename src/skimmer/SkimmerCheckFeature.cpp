#include "skimmer/SkimmerCheckFeature.h"

#include "features/FeatureHost.h"
#include "filters/FilterBar.h"
#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"

#include <QFile>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

namespace quendra {
namespace {

constexpr int kChangesPeriodMs = 500;
constexpr std::size_t kPruneEvery = 4096;

}  // namespace

SkimmerCheckFeature::SkimmerCheckFeature(FeatureHost& host) : host_(host) {
    Settings& settings = host_.settings();
    if (readSetting(settings, setting::kSkimmerCheck) == 0)
        return;
    // Without the file the check still works, from the reports alone.
    QFile file(toQString(readSetting(settings, setting::kKnownCallsFile)));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.readAll();
        known_ = KnownCalls::fromText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }
    check_ = std::make_unique<SkimmerCheck>(&known_);
    host_.provide<const StatusRemark>(remark_);

    host_.addTooltipLine([this](int storeIndex) {
        const SkimmerVerdict* verdict = verdictAt(storeIndex);
        if (!verdict)
            return QString();
        return verdict->kind == SkimmerVerdict::Kind::Verified
                   ? tr("Skimmer spot verified")
                   : tr("Skimmer spot busted: likely %1").arg(toQString(verdict->likelyCall));
    });

    FilterBar& bar = host_.view().filterBar();
    verifiedOnly_ = new QToolButton(&bar);
    verifiedOnly_->setObjectName(QStringLiteral("verifiedSkimmersOnly"));
    verifiedOnly_->setText(tr("Verified only"));
    verifiedOnly_->setAccessibleName(tr("Verified skimmer spots only"));
    const QString description = tr("Shows only the skimmer spots that other spotters or the known calls confirm");
    verifiedOnly_->setAccessibleDescription(description);
    verifiedOnly_->setToolTip(description);
    verifiedOnly_->setCheckable(true);
    verifiedOnly_->setFocusPolicy(Qt::StrongFocus);
    verifiedOnly_->setChecked(readSetting(settings, setting::kVerifiedSkimmersOnly) != 0);
    host_.addFilter(verifiedOnly_, [this](int storeIndex) { return shows(storeIndex); });
    bar.placeAfter(verifiedOnly_, bar.skimmerButton());
    connect(verifiedOnly_, &QToolButton::toggled, this, [this](bool checked) {
        writeSetting(host_.settings(), setting::kVerifiedSkimmersOnly, checked ? 1 : 0);
        host_.view().refillList();
    });

    changes_ = new QTimer(this);
    changes_->setSingleShot(true);
    changes_->setInterval(kChangesPeriodMs);
    connect(changes_, &QTimer::timeout, this, &SkimmerCheckFeature::showChanges);
}

SkimmerCheckFeature::~SkimmerCheckFeature() = default;

void SkimmerCheckFeature::spotStored(int storeIndex) {
    const SpotStore& store = host_.store();
    if (!check_ || storeIndex < 0 || storeIndex >= store.count())
        return;
    const double kHz = store.frequencyKHzAt(storeIndex);
    if (!(kHz > 0))
        return;
    const Spot& spot = store.spotAt(storeIndex);
    const std::uint64_t serial = store.serialAt(storeIndex);
    const bool skimmer = store.detailsAt(storeIndex).skimmer || spot.author.ends_with(u"-#");
    const std::vector<std::uint64_t> changed =
        check_->add({serial, spot.station, spot.author, kHz, secondsSince1970(spot.received), skimmer});
    // The new spot is not listed yet: only verdicts of listed ones call for a redraw.
    for (std::uint64_t other : changed) {
        if (other != serial && !changes_->isActive()) {
            changes_->start();
            break;
        }
    }
    if (++storedSincePrune_ >= kPruneEvery) {
        storedSincePrune_ = 0;
        check_->forget([&store](std::uint64_t gone) { return store.indexOfSerial(gone) < 0; });
    }
}

const SkimmerVerdict* SkimmerCheckFeature::verdictAt(int storeIndex) const {
    const SpotStore& store = host_.store();
    if (!check_ || storeIndex < 0 || storeIndex >= store.count())
        return nullptr;
    return check_->verdictOf(store.serialAt(storeIndex));
}

std::u16string SkimmerCheckFeature::remark(int storeIndex) const {
    const SkimmerVerdict* verdict = verdictAt(storeIndex);
    if (!verdict)
        return {};
    if (verdict->kind == SkimmerVerdict::Kind::Verified)
        return u"verified";
    return u"busted: " + verdict->likelyCall + u"?";
}

bool SkimmerCheckFeature::shows(int storeIndex) const {
    if (!verifiedOnly_->isChecked())
        return true;
    const SpotStore& store = host_.store();
    if (!store.detailsAt(storeIndex).skimmer && !store.spotAt(storeIndex).author.ends_with(u"-#"))
        return true;
    const SkimmerVerdict* verdict = verdictAt(storeIndex);
    return verdict && verdict->kind == SkimmerVerdict::Kind::Verified;
}

void SkimmerCheckFeature::showChanges() {
    if (verifiedOnly_->isChecked())
        host_.view().refillList();
    else
        host_.view().spotList()->viewport()->update();
}

}  // namespace quendra
