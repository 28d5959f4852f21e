#pragma once

#include "filters/SpotFilter.h"

#include <QWidget>

#include <functional>
#include <string_view>

class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace quendra {

class Settings;

// The strip above the spot list that narrows it: bands, mode groups, continents of the station
// and of the spotter, skimmer spots, a text, and collapsed repeats. It starts as the settings
// left it, writes FILTERS whenever the operator changes something, and says how many spots it
// hides. Hidden until asked for; Escape inside it hides it again.
class FilterBar : public QWidget {
    Q_OBJECT
public:
    explicit FilterBar(Settings& settings, QWidget* parent = nullptr);

    const FilterSettings& current() const { return current_; }
    void setHiddenCount(int hidden);
    QString hiddenText() const;

    // A feature's control, after the bar's own and before the count of hidden spots.
    void addControl(QWidget* control);
    // Moves a feature's control to stand right after one of the bar's, in the keyboard order too.
    void placeAfter(QWidget* control, QWidget* neighbour);

    // Checks exactly these bands and continents of the spotted station (0: all of them), as the
    // operator would in their menus; the other filters stay as they are.
    void setBandsAndDxContinents(SpotFilter::Mask bands, SpotFilter::Mask dxContinents);

    // Shows or hides the bar and remembers it; showing puts the focus in its first control.
    void setBarShown(bool shown);

    QToolButton* bandsButton() const { return bands_; }
    QToolButton* modesButton() const { return modes_; }
    QToolButton* dxContinentButton() const { return dxContinents_; }
    QToolButton* spotterContinentButton() const { return spotterContinents_; }
    QToolButton* skimmerButton() const { return skimmers_; }
    QToolButton* collapseButton() const { return collapse_; }
    QLineEdit* textField() const { return text_; }

signals:
    void filtersChanged();
    void barHidden();

private:
    QToolButton* addMenuButton(const QString& title, int count, SpotFilter::Mask checked,
                               const std::function<std::string_view(int)>& name);
    QToolButton* addToggle(const QString& text, const QString& description, bool checked);
    SpotFilter::Mask checkedMask(const QToolButton* button) const;
    void updateButtonTexts();
    void takeControls();
    void save();

    Settings& settings_;
    FilterSettings current_;
    QToolButton* bands_ = nullptr;
    QToolButton* modes_ = nullptr;
    QToolButton* dxContinents_ = nullptr;
    QToolButton* spotterContinents_ = nullptr;
    QToolButton* skimmers_ = nullptr;
    QToolButton* collapse_ = nullptr;
    QLineEdit* text_ = nullptr;
    QLabel* hidden_ = nullptr;
};

}  // namespace quendra
