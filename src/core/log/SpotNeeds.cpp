#include "log/SpotNeeds.h"

#include "dxcc/CountryFile.h"
#include "log/EntityNumbers.h"
#include "log/OperatorLog.h"
#include "modes/Mode.h"
#include "spots/SpotStore.h"

#include <algorithm>
#include <array>
#include <optional>
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

// FNV-1a, never 0; two calls that share a key only cost a needless look at the spot.
std::uint32_t keyOf(std::string_view call) {
    std::uint32_t hash = 2166136261u;
    for (const char c : call)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash | 1u;
}

}  // namespace

SpotNeeds::SpotNeeds(const SpotStore& store, const EntityNumbers& numbers) : store_(store), numbers_(numbers) {}

void SpotNeeds::setLog(const OperatorLog* log, NeedRule rule) {
    log_ = log;
    rule_ = rule;
}

NeedStatus SpotNeeds::statusOf(const Mark& mark) const {
    if (!log_ || mark.entity == 0)
        return NeedStatus::None;
    const std::optional<std::uint32_t> call =
        mark.logCall > 0 ? std::optional<std::uint32_t>(mark.logCall - 1) : std::nullopt;
    return log_->status(mark.entity, call, mark.band, static_cast<ModeGroup>(mark.group), rule_);
}

void SpotNeeds::findCall(int storeIndex, Mark& mark) const {
    std::array<char, kMaxCallLength> buffer{};
    const std::string_view call = narrowCall(store_.spotAt(storeIndex).station, buffer);
    mark.callKey = call.empty() ? 0 : keyOf(call);
    const auto number = log_ && !call.empty() ? log_->callNumber(call) : std::nullopt;
    mark.logCall = number ? *number + 1 : 0;
}

SpotNeeds::Mark SpotNeeds::resolve(int storeIndex) const {
    Mark mark;
    const SpotDetails& details = store_.detailsAt(storeIndex);
    mark.entity = static_cast<std::uint16_t>(numbers_.numberOf(store_.spotAt(storeIndex).station));
    mark.band = details.band;
    mark.group = static_cast<std::uint8_t>(modeGroup(details.mode));
    findCall(storeIndex, mark);
    mark.status = statusOf(mark);
    mark.known = true;
    return mark;
}

NeedStatus SpotNeeds::spotArrived(int storeIndex) {
    if (storeIndex < 0 || storeIndex >= store_.count())
        return NeedStatus::None;
    const std::uint64_t serial = store_.serialAt(storeIndex);
    forgetGone();
    if (keptSpots() == 0) {
        marks_.clear();
        head_ = 0;
        first_ = serial;
    }
    if (serial < first_)
        return NeedStatus::None;  // older than every kept spot: not one the store appended now
    // Serials the store gave spots this was never told of stay unknown.
    while (first_ + keptSpots() <= serial)
        marks_.emplace_back();
    Mark& mark = marks_[head_ + (serial - first_)];
    mark = resolve(storeIndex);
    return mark.status;
}

void SpotNeeds::forgetGone() {
    const std::uint64_t oldest = store_.count() > 0 ? store_.serialAt(0) : first_ + keptSpots();
    if (oldest <= first_)
        return;
    const auto gone = static_cast<std::size_t>(std::min<std::uint64_t>(oldest - first_, keptSpots()));
    head_ += gone;
    first_ += gone;
    // The dropped front is given back once it is as long as what is kept.
    if (head_ >= 1024 && head_ >= keptSpots()) {
        marks_.erase(marks_.begin(), marks_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
}

void SpotNeeds::markAll() {
    marks_.clear();
    head_ = 0;
    if (store_.count() == 0)
        return;
    first_ = store_.serialAt(0);
    for (int i = 0; i < store_.count(); ++i) {
        const std::uint64_t serial = store_.serialAt(i);
        while (first_ + keptSpots() < serial)
            marks_.emplace_back();
        marks_.push_back(resolve(i));
    }
}

SpotNeeds::Remarked SpotNeeds::remark(const LogChanges& changes) {
    Remarked remarked;
    if (changes.empty())
        return remarked;
    forgetGone();
    // A batch too big to list its calls may have given any call its number: look at them all.
    const bool everything = changes.concernsEverything();
    std::vector<std::uint32_t> callKeys;
    for (const std::string& call : changes.calls())
        callKeys.push_back(keyOf(call));
    for (std::size_t i = head_; i < marks_.size(); ++i) {
        Mark& mark = marks_[i];
        if (!mark.known)
            continue;
        const std::uint64_t serial = first_ + (i - head_);
        const bool byCall = everything || (mark.callKey != 0 && std::find(callKeys.begin(), callKeys.end(),
                                                                          mark.callKey) != callKeys.end());
        if (byCall) {
            const int index = store_.indexOfSerial(serial);
            if (index < 0)
                continue;  // aged out in the middle; its fact goes with the front
            findCall(index, mark);
        } else if (!changes.concernsEntity(mark.entity)) {
            continue;
        }
        const NeedStatus now = statusOf(mark);
        if (now == mark.status)
            continue;
        remarked.neededChanged = remarked.neededChanged || isNeeded(now) != isNeeded(mark.status);
        mark.status = now;
        if (++remarked.changed <= kListed)
            remarked.serials.push_back(serial);
    }
    if (remarked.changed > kListed)
        remarked.serials.clear();
    return remarked;
}

const SpotNeeds::Mark* SpotNeeds::markOf(std::uint64_t serial) const {
    if (serial < first_ || serial - first_ >= keptSpots())
        return nullptr;
    return &marks_[head_ + (serial - first_)];
}

NeedStatus SpotNeeds::statusAt(int storeIndex) const {
    if (storeIndex < 0 || storeIndex >= store_.count())
        return NeedStatus::None;
    const Mark* mark = markOf(store_.serialAt(storeIndex));
    return mark ? mark->status : NeedStatus::None;
}

}  // namespace quendra
