#pragma once

#include "platform/DialogTemplate.h"

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace quendra {

// The dynamic properties that tie a built control to its template entry: the control id, or for a
// control without an id its position among the id-less controls of the template.
inline constexpr char kDialogControlIdProperty[] = "dialogControlId";
inline constexpr char kDialogLabelIndexProperty[] = "dialogLabelIndex";

// Whether dialogs follow the screen's orientation when they are resized. Off until the
// application switches it on at start-up.
void setDialogRelayoutEnabled(bool enabled);
bool dialogRelayoutEnabled();

// True when the dialog's screen is taller than it is wide.
bool screenIsPortrait(const QWidget* widget);

// Creates the template's controls as children of the dialog, placed in pixels from the dialog's
// font, with the title and a size that fits the template. A label directly before a control
// becomes that control's buddy and accessible name, and labels before that one its description.
// Buttons 1 and 2 accept and reject the dialog.
void buildDialogControls(QDialog* dialog, const DialogTemplate& layout);

// The dialog's control with that template id, or nullptr.
QWidget* findDialogControl(const QDialog* dialog, int controlId);

// Moves every control of the dialog to its counterpart's place in the other template (texts of
// labels and buttons too, and a combo box's selection again); the dialog keeps its own size.
// Does nothing when the template cannot be loaded.
void ApplyDialogLayout(QDialog* dialog, int templateId);

// OK and Cancel buttons under the template's controls, for dialogs whose template has none: the
// desktop has no OK button in the title bar. The dialog grows to hold them.
QDialogButtonBox* addDesktopButtons(QDialog* dialog, const DialogTemplate& layout);

}  // namespace quendra
