#include "spots/ViewDxClusterFrame.h"

#include "platform/QtText.h"
#include "platform/RefreshPacing.h"

#include "filters/FilterBar.h"
#include "filters/ListShaper.h"

#include "settings/SettingsCatalogue.h"
#include "spots/ColumnOrder.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/SpotCellDelegate.h"
#include "spots/SpotTableView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QVBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace quendra {
namespace {

constexpr int kMinimumTreeWidth = 10;
static_assert(setting::kDefaultColumnWidths.size() == SpotListModel::ColumnCount);

std::u16string columnEntry(int column) { return setting::kColumnWidth.entry(column); }

}  // namespace

ViewDxClusterFrame::ViewDxClusterFrame(Settings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    filterBar_ = new FilterBar(settings_, this);
    layout->addWidget(filterBar_);
    layout->addWidget(splitter_);

    tree_ = new QTreeWidget(splitter_);
    list_ = new SpotTableView(splitter_);
    list_->setItemDelegate(new SpotCellDelegate(list_));
    model_ = new SpotListModel(this);
    buildTree();
    buildList();
    restoreTreeWidth();
    restoreColumns();
    restoreExtraColumns();
    nameForAssistiveTools();
    setUpFilterBar();
    // Picking the view's tab puts the focus in the band tree; Tab moves on to the list.
    setFocusProxy(tree_);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &ViewDxClusterFrame::refillList);
}

ViewDxClusterFrame::~ViewDxClusterFrame() { saveLayout(); }

void ViewDxClusterFrame::nameForAssistiveTools() {
    tree_->setAccessibleName(tr("Bands"));
    tree_->setAccessibleDescription(tr("Picks the band whose spots the list shows"));
    // The header is hidden, but a screen reader still reads its title as the column's name.
    tree_->setHeaderLabels({tr("Band")});
    list_->setAccessibleName(tr("Spots"));
    list_->setAccessibleDescription(tr("Spots of the selected band, the newest at the bottom"));
    if (QSplitterHandle* divider = splitter_->handle(1))
        divider->setAccessibleName(tr("Divider between bands and spots"));
}

void ViewDxClusterFrame::buildTree() {
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setMinimumWidth(kMinimumTreeWidth);
    auto* all = new QTreeWidgetItem(tree_, QStringList{QStringLiteral("All")});
    for (const char* band : {"HF", "VHF", "UHF"})
        new QTreeWidgetItem(all, QStringList{QString::fromLatin1(band)});
    all->setExpanded(false);
}

void ViewDxClusterFrame::buildList() {
    list_->setModel(model_);
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSortingEnabled(false);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Dense rows: an operator wants to see as many spots as the window can hold.
    list_->verticalHeader()->setMinimumSectionSize(1);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    QHeaderView* header = list_->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSortIndicatorShown(false);
    header->setSectionsClickable(false);
    header->setMinimumSectionSize(0);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    // The header's menu shows and hides the optional columns; the list's menu offers the row
    // commands. Both appear only when asked for.
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, &ViewDxClusterFrame::showHeaderMenu);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &ViewDxClusterFrame::showRowMenu);
    connect(list_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit spotActivated(model_->storeIndexAt(index.row()));
    });
    rowMenu_ = new QMenu(tr("Spot"), this);
    ageTimer_ = new QTimer(this);
    ageTimer_->setInterval(30'000);
    connect(ageTimer_, &QTimer::timeout, model_, &SpotListModel::refreshAges);
}

void ViewDxClusterFrame::restoreTreeWidth() {
    treeWidth_ = std::max(kMinimumTreeWidth,
                          readSetting(settings_, setting::kTreeWidth));
    // The tree keeps its width when the view is resized; the list takes the rest.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({treeWidth_, std::max(0, width() - treeWidth_)});
}

