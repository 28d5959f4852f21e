#include "log/SpotNeeds.h"

#include "dxcc/CountryFile.h"
#include "log/EntityNumbers.h"
#include "log/OperatorLog.h"
#include "modes/Mode.h"
#include "spots/SpotStore.h"

#include <array>
#include <string_view>

namespace quendra {
namespace {

// Logged calls are letters, digits and '/': a station with any other character is no logged
// call, and an empty text stands for it.
std::string_view narrowCall(std::u16string_view call, std::array<char, kMaxCallLength>& buffer) {
    if (call.size() > buffer.size())
        return {};
    for (std::size_t i = 0; i < call.size(); ++i) {
        if (call[i] == 0 || call[i] >= 0x7f)
            return {};
        buffer[i] = static_cast<char>(call[i]);
    }
    return {buffer.data(), call.size()};
}

}  // namespace

SpotNeeds::SpotNeeds(const SpotStore& store, const EntityNumbers& numbers) : store_(store), numbers_(numbers) {}

void SpotNeeds::setLog(const OperatorLog* log, NeedRule rule) {
    log_ = log;
    rule_ = rule;
}

NeedStatus SpotNeeds::statusOf(int storeIndex, int entity) const {
    if (!log_ || entity <= 0)
        return NeedStatus::None;
    const SpotDetails& details = store_.detailsAt(storeIndex);
    return log_->status(entity, store_.spotAt(storeIndex).station, details.band, modeGroup(details.mode), rule_);
}

SpotNeeds::Mark SpotNeeds::resolve(int storeIndex) const {
    Mark mark;
    mark.entity = static_cast<std::uint16_t>(numbers_.numberOf(store_.spotAt(storeIndex).station));
    mark.status = statusOf(storeIndex, mark.entity);
    mark.known = true;
    return mark;
}

NeedStatus SpotNeeds::spotArrived(int storeIndex) {
    if (storeIndex < 0 || storeIndex >= store_.count())
        return NeedStatus::None;
    const std::uint64_t serial = store_.serialAt(storeIndex);
    if (marks_.empty())
        first_ = serial;
    if (serial < first_)
        return NeedStatus::None;  // older than every kept spot: not one the store appended now
    forgetGone();
    if (marks_.empty())
        first_ = serial;
    // Serials the store gave spots this was never told of stay unknown.
    while (first_ + marks_.size() <= serial)
        marks_.emplace_back();
    Mark& mark = marks_[serial - first_];
    mark = resolve(storeIndex);
    return mark.status;
}

void SpotNeeds::forgetGone() {
    const std::uint64_t oldest = store_.count() > 0 ? store_.serialAt(0) : first_ + marks_.size();
    while (!marks_.empty() && first_ < oldest) {
        marks_.pop_front();
        ++first_;
    }
}

void SpotNeeds::markAll() {
    marks_.clear();
    if (store_.count() == 0)
        return;
    first_ = store_.serialAt(0);
    for (int i = 0; i < store_.count(); ++i) {
        const std::uint64_t serial = store_.serialAt(i);
        while (first_ + marks_.size() < serial)
            marks_.emplace_back();
        marks_.push_back(resolve(i));
    }
}

SpotNeeds::Remarked SpotNeeds::remark(const LogChanges& changes) {
    Remarked remarked;
    if (changes.empty())
        return remarked;
    std::array<char, kMaxCallLength> buffer{};
    const bool byCall = changes.listsCalls();
    for (int i = 0; i < store_.count(); ++i) {
        Mark* mark = markOf(store_.serialAt(i));
        if (!mark || !mark->known)
            continue;
        const std::string_view call = byCall ? narrowCall(store_.spotAt(i).station, buffer) : std::string_view();
        if (!changes.concerns(mark->entity, call))
            continue;
        const NeedStatus now = statusOf(i, mark->entity);
        if (now == mark->status)
            continue;
        remarked.neededChanged = remarked.neededChanged || isNeeded(now) != isNeeded(mark->status);
        mark->status = now;
        remarked.storeIndexes.push_back(i);
    }
    return remarked;
}

SpotNeeds::Mark* SpotNeeds::markOf(std::uint64_t serial) {
    if (serial < first_ || serial - first_ >= marks_.size())
        return nullptr;
    return &marks_[serial - first_];
}

const SpotNeeds::Mark* SpotNeeds::markOf(std::uint64_t serial) const {
    return const_cast<SpotNeeds*>(this)->markOf(serial);
}

NeedStatus SpotNeeds::statusAt(int storeIndex) const {
    if (storeIndex < 0 || storeIndex >= store_.count())
        return NeedStatus::None;
    const Mark* mark = markOf(store_.serialAt(storeIndex));
    return mark ? mark->status : NeedStatus::None;
}

}  // namespace quendra
