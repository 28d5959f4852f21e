#include "sources/MoreSources.h"

#include "features/FeatureHost.h"
#include "platform/QtText.h"
#include "sources/NodeLink.h"
#include "sources/NodeSources.h"
#include "spots/ViewDxClusterFrame.h"
#include "terminal/TerminalWindow.h"

#include <QLabel>
#include <QStringList>

namespace quendra {

MoreSources::MoreSources(FeatureHost& host) : host_(host) {
    std::vector<NodeSource> sources = readNodeSources(host_.settings());
    for (std::size_t n = 0; n < sources.size(); ++n) {
        auto node = std::make_unique<NodeLink>(host_, std::move(sources[n]), kFirstNodeTerminalId + static_cast<int>(n));
        host_.addTab(&node->terminal(), toQString(node->source().name));
        host_.addStatusField(&node->statusField());
        nodes_.push_back(std::move(node));
    }
    if (!mergesSources(host_.settings(), !nodes_.empty()))
        return;
    ViewDxClusterFrame& view = host_.view();
    view.setMergeSources(true);
    host_.addTooltipLine([&view](int storeIndex) {
        const std::vector<std::u16string_view> rowSources = view.rowSources(storeIndex);
        if (rowSources.size() < 2)
            return QString();
        QStringList names;
        for (std::u16string_view source : rowSources)
            names << (source.empty() ? tr("(unnamed)") : toQString(source));
        return tr("Sources: %1").arg(names.join(QStringLiteral(", ")));
    });
}

MoreSources::~MoreSources() = default;

// The links start once every feature is there to hear their spots.
void MoreSources::featuresBuilt() {
    for (const std::unique_ptr<NodeLink>& node : nodes_)
        node->start();
}

}  // namespace quendra