void ViewDxClusterFrame::restoreColumns() {
    QHeaderView* header = list_->horizontalHeader();
    for (int column = 0; column < SpotListModel::ColumnCount; ++column) {
        const int width = settings_.GetProfileInt(setting::kColumnWidth.section, columnEntry(column),
                                                  setting::kDefaultColumnWidths[static_cast<std::size_t>(column)]);
        // A negative width cannot be shown; the narrowest column there is stands for it.
        header->resizeSection(column, std::max(0, width));
    }
    const auto bytes = readSetting(settings_, setting::kColumnOrder);
    if (!bytes)
        return;
    const auto order = decodeColumnOrder(*bytes, SpotListModel::ColumnCount);
    if (!order)
        return;
    for (int position = 0; position < SpotListModel::ColumnCount; ++position)
        header->moveSection(header->visualIndex((*order)[static_cast<std::size_t>(position)]),
                            position);
}

void ViewDxClusterFrame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!everShown_) {
        everShown_ = true;
        splitter_->setSizes({treeWidth_, std::max(0, splitter_->width() - treeWidth_)});
    }
}

void ViewDxClusterFrame::saveLayout() {
    if (layoutSaved_)
        return;
    layoutSaved_ = true;
    saveSplitter();
    saveColumns();
}

void ViewDxClusterFrame::saveSplitter() {
    int treeWidth = treeWidth_;
    int listWidth = std::max(0, splitter_->width() - treeWidth_ - splitter_->handleWidth());
    // Until the splitter has been laid out its pane sizes are not real; keep what was asked for.
    if (everShown_) {
        const QList<int> sizes = splitter_->sizes();
        // The width shown, never more than the view: an oversized stored width heals.
        treeWidth = std::min(sizes.value(0), splitter_->width());
        listWidth = sizes.value(1);
    }
    writeSetting(settings_, setting::kTreeWidth, treeWidth);
    writeSetting(settings_, setting::kListWidth, listWidth);
}

void ViewDxClusterFrame::saveColumns() {
    const QHeaderView* header = list_->horizontalHeader();
    const int count = SpotListModel::ColumnCount;
    writeSetting(settings_, setting::kColumnCount, count);
    std::vector<int> order;
    for (int column = 0; column < count; ++column)
        settings_.WriteProfileInt(setting::kColumnWidth.section, columnEntry(column), header->sectionSize(column));
    // The classic columns in their order on screen; optional columns between them are skipped.
    for (int visual = 0; visual < header->count(); ++visual) {
        if (const int logical = header->logicalIndex(visual); logical < count)
            order.push_back(logical);
    }
    writeSetting(settings_, setting::kColumnOrder, encodeColumnOrder(order));
    saveExtraColumns();
}

void ViewDxClusterFrame::setSpotStore(SpotStore* store) {
    store_ = store;
    model_->setStore(store);
}

QString ViewDxClusterFrame::selectedBandName() const {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(0);
}

void ViewDxClusterFrame::refillList() {
    if (!store_)
        return;
    if (const auto band = bandByName(toU16(selectedBandName())))
        range_ = *band;
    scrollPending_ = false;
    shaper_->filter().setRange(range_);
    shaper_->filter().setCountries(model_->countries());
    ListShaper::Rows rows = shaper_->refill(*store_);
    filterBar_->setHiddenCount(shaper_->hiddenCount());
    model_->setRows(std::move(rows.storeIndexes), std::move(rows.spotters));
}

void ViewDxClusterFrame::addSpot(int index) {
    if (!store_)
        return;
    const bool agedOut = store_->expireSpots() > 0;
    showStoredSpots({index}, agedOut);
}

void ViewDxClusterFrame::showStoredSpots(const std::vector<int>& indexes, bool agedOut) {
    if (!store_)
        return;
    // Age-out shifts the indexes of every row, so after it only a full refill is right; the
    // refill lists the new spots too, and leaves the list where it was.
    if (agedOut) {
        refillList();
        return;
    }
    for (int index : indexes)
        appendStored(index);
}

