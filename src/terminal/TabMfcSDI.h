#pragma once

#include <QRect>
#include <QTabBar>

namespace quendra {

// The strip of view tabs across the top of the main window. It never takes the keyboard focus,
// so picking a tab leaves the focus with the view. Its height reaches a little into the space
// it leaves for the views below it.
class TabMfcSDI : public QTabBar {
    Q_OBJECT
public:
    static constexpr int kControlId = 42;

    explicit TabMfcSDI(QWidget* parent = nullptr);

    void Create(QWidget* parent, bool highResolution);
    int AddTab(const QString& label);
    int tabCount() const { return count(); }

    // Since the strip never takes the focus, the window gets the keys that switch tabs: Ctrl+Tab
    // and Ctrl+PgDown pick the next tab, Ctrl+Shift+Tab and Ctrl+PgUp the previous one (both
    // wrap around), Alt+1 to Alt+9 pick a tab by its place. Call after the tabs are added.
    void addSwitchingKeys(QWidget* window);
    // A tab added after the switching keys, with its Alt key when it is among the first nine.
    int addLaterTab(const QString& label, QWidget* window);

    int claimedHeight() const;
    int stripHeight() const;
    // Takes the top of the free area over its whole width and leaves the rest below.
    void layoutInto(QRect& freeArea);

protected:
    // Tabs fill the strip's claimed height, so the strip shows no empty band below them.
    QSize tabSizeHint(int index) const override;

private:
    void stepSelection(int step);
    void addPickKey(QWidget* window, int index);

    bool highResolution_ = false;
};

}  // namespace quendra
