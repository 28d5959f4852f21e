#include "log/LogChanges.h"

#include <algorithm>

namespace quendra {

void LogChanges::addEntity(int entity) {
    if (entity > 0 && entity <= kMaxEntityNumber)
        entities_.set(static_cast<std::size_t>(entity));
}

void LogChanges::addCall(std::string_view call) {
    if (everything_)
        return;
    if (calls_.size() >= kMaxListedCalls) {
        everything_ = true;
        calls_.clear();
        calls_.shrink_to_fit();
        return;
    }
    calls_.emplace_back(call);
}

void LogChanges::seal() {
    std::sort(calls_.begin(), calls_.end());
    calls_.erase(std::unique(calls_.begin(), calls_.end()), calls_.end());
}

bool LogChanges::concerns(int entity, std::string_view call) const {
    if (everything_)
        return true;
    if (entity > 0 && entity <= kMaxEntityNumber && entities_.test(static_cast<std::size_t>(entity)))
        return true;
    return std::binary_search(calls_.begin(), calls_.end(), call);
}

}  // namespace quendra
