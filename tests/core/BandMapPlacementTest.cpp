// Where the band map puts things: frequencies on the pane and back, zooming and scrolling within
// the band, tick steps, calls moved apart where they crowd, and the text a spot is read as.
#include "bandmap/BandMapText.h"
#include "bandmap/BandWindow.h"
#include "bandmap/LabelPlacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace quendra;

namespace {

TEST(BandWindowTest, MapsFrequenciesToRowsAndBack) {
    BandWindow window(14000, 14350);
    window.setPixels(10, 700);
    EXPECT_DOUBLE_EQ(window.yOf(14000), 10);
    EXPECT_DOUBLE_EQ(window.yOf(14350), 710);
    EXPECT_DOUBLE_EQ(window.yOf(14175), 360);
    for (double kHz : {14000.0, 14025.3, 14349.9})
        EXPECT_NEAR(window.kHzAt(window.yOf(kHz)), kHz, 1e-9);
}

TEST(BandWindowTest, ZoomKeepsTheFrequencyUnderThePointerAndStaysWithinLimits) {
    BandWindow window(14000, 14350);
    window.setPixels(0, 350);
    const double y = window.yOf(14070);
    window.zoom(2, 14070);
    EXPECT_NEAR(window.span(), 175, 1e-9);
    EXPECT_NEAR(window.yOf(14070), y, 1e-9);
    for (int i = 0; i < 40; ++i)
        window.zoom(3, 14070);
    EXPECT_DOUBLE_EQ(window.span(), BandWindow::kNarrowestKHz);
    EXPECT_TRUE(window.shows(14070));
    for (int i = 0; i < 40; ++i)
        window.zoom(0.5, 14300);
    EXPECT_TRUE(window.wholeBand());
    EXPECT_DOUBLE_EQ(window.low(), 14000);
    // Bad factors change nothing.
    window.zoom(0, 14100);
    window.zoom(-2, 14100);
    EXPECT_TRUE(window.wholeBand());
}

TEST(BandWindowTest, ScrollingStopsAtTheBandEdges) {
    BandWindow window(7000, 7300);
    window.setPixels(0, 300);
    window.zoom(10, 7150);
    window.scrollBy(-1000);
    EXPECT_DOUBLE_EQ(window.low(), 7000);
    EXPECT_NEAR(window.span(), 30, 1e-9);
    window.scrollByPixels(10'000);
    EXPECT_DOUBLE_EQ(window.high(), 7300);
    window.centreOn(7100);
    EXPECT_NEAR((window.low() + window.high()) / 2, 7100, 1e-9);
}

TEST(BandWindowTest, TickStepsAreOneTwoOrFiveTimesAPowerOfTen) {
    BandWindow window(14000, 14350);
    window.setPixels(0, 350);  // 1 px per kHz
    EXPECT_DOUBLE_EQ(window.tickStep(40), 50);
    EXPECT_DOUBLE_EQ(window.tickStep(20), 20);
    EXPECT_DOUBLE_EQ(window.tickStep(100), 100);
    window.zoom(350, 14100);  // 350 px per kHz
    EXPECT_DOUBLE_EQ(window.tickStep(40), 0.2);
}

std::vector<LabelWish> wishesAt(std::initializer_list<double> rows) {
    std::vector<LabelWish> wishes;
    std::uint64_t newness = 0;
    for (double y : rows)
        wishes.push_back({y, newness++});
    return wishes;
}

void expectReadableAndInOrder(const std::vector<double>& placed, double height, double top, double bottom) {
    double previous = -1e9;
    for (double y : placed) {
        if (y == kLabelNotPlaced)
            continue;
        EXPECT_GE(y - height / 2, top - 1e-9);
        EXPECT_LE(y + height / 2, bottom + 1e-9);
        EXPECT_GE(y - previous, height - 1e-9) << "calls overlap or change order";
        previous = y;
    }
}

TEST(LabelPlacementTest, CallsWithRoomStayAtTheirFrequency) {
    const auto placed = placeLabels(wishesAt({50, 100, 300}), 16, 0, 400);
    EXPECT_EQ(placed, (std::vector<double>{50, 100, 300}));
}

TEST(LabelPlacementTest, ACrowdSpreadsEvenlyAboutItsFrequencies) {
    // Three calls on one frequency: the middle one stays there, the others move by a call's height.
    const auto placed = placeLabels(wishesAt({200, 200, 200, 380}), 20, 0, 400);
    EXPECT_EQ(placed, (std::vector<double>{180, 200, 220, 380}));
}

TEST(LabelPlacementTest, CrowdsAtTheEdgesArePushedInside) {
    const auto placed = placeLabels(wishesAt({0, 1, 2, 399}), 20, 0, 400);
    EXPECT_EQ(placed, (std::vector<double>{10, 30, 50, 390}));
    expectReadableAndInOrder(placed, 20, 0, 400);
}

TEST(LabelPlacementTest, CrowdsThatMeetAreMergedIntoOne) {
    // Two crowds of two which, spread out, reach each other.
    const auto placed = placeLabels(wishesAt({100, 100, 130, 130}), 20, 0, 400);
    EXPECT_EQ(placed, (std::vector<double>{85, 105, 125, 145}));
}

TEST(LabelPlacementTest, WithoutRoomForAllTheNewestArePlaced) {
    std::vector<LabelWish> wishes;
    for (int i = 0; i < 10; ++i)
        wishes.push_back({100.0 + i, static_cast<std::uint64_t>((i * 7) % 10)});  // newness 0,7,4,1,8,5,2,9,6,3
    const auto placed = placeLabels(wishes, 20, 0, 100);  // room for five
    int shown = 0;
    for (std::size_t i = 0; i < wishes.size(); ++i) {
        const bool newest = wishes[i].newness >= 5;
        EXPECT_EQ(placed[i] != kLabelNotPlaced, newest) << i;
        shown += placed[i] != kLabelNotPlaced;
    }
    EXPECT_EQ(shown, 5);
    expectReadableAndInOrder(placed, 20, 0, 100);
}

TEST(LabelPlacementTest, RandomBandsStayReadableAndInOrder) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::uniform_real_distribution<double> row(-50, 650);
        std::vector<LabelWish> wishes(random() % 80);
        for (std::size_t i = 0; i < wishes.size(); ++i)
            wishes[i] = {row(random), random()};
        std::sort(wishes.begin(), wishes.end(), [](const LabelWish& a, const LabelWish& b) { return a.y < b.y; });
        const auto placed = placeLabels(wishes, 14, 0, 600);
        ASSERT_EQ(placed.size(), wishes.size());
        expectReadableAndInOrder(placed, 14, 0, 600);
        const auto shown = std::count_if(placed.begin(), placed.end(), [](double y) { return y != kLabelNotPlaced; });
        EXPECT_EQ(shown, static_cast<long>(std::min<std::size_t>(wishes.size(), 600 / 14)));
    }
}

TEST(LabelPlacementTest, NoRoomPlacesNothing) {
    EXPECT_EQ(placeLabels(wishesAt({5}), 20, 0, 10), (std::vector<double>{kLabelNotPlaced}));
    EXPECT_TRUE(placeLabels({}, 20, 0, 100).empty());
}

TEST(BandMapTextTest, FrequencyHasThousandsAndOneDecimal) {
    EXPECT_EQ(bandMapFrequencyText(14025), u"14,025.0");
    EXPECT_EQ(bandMapFrequencyText(1840.05), u"1,840.1");
    EXPECT_EQ(bandMapFrequencyText(144174.46), u"144,174.5");
    EXPECT_EQ(bandMapFrequencyText(1296150), u"1,296,150.0");
    EXPECT_EQ(bandMapFrequencyText(999.96), u"1,000.0");
    EXPECT_EQ(bandMapItemText(14025, u"ZZ2CD", u"CW", u"New DXCC"), u"14,025.0 ZZ2CD CW New DXCC");
    EXPECT_EQ(bandMapItemText(7074, u"ZZ7FT", u"", u""), u"7,074.0 ZZ7FT");
}

}  // namespace
