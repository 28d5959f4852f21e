// The band map's plan against the IARU plans as published, band by band, written out as the
// edges in kHz with the use between each pair.
#include "bandmap/BandPlanSegments.h"
#include "modes/BandPlan.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace quendra;

namespace {

const char* useName(SegmentUse use) {
    switch (use) {
    case SegmentUse::CW: return "CW";
    case SegmentUse::Digital: return "Digital";
    case SegmentUse::Phone: return "Phone";
    }
    return "?";
}

// "14000 CW 14070 Digital 14099 ..." for the segments within [low, high]; a gap shows as "|",
// a band without a plan as "none".
std::string edges(int region, double low, double high) {
    std::ostringstream out;
    double end = -1;
    for (const PlanSegment& segment : bandPlanSegmentsWithin(region, low, high)) {
        if (end >= 0 && segment.lowKHz != end)
            out << end << " | ";
        out << segment.lowKHz << ' ' << useName(segment.use) << ' ';
        end = segment.highKHz;
    }
    if (end < 0)
        return "none";
    out << end;
    return out.str();
}

struct PublishedBand {
    int region;
    double low;
    double high;
    const char* edges;
};

class BandPlanSegmentsTest : public ::testing::TestWithParam<PublishedBand> {};

TEST_P(BandPlanSegmentsTest, EdgesAreThePublishedOnes) {
    EXPECT_EQ(edges(GetParam().region, GetParam().low, GetParam().high), GetParam().edges);
}

INSTANTIATE_TEST_SUITE_P(
    Published, BandPlanSegmentsTest,
    ::testing::Values(
        PublishedBand{1, 1800, 2000, "1810 CW 1838 Digital 1843 Phone 2000"},
        PublishedBand{1, 3500, 4000, "3500 CW 3570 Digital 3600 Phone 3800"},
        PublishedBand{1, 5330, 5410, "5351.5 CW 5354 Phone 5366 Digital 5366.5"},
        PublishedBand{1, 7000, 7300, "7000 CW 7040 Digital 7050 Phone 7200"},
        PublishedBand{1, 10100, 10150, "10100 CW 10130 Digital 10150"},
        PublishedBand{1, 14000, 14350, "14000 CW 14070 Digital 14099 CW 14101 Phone 14350"},
        PublishedBand{1, 18068, 18168, "18068 CW 18095 Digital 18109 CW 18111 Phone 18168"},
        PublishedBand{1, 21000, 21450, "21000 CW 21070 Digital 21149 CW 21151 Phone 21450"},
        PublishedBand{1, 24890, 24990, "24890 CW 24915 Digital 24929 CW 24931 Phone 24990"},
        PublishedBand{1, 28000, 29700, "28000 CW 28070 Digital 28190 CW 28225 Phone 29700"},
        PublishedBand{1, 50000, 54000, "50000 CW 50100 Phone 50300 Digital 50400 CW 50500 Phone 52000"},
        PublishedBand{1, 144000, 148000,
                      "144000 CW 144150 Phone 144400 CW 144500 Phone 144794 Digital 144990 Phone 146000"},
        PublishedBand{1, 420000, 450000, "430000 Phone 432000 CW 432100 Phone 432400 CW 432500 Phone 440000"},
        PublishedBand{2, 1800, 2000, "1800 CW 1840 Digital 1850 Phone 2000"},
        PublishedBand{2, 3500, 4000, "3500 CW 3580 Digital 3600 Phone 4000"},
        PublishedBand{2, 7000, 7300, "7000 CW 7040 Digital 7050 Phone 7300"},
        PublishedBand{2, 50000, 54000, "50000 CW 50100 Phone 50300 Digital 50600 Phone 54000"},
        PublishedBand{2, 70000, 70500, "none"},
        PublishedBand{2, 144000, 148000, "144000 CW 144100 Phone 144275 CW 144300 Phone 148000"},
        PublishedBand{3, 1800, 2000, "1800 CW 1830 Digital 1840 Phone 2000"},
        PublishedBand{3, 3500, 4000, "3500 CW 3535 Phone 3570 Digital 3600 Phone 3900"},
        PublishedBand{3, 7000, 7300, "7000 CW 7025 Digital 7040 Phone 7300"},
        PublishedBand{3, 14000, 14350, "14000 CW 14070 Digital 14099 CW 14101 Digital 14112 Phone 14350"},
        PublishedBand{3, 28000, 29700, "28000 CW 28050 Digital 28190 CW 28200 Phone 29700"},
        PublishedBand{9, 7000, 7300, "7000 CW 7040 Digital 7050 Phone 7200"}));

// Every region's plan stands lowest first without overlaps, and inside the bands the map shows.
TEST(BandPlanSegmentsTable, SegmentsAreOrderedAndLieInTheBands) {
    for (int region : {1, 2, 3}) {
        double end = 0;
        for (const PlanSegment& segment : bandPlanSegments(region)) {
            EXPECT_LT(segment.lowKHz, segment.highKHz) << region << ": " << segment.lowKHz;
            EXPECT_GE(segment.lowKHz, end) << region << ": " << segment.lowKHz;
            end = segment.highKHz;
            const AmateurBand* band = amateurBandAt(segment.lowKHz);
            ASSERT_NE(band, nullptr) << region << ": " << segment.lowKHz;
            EXPECT_LE(segment.highKHz, band->highKHz) << region << ": " << segment.lowKHz;
        }
    }
}

}  // namespace
