#pragma once

#include "spots/BandRange.h"

#include <QWidget>

class QSplitter;
class QTableView;
class QTreeWidget;

namespace quendra {

class Settings;
class SpotListModel;
class SpotStore;

// The cluster view: a band tree beside the list of stored spots of the selected band, oldest at
// the top. It reads the store by index and changes it only by running its expiry.
class ViewDxClusterFrame : public QWidget {
    Q_OBJECT
public:
    explicit ViewDxClusterFrame(Settings& settings, QWidget* parent = nullptr);
    ~ViewDxClusterFrame() override;

    // Writes the pane and column layout; only the first call writes anything.
    void saveLayout();

    void setSpotStore(SpotStore* store);
    // Shows the spot the store has just appended at `index`.
    void addSpot(int index);
    // Lists every stored spot of the band selected in the tree.
    void refillList();

    BandRange currentRange() const { return range_; }

    // The selected rows as text, one line per spot and the cells in display order separated by
    // tabs, for the clipboard (Ctrl+C).
    QString selectedSpotsText() const;
    void copySelectedSpots() const;
    QTreeWidget* bandTree() const { return tree_; }
    QTableView* spotList() const { return list_; }
    QSplitter* splitter() const { return splitter_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void nameForAssistiveTools();
    void buildTree();
    void buildList();
    void restoreColumns();
    void restoreTreeWidth();
    QString selectedBandName() const;
    void saveSplitter();
    void saveColumns();

    Settings& settings_;
    SpotStore* store_ = nullptr;
    BandRange range_ = kBandAll;
    QSplitter* splitter_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QTableView* list_ = nullptr;
    SpotListModel* model_ = nullptr;
    int treeWidth_ = 0;        // the width asked for, until the splitter has been laid out
    bool everShown_ = false;
    bool layoutSaved_ = false;
    bool scrollPending_ = false;
};

}  // namespace quendra
