#include "log/NeedStatus.h"

namespace quendra {

std::string_view needStatusName(NeedStatus status) {
    switch (status) {
    case NeedStatus::NewDxcc:
        return "New DXCC";
    case NeedStatus::NewBand:
        return "New band";
    case NeedStatus::NewMode:
        return "New mode";
    case NeedStatus::NewSlot:
        return "New slot";
    case NeedStatus::Worked:
        return "Worked";
    case NeedStatus::None:
        break;
    }
    return "";
}

bool isNeeded(NeedStatus status) {
    return status == NeedStatus::NewDxcc || status == NeedStatus::NewBand ||
           status == NeedStatus::NewMode || status == NeedStatus::NewSlot;
}

}  // namespace quendra
