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

    bool Create(QWidget* parent, bool highResolution);
    int AddTab(const QString& label);
    int tabCount() const { return count_; }

    int claimedHeight() const;
    int stripHeight() const;
    // Takes the top of the free area over its whole width and leaves the rest below.
    void layoutInto(QRect& freeArea);

protected:
    // Tabs fill the strip's claimed height, so the strip shows no empty band below them.
    QSize tabSizeHint(int index) const override;

private:
    int count_ = 0;
    bool highResolution_ = false;
};

}  // namespace quendra
