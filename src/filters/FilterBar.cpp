#include "filters/FilterBar.h"

#include "platform/QtText.h"

#include "dxcc/Continent.h"
#include "modes/BandPlan.h"
#include "modes/Mode.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include <utility>

namespace quendra {
namespace {

constexpr int kModeGroups = static_cast<int>(ModeGroup::Digital) + 1;
constexpr int kContinents = static_cast<int>(Continent::SouthAmerica) + 1;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FilterBar::FilterBar(Settings& settings, QWidget* parent) : QWidget(parent), settings_(settings) {
    setObjectName(QStringLiteral("FilterBar"));
    setAccessibleName(tr("Filter bar"));
    setAccessibleDescription(tr("Narrows the spot list; Escape hides it"));
    // As tall as its controls: the list below takes every other pixel.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    current_ = loadFilterSettings(settings_);
    const SpotFilter& filter = current_.filter;

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    const auto bands = amateurBands();
    // Band index 0 is 160m; the other menus skip their Unknown value 0.
    bands_ = addMenuButton(tr("Bands"), static_cast<int>(bands.size()), filter.bands(),
                           [bands](int i) { return bands[static_cast<std::size_t>(i)].name; });
    modes_ = addMenuButton(tr("Modes"), kModeGroups, filter.modeGroups(),
                           [](int i) { return modeGroupName(static_cast<ModeGroup>(i)); });
    dxContinents_ = addMenuButton(tr("DX continent"), kContinents, filter.dxContinents(),
                                  [](int i) { return continentCode(static_cast<Continent>(i)); });
    spotterContinents_ = addMenuButton(tr("Spotter continent"), kContinents, filter.spotterContinents(),
                                       [](int i) { return continentCode(static_cast<Continent>(i)); });
    skimmers_ = addToggle(tr("Skimmer spots"), tr("Shows the spots of skimmers when checked"), filter.showSkimmers());

    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("filterText"));
    text_->setPlaceholderText(tr("Call, prefix or country"));
    text_->setAccessibleName(tr("Filter text"));
    text_->setAccessibleDescription(tr("Shows only spots whose call, country prefix or country holds this text"));
    text_->setClearButtonEnabled(true);
    text_->setText(toQString(filter.text()));
    text_->setMaximumWidth(180);
    layout->addWidget(text_);
    connect(text_, &QLineEdit::textChanged, this, &FilterBar::takeControls);

    collapse_ = addToggle(tr("Collapse repeats"), tr("One row per station, band and mode, with the number of spotters"),
                          current_.collapseRepeats);

    hidden_ = new QLabel(this);
    hidden_->setObjectName(QStringLiteral("hiddenCount"));
    hidden_->setAccessibleName(tr("Hidden spots"));
    layout->addWidget(hidden_);
    layout->addStretch(1);

    auto* close = new QToolButton(this);
    close->setText(tr("Close"));
    close->setAccessibleName(tr("Close filter bar"));
    close->setToolTip(tr("Hides the filter bar (Escape); the filters stay in force"));
    close->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(close);
    connect(close, &QToolButton::clicked, this, [this] { setBarShown(false); });

    auto* escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(escape);
    connect(escape, &QAction::triggered, this, [this] { setBarShown(false); });

