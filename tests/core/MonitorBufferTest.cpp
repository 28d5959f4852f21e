#include "terminal/MonitorBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quendra::MonitorBuffer;

namespace {

struct RecordingObserver : quendra::MonitorBufferObserver {
    std::vector<std::string> reports;
    void scrollRangeChanged(int minimum, int maximum) override {
        reports.push_back("range " + std::to_string(minimum) + ".." + std::to_string(maximum));
    }
    void positionChanged(int position) override {
        reports.push_back("position " + std::to_string(position));
    }
    void repaintRequested() override { reports.push_back("repaint"); }
};

std::u16string numbered(int n) {
    std::u16string text = u"line ";
    for (char c : std::to_string(n))
        text += static_cast<char16_t>(c);
    return text;
}

void addLines(MonitorBuffer& buffer, int from, int to) {
    for (int n = from; n <= to; ++n)
        buffer.AddLine(numbered(n));
}

}  // namespace

TEST(MonitorBuffer, EmptyBufferHasPositionMinusOneAndFirstLineMovesItToZero) {
    MonitorBuffer buffer;
    EXPECT_EQ(buffer.position(), -1);
    buffer.SetPosition(5);
    EXPECT_EQ(buffer.position(), -1);
    buffer.AddLine(u"first");
    EXPECT_EQ(buffer.position(), 0);
    EXPECT_EQ(buffer.count(), 1);
}

TEST(MonitorBuffer, FiftyFirstLineDropsTheOldestAndFollowsTheNewest) {
    MonitorBuffer buffer;
    buffer.setCapacity(50);
    addLines(buffer, 1, 51);
    EXPECT_EQ(buffer.count(), 50);
    EXPECT_EQ(buffer.line(0), numbered(2));
    EXPECT_EQ(buffer.line(49), numbered(51));
    EXPECT_EQ(buffer.position(), 49);
}

TEST(MonitorBuffer, CapacityZeroKeepsNothing) {
    MonitorBuffer buffer;
    buffer.setCapacity(0);
    addLines(buffer, 1, 3);
    EXPECT_EQ(buffer.count(), 0);
    EXPECT_EQ(buffer.position(), -1);
}

TEST(MonitorBuffer, NegativeCapacityNeverDropsALine) {
    MonitorBuffer buffer;
    buffer.setCapacity(-1);
    addLines(buffer, 1, 2000);
    EXPECT_EQ(buffer.count(), 2000);
    EXPECT_EQ(buffer.line(0), numbered(1));
    EXPECT_EQ(buffer.position(), 1999);
}

TEST(MonitorBuffer, ScrolledBackWhileFullKeepsTheSameTextAtThePosition) {
    MonitorBuffer buffer;
    buffer.setCapacity(10);
    addLines(buffer, 1, 10);
    buffer.SetPosition(4);
    const auto shown = buffer.line(4);
    addLines(buffer, 11, 13);
    EXPECT_EQ(buffer.position(), 1);
    EXPECT_EQ(buffer.line(buffer.position()), shown);
}

TEST(MonitorBuffer, ScrolledBackWhileNotFullStaysPut) {
    MonitorBuffer buffer;
    addLines(buffer, 1, 10);
    buffer.SetPosition(3);
    addLines(buffer, 11, 12);
    EXPECT_EQ(buffer.position(), 3);
}

TEST(MonitorBuffer, PositionAtOldestWhileFullStaysAtZero) {
    MonitorBuffer buffer;
    buffer.setCapacity(5);
    addLines(buffer, 1, 5);
    buffer.SetPosition(0);
    addLines(buffer, 6, 7);
    EXPECT_EQ(buffer.position(), 0);
    EXPECT_EQ(buffer.line(0), numbered(3));
}

TEST(MonitorBuffer, SetPositionClampsToTheLines) {
    MonitorBuffer buffer;
    addLines(buffer, 1, 4);
    buffer.SetPosition(-7);
    EXPECT_EQ(buffer.position(), -1);
    buffer.SetPosition(99);
    EXPECT_EQ(buffer.position(), 3);
}

TEST(MonitorBuffer, ReportsRangeThenPositionWhileFollowingAndRepaintWhenScrolledBack) {
    MonitorBuffer buffer;
    RecordingObserver observer;
    buffer.setCapacity(3);
    buffer.setObserver(&observer);
    addLines(buffer, 1, 4);
    EXPECT_EQ(observer.reports.back(), "position 2");
    EXPECT_EQ(observer.reports[observer.reports.size() - 2], "range 0..2");

    buffer.SetPosition(1);
    observer.reports.clear();
    buffer.AddLine(u"more");
    EXPECT_EQ(observer.reports, (std::vector<std::string>{"range 0..2", "repaint"}));
    EXPECT_EQ(buffer.position(), 0);
}

TEST(MonitorBuffer, ReplaceNewestRewritesOnlyTheLastLine) {
    MonitorBuffer buffer;
    buffer.replaceNewest(u"nothing to replace");
    EXPECT_EQ(buffer.count(), 0);
    addLines(buffer, 1, 2);
    buffer.replaceNewest(u"whole line");
    EXPECT_EQ(buffer.count(), 2);
    EXPECT_EQ(buffer.line(1), u"whole line");
    EXPECT_EQ(buffer.linesAdded(), 2u);
}
