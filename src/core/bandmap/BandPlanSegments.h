#pragma once

#include <span>

namespace quendra {

// What a stretch of a band is kept for, as the band map tints it.
enum class SegmentUse { CW, Digital, Phone };

struct PlanSegment {
    double lowKHz;
    double highKHz;
    SegmentUse use;
};

// The IARU regions' band plans for 160 m to 23 cm, each stretch folded into one of three uses:
// telegraphy (with the beacon slots, which are keyed), the narrow digital modes, and everything
// else (phone, all modes, FM). Only the region numbers 1, 2 and 3 exist; any other is taken as 1.
// Segments stand lowest first and never overlap; a band the region has no plan for (4 m outside
// region 1) has none.
std::span<const PlanSegment> bandPlanSegments(int region);

// The segments of the region's plan that reach into [lowKHz, highKHz], lowest first.
std::span<const PlanSegment> bandPlanSegmentsWithin(int region, double lowKHz, double highKHz);

}  // namespace quendra
