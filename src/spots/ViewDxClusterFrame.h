#pragma once

#include "platform/RefreshPacing.h"
#include "spots/BandRange.h"
#include "spots/ExtraColumns.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QSplitter;
class QTimer;
class QTableView;
class QTreeWidget;

namespace quendra {

class FilterBar;
class ListColumn;
class ListShaper;
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
    // Shows the spot the store has just appended at `index`, after running the store's age-out.
    void addSpot(int index);
    // Shows the spots one piece of received text stored, at the indexes the store holds them now.
    // `agedOut`: older spots went meanwhile, so every row is made again instead.
    void showStoredSpots(const std::vector<int>& indexes, bool agedOut);
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
    SpotListModel& model() const { return *model_; }
    FilterBar& filterBar() const { return *filterBar_; }

    // The optional columns shown, in their order on screen.
    std::vector<ExtraColumn> shownExtraColumns() const;
    void setExtraColumnShown(ExtraColumn column, bool shown);
    // A feature's column, offered in the header's menu like the optional ones; its number.
    int addOptionalColumn(const ListColumn& column);
    void setOptionalSectionShown(int logical, bool shown);
    // Commands offered in the list's context menu; they act on the current row.
    void addRowAction(QAction* action);
    // A line added to every row's tooltip; an empty text adds nothing.
    void addTooltipLine(std::function<QString(int storeIndex)> line);
    // A feature's filter: its control in the filter bar and the test it puts to every spot. The
    // feature refills the list when its control changes.
    void addFilter(QWidget* control, std::function<bool(int storeIndex)> shows);
    // Lists a station on one band and mode once whichever source reported it (ListShaper).
    void setMergeSources(bool on);
    // The sources the row showing the spot at this store index holds reports from; empty while
    // rows are not keyed by station.
    std::vector<std::u16string_view> rowSources(int storeIndex) const;
    // Whether the filter bar and the features' filters let this stored spot through, whichever
    // band the tree shows.
    bool passesFilterBar(int storeIndex) const;
    // The store index of the current row, or -1.
    int currentStoreIndex() const;
    // Makes the row of the spot at this store index the current and only selected one and
    // scrolls to it; false when the list does not show that spot.
    bool selectStoreIndex(int storeIndex);
    // Acts on the spot at this store index as an activated row does (double-click or Enter).
    void activateStoreIndex(int storeIndex);
    // Draws the listed spot nearest to this frequency as marked; 0 clears the mark.
    void markNearest(double kHz);

signals:
    // A row was activated (double-click or Enter): the spot at this store index.
    void spotActivated(int storeIndex);
    void extraColumnsChanged();

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
    void restoreExtraColumns();
    void saveExtraColumns();
    int optionalSectionTitled(const QString& title) const;
    std::vector<int> shownOptionalSections() const;
    std::vector<int> extraColumnPlaces(const std::vector<int>& sections) const;
    void placeExtraColumns(const std::vector<int>& sections, const std::vector<int>& places);
    void showHeaderMenu(const QPoint& at);
    void showRowMenu(const QPoint& at);
    void updateAgeTimer();
    void appendStored(int index);
    // Lays out, draws and scrolls to the rows the frame added, once for all of them.
    void showNewRows();

    Settings& settings_;
    SpotStore* store_ = nullptr;
    BandRange range_ = kBandAll;
    QSplitter* splitter_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QTableView* list_ = nullptr;
    SpotListModel* model_ = nullptr;
    QMenu* rowMenu_ = nullptr;
    QTimer* ageTimer_ = nullptr;
    // Whether the optional columns were ever set: only then are they written back, so a settings
    // file of a program without them gets exactly the values it always got.
    bool extrasConfigured_ = false;
    int treeWidth_ = 0;        // the width asked for, until the splitter has been laid out
    bool everShown_ = false;
    bool layoutSaved_ = false;
    bool scrollPending_ = false;
    refresh_pacing::FramePacer listPacer_{this, [this] { showNewRows(); }};
    FilterBar* filterBar_ = nullptr;
    std::unique_ptr<ListShaper> shaper_;
    void setUpFilterBar();
};

}  // namespace quendra
