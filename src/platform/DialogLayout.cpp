#include "platform/DialogLayout.h"

#include "platform/QtText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QValidator>

#include <algorithm>
#include <utility>
#include <vector>

namespace quendra {
namespace {

bool relayoutEnabled = false;

// A static text this tall (dialog units) holds two lines and wraps; a lower one is a single line.
constexpr int kTwoLineHeight = 16;

// Turns letters into capitals as they are typed or pasted, one character for one so that the caret
// stays where it was.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        input = upperCased(input);
        return Acceptable;
    }
};

QWidget* createControl(const DialogControlTemplate& control, QDialog* dialog) {
    if (control.kind == ControlKind::ComboBox) {
        auto* combo = new QComboBox(dialog);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // No completion: the address confirmed must be exactly the one typed, not a longer history
        // entry that Qt would fill in (typing "node" must not connect to "node:8000").
        combo->setCompleter(nullptr);
        return combo;
    }
    if (control.kind == ControlKind::Edit) {
        auto* edit = new QLineEdit(dialog);
        if (control.style & kStyleUpperCase)
            edit->setValidator(new UpperCaseValidator(edit));
        return edit;
    }
    if (control.kind == ControlKind::Button) {
        auto* button = new QPushButton(control.text, dialog);
        button->setAutoDefault(false);
        button->setDefault(control.style & kStyleDefaultButton);
        if (control.id == 1)
            QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
        else if (control.id == 2)
            QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
        return button;
    }
    auto* label = new QLabel(control.text, dialog);
    label->setWordWrap(control.kind == ControlKind::Static &&
                       control.rect.height() >= kTwoLineHeight);
    return label;
}

void showImage(QLabel* label, const DialogControlTemplate& control, const QSize& size) {
    QPixmap image(control.image);
    if (image.isNull())
        image = QApplication::windowIcon().pixmap(size);
    if (image.isNull())
        image = QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size);
    label->setPixmap(image.isNull() ? QPixmap() : image.scaled(size, Qt::KeepAspectRatio,
                                                                Qt::SmoothTransformation));
}

QRect placeOf(const DialogControlTemplate& control, QWidget* widget, const QFont& font) {
    QRect place = dialogUnitsToPixels(control.rect, font);
    // A combo box's template height includes its drop-down list; the closed box keeps its own.
    if (qobject_cast<QComboBox*>(widget))
        place.setHeight(widget->sizeHint().height());
    // The desktop font is not the one the layout was drawn with: a one-line text that does not fit
    // grows to the right rather than losing its end.
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap() && label->pixmap().isNull())
        place.setWidth(std::max(place.width(), label->sizeHint().width()));
    return place;
}

QWidget* findLabel(const QDialog* dialog, int labelIndex) {
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant index = child->property(kDialogLabelIndexProperty);
        if (index.isValid() && index.toInt() == labelIndex)
            return child;
    }
    return nullptr;
}

// The label right before a control names it for a screen reader; labels before that one are
// hints, such as the format an address is typed in, and describe it.
void labelControl(QWidget* control, const std::vector<QLabel*>& labels) {
    if (labels.empty())
        return;
    labels.back()->setBuddy(control);
    control->setAccessibleName(labels.back()->text().simplified());
    QStringList hints;
    for (std::size_t i = 0; i + 1 < labels.size(); ++i)
        hints << labels[i]->text().simplified();
    if (!hints.isEmpty())
        control->setAccessibleDescription(hints.join(QLatin1Char(' ')));
}

void setTemplateText(QWidget* widget, const DialogControlTemplate& control) {
    if (control.kind == ControlKind::Static) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(control.text);
    } else if (control.kind == ControlKind::Button) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(control.text);
    }
}

// The selection is shown again in the edit field, unless the user has typed there since: the typed
// text stands for no selection and is left alone.
void reapplySelection(QComboBox* combo) {
    const int index = combo->currentIndex();
    if (index < 0)
        return;
    if (!combo->isEditable() || !combo->lineEdit()->isModified())
        combo->setEditText(combo->itemText(index));
}

}  // namespace

void setDialogRelayoutEnabled(bool enabled) { relayoutEnabled = enabled; }
bool dialogRelayoutEnabled() { return relayoutEnabled; }

bool screenIsPortrait(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QRect geometry = screen->geometry();
    return geometry.height() > geometry.width();
}

void buildDialogControls(QDialog* dialog, const DialogTemplate& layout) {
    dialog->setWindowTitle(layout.title);
    const QFont font = dialog->font();
    int labelIndex = 0;
    std::vector<QLabel*> pendingLabels;  // the static texts since the last other control
    for (const DialogControlTemplate& control : layout.controls) {
        QWidget* widget = createControl(control, dialog);
        if (control.id == DialogControlTemplate::kNoId)
            widget->setProperty(kDialogLabelIndexProperty, labelIndex++);
        else
            widget->setProperty(kDialogControlIdProperty, control.id);
        widget->setGeometry(placeOf(control, widget, font));
        if (control.kind == ControlKind::Icon) {
            showImage(static_cast<QLabel*>(widget), control, widget->size());
            widget->setAccessibleName(QGuiApplication::applicationDisplayName());
        }
        if (control.kind == ControlKind::Static) {
            pendingLabels.push_back(static_cast<QLabel*>(widget));
            continue;
        }
        labelControl(widget, pendingLabels);
        pendingLabels.clear();
    }
    dialog->resize(dialogUnitsToPixels(layout.size, font));
}

QWidget* findDialogControl(const QDialog* dialog, int controlId) {
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant id = child->property(kDialogControlIdProperty);
        if (id.isValid() && id.toInt() == controlId)
            return child;
    }
    return nullptr;
}

void ApplyDialogLayout(QDialog* dialog, int templateId) {
    const auto layout = loadDialogTemplate(templateId);
    if (!dialog || !layout)
        return;
    const QFont font = dialog->font();
    int labelIndex = 0;
    // Every place is worked out first and then applied in one go, as the stacking order stays.
    std::vector<std::pair<QWidget*, QRect>> moves;
    for (const DialogControlTemplate& control : layout->controls) {
        QWidget* widget = control.id == DialogControlTemplate::kNoId
                              ? findLabel(dialog, labelIndex++)
                              : findDialogControl(dialog, control.id);
        if (!widget)
            continue;
        const QRect place = placeOf(control, widget, font);
        moves.emplace_back(widget, place);
        setTemplateText(widget, control);
        if (auto* label = qobject_cast<QLabel*>(widget); label && control.kind == ControlKind::Icon)
            showImage(label, control, place.size());
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            reapplySelection(combo);
    }
    for (const auto& [widget, place] : moves)
        widget->setGeometry(place);
}

QDialogButtonBox* addDesktopButtons(QDialog* dialog, const DialogTemplate& layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    const QSize area = dialogUnitsToPixels(layout.size, dialog->font());
    const QSize hint = buttons->sizeHint();
    const int margin = dialogUnitsToPixels(QSize(7, 7), dialog->font()).height();
    buttons->setGeometry(margin, area.height(), area.width() - 2 * margin, hint.height());
    dialog->resize(area.width(), area.height() + hint.height() + margin);
    return buttons;
}

}  // namespace quendra
