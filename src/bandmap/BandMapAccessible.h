#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace quendra {

class BandMapCanvas;

// The band map as a screen reader reads it: a list named "Band map" whose items are its spots in
// frequency order, each read as "14,025.0 ZZ2CD CW New DXCC". The item the keyboard is on is
// focused and selected; pressing an item acts on its spot as Enter does.
class BandMapAccessible : public QAccessibleWidget {
public:
    explicit BandMapAccessible(BandMapCanvas* canvas);
    ~BandMapAccessible() override;

    BandMapCanvas* canvas() const;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    // Only the items a screen reader has asked for are kept, by their place in the list.
    mutable QHash<int, QAccessible::Id> items_;
};

// One spot of the band map, fixed to its place in frequency order.
class BandMapItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    BandMapItemAccessible(BandMapCanvas* canvas, int position) : canvas_(canvas), position_(position) {}

    int position() const { return position_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QPointer<BandMapCanvas> canvas_;
    int position_;
};

void installBandMapAccessibleFactory();

}  // namespace quendra
