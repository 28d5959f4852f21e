#pragma once

#include "settings/Settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// One node link beside the classic one, as the SOURCES section sets it.
struct NodeSource {
    std::u16string host;
    int port = 0;
    // What its spots carry in the DX-Node column: the host, or host:port when another node of
    // the section has the same host (a skimmer node serves CW and FT8 on two ports of one host).
    std::u16string name;
    std::u16string call;                    // to log in with
    std::vector<std::u16string> commands;   // sent after the login, in order
    bool operator==(const NodeSource&) const = default;
};

// The nodes SOURCES\NODE0, NODE1, ... name, up to the first missing or empty one (an entry
// without a host ends the list too); at most kMaxNodeSources.
inline constexpr int kMaxNodeSources = 16;
std::vector<NodeSource> readNodeSources(Settings& settings);

// The start-up commands of one setting: one a line, or separated by '|'; blank ones are skipped.
std::vector<std::u16string> splitCommands(std::u16string_view text);

// Whether the list merges its sources: only once a further source is set, and then unless
// SOURCES\MERGE is 0.
bool mergesSources(Settings& settings, bool anyFurtherSource);

}  // namespace quendra