void ViewDxClusterFrame::appendStored(int index) {
    if (index < 0 || index >= store_->count())
        return;
    const ListShaper::Placement placed = shaper_->add(*store_, index);
    filterBar_->setHiddenCount(shaper_->hiddenCount());
    if (placed.change == ListShaper::Change::Updated)
        model_->replaceRow(placed.row, index, placed.spotters);
    if (placed.change != ListShaper::Change::Appended)
        return;
    model_->appendRow(index, placed.spotters);
    // The new row is the last one, so the list scrolls to its bottom; once a frame at most,
    // however many reads the spots came in, because each new row lays the list out and repaints
    // all of it, which costs far more than the row itself. Until then the table is held.
    if (scrollPending_)
        return;
    scrollPending_ = true;
    if (refresh_pacing::coalescing()) {
        static_cast<SpotTableView*>(list_)->hold();
        model_->holdNewRows();
    }
    listPacer_.request();
}

void ViewDxClusterFrame::showNewRows() {
    listPacer_.refreshed();
    model_->showNewRows();
    // A refill since then cancelled the scroll: a refilled list stays where it is.
    static_cast<SpotTableView*>(list_)->release(std::exchange(scrollPending_, false));
}

QString ViewDxClusterFrame::selectedSpotsText() const {
    QModelIndexList rows = list_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    const QHeaderView* header = list_->horizontalHeader();
    QStringList lines;
    for (const QModelIndex& row : rows) {
        QStringList cells;
        for (int visual = 0; visual < header->count(); ++visual) {
            if (header->isSectionHidden(header->logicalIndex(visual)))
                continue;
            const QModelIndex cell = model_->index(row.row(), header->logicalIndex(visual));
            cells << model_->data(cell, Qt::DisplayRole).toString();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void ViewDxClusterFrame::copySelectedSpots() const {
    const QString text = selectedSpotsText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

// --- Optional columns and row commands ---------------------------------------------------------

// Optional columns are kept by their titles, in their order on screen, with their widths and
// their places among the shown columns.
void ViewDxClusterFrame::restoreExtraColumns() {
    QHeaderView* header = list_->horizontalHeader();
    for (int logical = SpotListModel::ColumnCount; logical < model_->columnCount(); ++logical)
        header->hideSection(logical);
    const std::u16string shown = readSetting(settings_, setting::kExtraColumns);
    extrasConfigured_ = !shown.empty();
    std::vector<int> sections;
    for (const std::u16string& title : parseColumnTitles(shown)) {
        if (const int logical = optionalSectionTitled(toQString(title)); logical >= 0)
            sections.push_back(logical);
    }
    const std::vector<int> widths = parseWidthList(readSetting(settings_, setting::kExtraColumnWidths));
    for (std::size_t i = 0; i < sections.size(); ++i) {
        header->showSection(sections[i]);
        header->moveSection(header->visualIndex(sections[i]), header->count() - 1);
        if (i < widths.size() && widths[i] >= 0)
            header->resizeSection(sections[i], widths[i]);
    }
    placeExtraColumns(sections, parseWidthList(readSetting(settings_, setting::kExtraColumnPlaces)));
    updateAgeTimer();
}

int ViewDxClusterFrame::optionalSectionTitled(const QString& title) const {
    for (int logical = SpotListModel::ColumnCount; logical < model_->columnCount(); ++logical) {
        if (model_->headerData(logical, Qt::Horizontal).toString() == title)
            return logical;
    }
    return -1;
}

void ViewDxClusterFrame::saveExtraColumns() {
    if (!extrasConfigured_)
        return;
    const std::vector<int> sections = shownOptionalSections();
    std::vector<std::u16string> titles;
    std::vector<int> widths;
    for (int logical : sections) {
        titles.push_back(toU16(model_->headerData(logical, Qt::Horizontal).toString()));
        widths.push_back(list_->horizontalHeader()->sectionSize(logical));
    }
    writeSetting(settings_, setting::kExtraColumns, columnTitlesText(titles));
    writeSetting(settings_, setting::kExtraColumnWidths, widthListText(widths));
    writeSetting(settings_, setting::kExtraColumnPlaces, widthListText(extraColumnPlaces(sections)));
}

// The place of each optional column among the shown ones (hidden sections are not counted).
std::vector<int> ViewDxClusterFrame::extraColumnPlaces(const std::vector<int>& sections) const {
    const QHeaderView* header = list_->horizontalHeader();
    std::vector<int> places;
    for (int logical : sections) {
        const int visual = header->visualIndex(logical);
        int place = 0;
        for (int before = 0; before < visual; ++before)
            place += header->isSectionHidden(header->logicalIndex(before)) ? 0 : 1;
        places.push_back(place);
    }
    return places;
}

// Moves the optional columns, which stand after the classic ones, to the places they had; done
// from the leftmost place on, so each move leaves the earlier ones where they are. Places that
// do not fit (a damaged value) leave a column at the end.
void ViewDxClusterFrame::placeExtraColumns(const std::vector<int>& sections, const std::vector<int>& places) {
    if (places.size() != sections.size())
        return;
    std::vector<std::size_t> order(sections.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return places[a] < places[b]; });
    QHeaderView* header = list_->horizontalHeader();
    for (std::size_t i : order) {
        const int place = places[i];
        if (place < 0 || place >= SpotListModel::ColumnCount + static_cast<int>(sections.size()))
            continue;
        // The visual index of the place-th shown section.
        int shown = -1;
        for (int visual = 0; visual < header->count(); ++visual) {
            if (!header->isSectionHidden(header->logicalIndex(visual)) && ++shown == place) {
                header->moveSection(header->visualIndex(sections[i]), visual);
                break;
            }
        }
    }
}

std::vector<int> ViewDxClusterFrame::shownOptionalSections() const {
    const QHeaderView* header = list_->horizontalHeader();
    std::vector<int> sections;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= SpotListModel::ColumnCount && !header->isSectionHidden(logical))
            sections.push_back(logical);
    }
    return sections;
}

std::vector<ExtraColumn> ViewDxClusterFrame::shownExtraColumns() const {
    std::vector<ExtraColumn> columns;
    for (int logical : shownOptionalSections()) {
        if (logical < SpotListModel::kAllColumns)
            columns.push_back(static_cast<ExtraColumn>(logical - SpotListModel::ColumnCount));
    }
    return columns;
}

void ViewDxClusterFrame::setExtraColumnShown(ExtraColumn column, bool shown) {
    setOptionalSectionShown(SpotListModel::columnOf(column), shown);
}

void ViewDxClusterFrame::setOptionalSectionShown(int logical, bool shown) {
    QHeaderView* header = list_->horizontalHeader();
    if (header->isSectionHidden(logical) == !shown)
        return;
    extrasConfigured_ = true;
    header->setSectionHidden(logical, !shown);
    if (shown && header->sectionSize(logical) < 20)
        header->resizeSection(logical, 90);
    updateAgeTimer();
    emit extraColumnsChanged();
}

// Features add their columns while they are built, before the operator has touched the list, so
// the saved columns are simply applied again with the new one among them.
int ViewDxClusterFrame::addOptionalColumn(const ListColumn& column) {
    const int logical = model_->addColumn(column);
    restoreExtraColumns();
    return logical;
}

void ViewDxClusterFrame::showHeaderMenu(const QPoint& at) {
    QMenu menu(tr("Columns"), this);
    const QHeaderView* header = list_->horizontalHeader();
    for (int logical = SpotListModel::ColumnCount; logical < model_->columnCount(); ++logical) {
        QAction* toggle = menu.addAction(model_->headerData(logical, Qt::Horizontal).toString());
        toggle->setCheckable(true);
        toggle->setChecked(!header->isSectionHidden(logical));
        connect(toggle, &QAction::toggled, this, [this, logical](bool on) { setOptionalSectionShown(logical, on); });
    }
    menu.exec(list_->horizontalHeader()->viewport()->mapToGlobal(at));
}

// The bar's filters apply at once; Ctrl+F (while this view holds the focus) and the list's menu
// show the bar, Escape in it hides it and gives the list the focus back.
bool ViewDxClusterFrame::passesFilterBar(int storeIndex) const {
    return store_ && storeIndex >= 0 && storeIndex < store_->count() && shaper_->filter().passesBar(*store_, storeIndex);
}

void ViewDxClusterFrame::setUpFilterBar() {
    shaper_ = std::make_unique<ListShaper>(readSetting(settings_, setting::kSpotLifetimeSeconds));
    const auto takeFilters = [this] {
        shaper_->filter().setFilter(filterBar_->current().filter);
        shaper_->setCollapse(filterBar_->current().collapseRepeats);
    };
    takeFilters();
    connect(filterBar_, &FilterBar::filtersChanged, this, [this, takeFilters] {
        takeFilters();
        shaper_->setLifetime(readSetting(settings_, setting::kSpotLifetimeSeconds));
        refillList();
    });
    connect(filterBar_, &FilterBar::barHidden, this, [this] { list_->setFocus(Qt::ShortcutFocusReason); });
    auto* show = new QAction(tr("Filter bar"), this);
    show->setObjectName(QStringLiteral("showFilterBar"));
    show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    show->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(show);
    rowMenu_->addAction(show);
    rowMenu_->addSeparator();
    connect(show, &QAction::triggered, filterBar_, [this] { filterBar_->setBarShown(true); });
}

void ViewDxClusterFrame::addRowAction(QAction* action) { rowMenu_->addAction(action); }

void ViewDxClusterFrame::setMergeSources(bool on) {
    shaper_->setMerge(on);
    refillList();
}

std::vector<std::u16string_view> ViewDxClusterFrame::rowSources(int storeIndex) const {
    return store_ ? shaper_->sourcesOf(*store_, storeIndex) : std::vector<std::u16string_view>{};
}

void ViewDxClusterFrame::addTooltipLine(std::function<QString(int storeIndex)> line) {
    model_->addTooltipLine(std::move(line));
}

void ViewDxClusterFrame::addFilter(QWidget* control, std::function<bool(int storeIndex)> shows) {
    filterBar_->addControl(control);
    shaper_->filter().addCondition(std::move(shows));
}

void ViewDxClusterFrame::showRowMenu(const QPoint& at) {
    if (rowMenu_->isEmpty())
        return;
    rowMenu_->exec(list_->viewport()->mapToGlobal(at));
}

int ViewDxClusterFrame::currentStoreIndex() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? model_->storeIndexAt(current.row()) : -1;
}

