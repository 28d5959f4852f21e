#include "sources/NodeSources.h"

#include "links/TelnetAddress.h"
#include "settings/SettingsCatalogue.h"

#include <algorithm>
#include <string>

namespace quendra {
namespace {

std::u16string decimal(int value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

std::u16string_view trimmedCommand(std::u16string_view text) {
    const auto start = text.find_first_not_of(u' ');
    if (start == std::u16string_view::npos)
        return {};
    const auto end = text.find_last_not_of(u' ');
    return text.substr(start, end - start + 1);
}

}  // namespace

std::vector<std::u16string> splitCommands(std::u16string_view text) {
    std::vector<std::u16string> commands;
    while (!text.empty()) {
        const auto end = text.find_first_of(u"\r\n|");
        const std::u16string_view command = trimmedCommand(text.substr(0, end));
        if (!command.empty())
            commands.emplace_back(command);
        if (end == std::u16string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return commands;
}

std::vector<NodeSource> readNodeSources(Settings& settings) {
    using namespace setting;
    const std::u16string myCall = readSetting(settings, kMyCall);
    std::vector<NodeSource> nodes;
    for (int n = 0; n < kMaxNodeSources; ++n) {
        const std::u16string entry =
            settings.GetProfileString(kSourceNode.section, kSourceNode.entry(n), u"");
        const TelnetAddress address = parseTelnetAddress(entry);
        if (address.host.empty())
            break;
        NodeSource node;
        node.host = address.host;
        node.port = address.port;
        node.name = address.host;
        node.call = settings.GetProfileString(kSourceCall.section, kSourceCall.entry(n), u"");
        if (trimmedCommand(node.call).empty())
            node.call = myCall;
        node.commands = splitCommands(settings.GetProfileString(kSourceCommands.section, kSourceCommands.entry(n), u""));
        nodes.push_back(std::move(node));
    }
    for (NodeSource& node : nodes) {
        const auto sameHost = std::count_if(nodes.begin(), nodes.end(),
                                            [&](const NodeSource& other) { return other.host == node.host; });
        if (sameHost > 1)
            node.name = node.host + u':' + decimal(node.port);
    }
    return nodes;
}

bool mergesSources(Settings& settings, bool anyFurtherSource) {
    return anyFurtherSource && readSetting(settings, setting::kMergeSources) != 0;
}

}  // namespace quendra