    setHiddenCount(0);
    updateButtonTexts();
    setVisible(current_.barShown);
}

QToolButton* FilterBar::addMenuButton(const QString& title, int count, SpotFilter::Mask checked,
                                      const std::function<std::string_view(int)>& name) {
    auto* button = new QToolButton(this);
    button->setAccessibleName(title);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* menu = new QMenu(title, button);
    for (int i = 0; i < count; ++i) {
        const QString text = latin1(name(i));
        if (text.isEmpty())
            continue;
        QAction* item = menu->addAction(text);
        item->setCheckable(true);
        item->setChecked((checked & SpotFilter::bit(i)) != 0);
        item->setData(i);
        connect(item, &QAction::toggled, this, &FilterBar::takeControls);
    }
    menu->addSeparator();
    QAction* all = menu->addAction(tr("Show all"));
    connect(all, &QAction::triggered, this, [this, menu] {
        const QSignalBlocker quiet(menu);
        for (QAction* item : menu->actions()) {
            const QSignalBlocker one(item);
            if (item->isCheckable())
                item->setChecked(false);
        }
        takeControls();
    });
    button->setMenu(menu);
    layout()->addWidget(button);
    return button;
}

QToolButton* FilterBar::addToggle(const QString& text, const QString& description, bool checked) {
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setAccessibleName(text);
    button->setAccessibleDescription(description);
    button->setToolTip(description);
    button->setCheckable(true);
    button->setChecked(checked);
    button->setFocusPolicy(Qt::StrongFocus);
    layout()->addWidget(button);
    connect(button, &QToolButton::toggled, this, &FilterBar::takeControls);
    return button;
}

SpotFilter::Mask FilterBar::checkedMask(const QToolButton* button) const {
    SpotFilter::Mask mask = 0;
    for (const QAction* item : button->menu()->actions()) {
        if (item->isCheckable() && item->isChecked())
            mask |= SpotFilter::bit(item->data().toInt());
    }
    return mask;
}

void FilterBar::takeControls() {
    FilterSettings next = current_;
    next.filter.setBands(checkedMask(bands_));
    next.filter.setModeGroups(checkedMask(modes_));
    next.filter.setDxContinents(checkedMask(dxContinents_));
    next.filter.setSpotterContinents(checkedMask(spotterContinents_));
    next.filter.setShowSkimmers(skimmers_->isChecked());
    next.filter.setText(toU16(text_->text()));
    next.collapseRepeats = collapse_->isChecked();
    if (next == current_)
        return;
    current_ = std::move(next);
    updateButtonTexts();
    save();
    emit filtersChanged();
}

// A button names what it lets through, so the bar reads as the list's state at a glance.
void FilterBar::updateButtonTexts() {
    const auto label = [](QToolButton* button, const QString& all, const std::u16string& chosen) {
        button->setText(chosen.empty() ? all : toQString(chosen));
        button->setToolTip(chosen.empty() ? all : button->accessibleName() + QStringLiteral(": ") + toQString(chosen));
    };
    const SpotFilter& filter = current_.filter;
    label(bands_, tr("All bands"), bandListText(filter.bands()));
    label(modes_, tr("All modes"), modeGroupListText(filter.modeGroups()));
    label(dxContinents_, tr("DX: all"), filter.dxContinents() ? u"DX: " + continentListText(filter.dxContinents()) : u"");
    label(spotterContinents_, tr("de: all"),
          filter.spotterContinents() ? u"de: " + continentListText(filter.spotterContinents()) : u"");
}

void FilterBar::setBandsAndDxContinents(SpotFilter::Mask bands, SpotFilter::Mask dxContinents) {
    for (const auto& [button, mask] : {std::pair{bands_, bands}, std::pair{dxContinents_, dxContinents}}) {
        for (QAction* item : button->menu()->actions()) {
            const QSignalBlocker quiet(item);
            if (item->isCheckable())
                item->setChecked((mask & SpotFilter::bit(item->data().toInt())) != 0);
        }
    }
    takeControls();
}

void FilterBar::addControl(QWidget* control) {
    auto* row = static_cast<QHBoxLayout*>(layout());
    row->insertWidget(row->indexOf(hidden_), control);
}

void FilterBar::placeAfter(QWidget* control, QWidget* neighbour) {
    auto* row = static_cast<QHBoxLayout*>(layout());
    const int at = row->indexOf(neighbour);
    if (at < 0 || row->indexOf(control) < 0)
        return;
    row->removeWidget(control);
    row->insertWidget(row->indexOf(neighbour) + 1, control);
    QWidget::setTabOrder(neighbour, control);
}

void FilterBar::save() { saveFilterSettings(settings_, current_); }

void FilterBar::setHiddenCount(int hidden) { hidden_->setText(hidden > 0 ? tr("%1 hidden").arg(hidden) : QString()); }

QString FilterBar::hiddenText() const { return hidden_->text(); }

void FilterBar::setBarShown(bool shown) {
    const bool wasShown = current_.barShown;
    setVisible(shown);
    if (shown)
        bands_->setFocus(Qt::ShortcutFocusReason);
    if (wasShown != shown) {
        current_.barShown = shown;
        save();
    }
    if (!shown)
        emit barHidden();
}

}  // namespace quendra
