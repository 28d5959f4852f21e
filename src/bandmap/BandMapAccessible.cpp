#include "bandmap/BandMapAccessible.h"

#include "bandmap/BandMapCanvas.h"

#include <QWidget>

namespace quendra {

BandMapAccessible::BandMapAccessible(BandMapCanvas* canvas) : QAccessibleWidget(canvas, QAccessible::List) {}

BandMapAccessible::~BandMapAccessible() {
    for (QAccessible::Id id : std::as_const(items_))
        QAccessible::deleteAccessibleInterface(id);
}

BandMapCanvas* BandMapAccessible::canvas() const { return static_cast<BandMapCanvas*>(widget()); }

int BandMapAccessible::childCount() const { return canvas()->spots().size(); }

QAccessibleInterface* BandMapAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    auto found = items_.constFind(index);
    if (found == items_.constEnd()) {
        // The list only ever asks for what a reader reads; items past a shrunken list go.
        for (auto it = items_.begin(); it != items_.end();) {
            if (it.key() >= childCount()) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = items_.erase(it);
            } else {
                ++it;
            }
        }
        found = items_.insert(index, QAccessible::registerAccessibleInterface(new BandMapItemAccessible(canvas(), index)));
    }
    return QAccessible::accessibleInterface(*found);
}

int BandMapAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || child->role() != QAccessible::ListItem || child->parent() != this)
        return -1;
    const int position = static_cast<const BandMapItemAccessible*>(child)->position();
    return position < childCount() ? position : -1;
}

QAccessibleInterface* BandMapAccessible::childAt(int x, int y) const {
    const QPoint at = canvas()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < childCount(); ++i) {
        if (canvas()->spotRect(i).contains(at))
            return child(i);
    }
    return nullptr;
}

QAccessibleInterface* BandMapAccessible::focusChild() const {
    if (!canvas()->hasFocus())
        return nullptr;
    const int current = canvas()->currentPosition();
    return current >= 0 ? child(current) : nullptr;
}

// --- An item -----------------------------------------------------------------------------------

bool BandMapItemAccessible::isValid() const { return canvas_ && position_ < canvas_->spots().size(); }

QWindow* BandMapItemAccessible::window() const {
    return canvas_ ? canvas_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* BandMapItemAccessible::parent() const {
    return canvas_ ? QAccessible::queryAccessibleInterface(canvas_.data()) : nullptr;
}

QString BandMapItemAccessible::text(QAccessible::Text t) const {
    if (!isValid() || t != QAccessible::Name)
        return {};
    return canvas_->spots().textOf(canvas_->spots().spots()[static_cast<std::size_t>(position_)]);
}

QRect BandMapItemAccessible::rect() const {
    if (!isValid())
        return {};
    const QRect local = canvas_->spotRect(position_);
    return local.isNull() ? QRect() : QRect(canvas_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State BandMapItemAccessible::state() const {
    QAccessible::State state;
    if (!isValid())
        return state;
    state.selectable = true;
    state.focusable = true;
    const bool current = canvas_->currentPosition() == position_;
    state.selected = current;
    state.focused = current && canvas_->hasFocus();
    state.invisible = canvas_->spotRect(position_).isNull();
    state.offscreen = state.invisible;
    return state;
}

void* BandMapItemAccessible::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList BandMapItemAccessible::actionNames() const { return {pressAction(), setFocusAction()}; }

void BandMapItemAccessible::doAction(const QString& actionName) {
    if (!isValid())
        return;
    if (actionName == pressAction())
        canvas_->activatePosition(position_);
    else if (actionName == setFocusAction())
        canvas_->setCurrentPosition(position_);
}

QStringList BandMapItemAccessible::keyBindingsForAction(const QString& actionName) const {
    return actionName == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
}

namespace {

QAccessibleInterface* bandMapFactory(const QString&, QObject* object) {
    if (auto* canvas = qobject_cast<BandMapCanvas*>(object))
        return new BandMapAccessible(canvas);
    return nullptr;
}

}  // namespace

void installBandMapAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(bandMapFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace quendra