bool ViewDxClusterFrame::selectStoreIndex(int storeIndex) {
    // Rows stand in arrival order, and a spot picked elsewhere is most often a recent one.
    for (int row = model_->rowCount() - 1; row >= 0; --row) {
        if (model_->storeIndexAt(row) != storeIndex)
            continue;
        const QModelIndex index = model_->index(row, 0);
        list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list_->scrollTo(index);
        return true;
    }
    return false;
}

void ViewDxClusterFrame::activateStoreIndex(int storeIndex) {
    if (store_ && storeIndex >= 0 && storeIndex < store_->count())
        emit spotActivated(storeIndex);
}

// The list holds at most what the store holds, and this runs once a second while a radio reports.
void ViewDxClusterFrame::markNearest(double kHz) {
    int nearest = -1;
    double bestDistance = 0;
    if (store_ && kHz > 0) {
        for (int row = 0; row < model_->rowCount(); ++row) {
            const double distance = std::abs(store_->frequencyKHzAt(model_->storeIndexAt(row)) - kHz);
            if (nearest < 0 || distance <= bestDistance) {
                nearest = row;
                bestDistance = distance;
            }
        }
    }
    model_->setMarkedRow(nearest);
}

// Ages move on by themselves only while their column is shown: nothing wakes the program for them
// otherwise.
void ViewDxClusterFrame::updateAgeTimer() {
    const bool ageShown = !list_->horizontalHeader()->isSectionHidden(SpotListModel::columnOf(ExtraColumn::Age));
    if (ageShown && !ageTimer_->isActive())
        ageTimer_->start();
    else if (!ageShown)
        ageTimer_->stop();
}

}  // namespace quendra
