#pragma once

#include "log/AdifValues.h"

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// Which spots a batch of QSOs can have changed the status of: those of an entity whose marks
// changed, and those of a call that gained a slot. A big batch (the first reading of a file)
// concerns every spot, and is not listed call by call.
class LogChanges {
public:
    // Past this many calls a batch stops listing them and concerns everything.
    static constexpr std::size_t kMaxListedCalls = 1000;

    void addEntity(int entity);
    void addCall(std::string_view call);
    void addQso() { ++addedQsos_; }

    bool concerns(int entity, std::string_view call) const;
    // The entity's marks changed (or everything is concerned); inline, as it is asked per spot.
    bool concernsEntity(int entity) const {
        return everything_ ||
               (entity > 0 && entity <= kMaxEntityNumber && entities_.test(static_cast<std::size_t>(entity)));
    }
    bool concernsEverything() const { return everything_; }
    // Whether some call gained a slot, so that spots must be matched by call too.
    bool listsCalls() const { return !calls_.empty(); }
    const std::vector<std::string>& calls() const { return calls_; }
    bool empty() const { return !everything_ && entities_.none() && calls_.empty(); }
    int addedQsos() const { return addedQsos_; }

    // Sorted, so that concerns() can search them; call once the batch is complete.
    void seal();

private:
    std::bitset<kMaxEntityNumber + 1> entities_;
    std::vector<std::string> calls_;
    bool everything_ = false;
    int addedQsos_ = 0;
};

}  // namespace quendra
