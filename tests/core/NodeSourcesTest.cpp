// The SOURCES section as an operator writes it.
#include "settings/MemorySettings.h"
#include "sources/NodeSources.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

TEST(NodeSources, ReadUpToTheFirstGapEachWithItsCallAndCommands) {
    MemorySettings settings;
    settings.WriteProfileString(u"STATUS", u"MYCALL", u"ZZ9ZZ");
    settings.WriteProfileString(u"SOURCES", u"NODE0", u"node.example.org:7300");
    settings.WriteProfileString(u"SOURCES", u"NODE1", u"skimmer.example.org:7000");
    settings.WriteProfileString(u"SOURCES", u"CALL1", u"ZZ9ZZ-2");
    settings.WriteProfileString(u"SOURCES", u"COMMANDS1", u"set/skimmer| sh/dx 5 |\r\n\r\nset/nobeacon");
    settings.WriteProfileString(u"SOURCES", u"NODE2", u"skimmer.example.org:7001");
    settings.WriteProfileString(u"SOURCES", u"NODE4", u"never.example.org:23");  // after the gap at 3

    const std::vector<NodeSource> nodes = readNodeSources(settings);
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0], (NodeSource{u"node.example.org", 7300, u"node.example.org", u"ZZ9ZZ", {}}));
    EXPECT_EQ(nodes[1], (NodeSource{u"skimmer.example.org", 7000, u"skimmer.example.org:7000", u"ZZ9ZZ-2",
                                    {u"set/skimmer", u"sh/dx 5", u"set/nobeacon"}}));
    // Two ports of one host are told apart by their port.
    EXPECT_EQ(nodes[2].name, u"skimmer.example.org:7001");
    EXPECT_EQ(nodes[2].call, u"ZZ9ZZ");
}

TEST(NodeSources, NoneSetMeansNoneAndNoMerging) {
    MemorySettings settings;
    EXPECT_TRUE(readNodeSources(settings).empty());
    EXPECT_FALSE(mergesSources(settings, false));
    EXPECT_TRUE(mergesSources(settings, true));
    settings.WriteProfileInt(u"SOURCES", u"MERGE", 0);
    EXPECT_FALSE(mergesSources(settings, true));
    // A port-less entry takes the telnet port; an entry of nothing but a colon ends the list.
    settings.WriteProfileString(u"SOURCES", u"NODE0", u"node.example.org");
    settings.WriteProfileString(u"SOURCES", u"NODE1", u":");
    settings.WriteProfileString(u"SOURCES", u"NODE2", u"other.example.org:23");
    const std::vector<NodeSource> nodes = readNodeSources(settings);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].port, 23);
}

}  // namespace
