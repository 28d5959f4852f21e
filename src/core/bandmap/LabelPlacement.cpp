#include "bandmap/LabelPlacement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quendra {
namespace {

// A run of calls packed edge to edge; its first top edge is the mean of what its members wish
// for it, so the run sits evenly about their frequencies.
struct Run {
    std::size_t first;
    std::size_t count;
    double wishSum;  // sum over members of (wished top edge - offset within the run)
    double topEdge;
};

}  // namespace

std::vector<double> placeLabels(std::span<const LabelWish> wishes, double labelHeight, double top, double bottom) {
    std::vector<double> placed(wishes.size(), kLabelNotPlaced);
    if (wishes.empty() || !(labelHeight > 0) || !(bottom - top >= labelHeight))
        return placed;
    const auto room = static_cast<std::size_t>(std::floor((bottom - top) / labelHeight));

    // Which calls get a place: all when they fit, else the newest.
    std::vector<std::size_t> chosen(wishes.size());
    std::iota(chosen.begin(), chosen.end(), std::size_t{0});
    if (chosen.size() > room) {
        std::nth_element(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(room), chosen.end(),
                         [&](std::size_t a, std::size_t b) { return wishes[a].newness > wishes[b].newness; });
        chosen.resize(room);
        std::sort(chosen.begin(), chosen.end());
    }

    const double lowestTop = bottom - labelHeight;
    auto settle = [&](Run& run) {
        const double span = static_cast<double>(run.count) * labelHeight;
        run.topEdge = std::clamp(run.wishSum / static_cast<double>(run.count), top, bottom - span);
    };
    std::vector<Run> runs;
    runs.reserve(chosen.size());
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        const double wishedTop = std::clamp(wishes[chosen[k]].y - labelHeight / 2, top, lowestTop);
        Run run{k, 1, wishedTop, 0};
        settle(run);
        // Merge with the run above while the two would overlap; the merged run may then reach
        // the one above it in turn.
        while (!runs.empty()) {
            Run& above = runs.back();
            if (above.topEdge + static_cast<double>(above.count) * labelHeight <= run.topEdge)
                break;
            above.wishSum += run.wishSum - static_cast<double>(above.count) * labelHeight * static_cast<double>(run.count);
            above.count += run.count;
            run = above;
            runs.pop_back();
            settle(run);
        }
        runs.push_back(run);
    }
    for (const Run& run : runs) {
        for (std::size_t i = 0; i < run.count; ++i)
            placed[chosen[run.first + i]] = run.topEdge + (static_cast<double>(i) + 0.5) * labelHeight;
    }
    return placed;
}

}  // namespace quendra
