#include "app/AboutBox.h"

#include "platform/DialogLayout.h"

#include <QResizeEvent>

namespace quendra {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Quendra"));
    if (const auto layout = loadDialogTemplate(kTemplateId)) {
        buildDialogControls(this, *layout);
        addDesktopButtons(this, *layout);
    }
}

void AboutBox::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (dialogRelayoutEnabled())
        ApplyDialogLayout(this, screenIsPortrait(this) ? kTemplateId : kLandscapeTemplateId);
}

}  // namespace quendra
