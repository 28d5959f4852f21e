#include "app/SpotRouting.h"

#include "app/SpotDetection.h"

namespace quendra {

int parseSpotLine(SpotStore& store, std::u16string_view line, std::u16string_view nodeName) {
    switch (detectSpotForm(line)) {
    case SpotForm::Column: return store.parseColumnSpot(line, nodeName);
    case SpotForm::Timed: return store.parseTimedSpot(line, nodeName);
    case SpotForm::None: break;
    }
    return -1;
}

}  // namespace quendra
