#include "links/DlgTelnetConnect.h"

#include "platform/QtText.h"

#include "links/AddressHistory.h"
#include "links/TelnetAddress.h"
#include "platform/DialogLayout.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QResizeEvent>

namespace quendra {
namespace {


}  // namespace

DlgTelnetConnect::DlgTelnetConnect(Settings& settings, std::u16string& hostBuffer, int& port,
                                   QWidget* parent)
    : QDialog(parent), settings_(settings), hostBuffer_(hostBuffer), port_(port) {
    setObjectName(QStringLiteral("DlgTelnetConnect"));
    const auto portrait = loadDialogTemplate(kTemplateId);
    if (portrait)
        buildDialogControls(this, *portrait);
    addressBox_ = qobject_cast<QComboBox*>(findDialogControl(this, kAddressBoxId));
    if (!addressBox_) {  // resources missing: still a usable dialog
        setWindowTitle(QStringLiteral("Connect"));
        addressBox_ = new QComboBox(this);
        addressBox_->setEditable(true);
        addressBox_->setGeometry(10, 10, 300, addressBox_->sizeHint().height());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->setGeometry(10, 50, 300, buttons->sizeHint().height());
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        resize(320, 100);
    }
    // Either layout must fit once the dialog follows the screen's orientation.
    const auto landscape = loadDialogTemplate(kLandscapeTemplateId);
    if (dialogRelayoutEnabled() && portrait && landscape)
        resize(dialogUnitsToPixels(portrait->size.expandedTo(landscape->size), font()));
    OnInitDialog();
}

void DlgTelnetConnect::OnInitDialog() {
    AddressHistory history(settings_);
    for (const std::u16string& entry : history.entries())
        addSorted(toQString(entry));
    // Every entry begins with an empty last address, so the first one in the list is then chosen.
    const QString last = toQString(history.lastConfirmed());
    const int match = last.isEmpty() ? (addressBox_->count() > 0 ? 0 : -1)
                                     : addressBox_->findText(last, Qt::MatchStartsWith);
    addressBox_->setCurrentIndex(match);
    if (match < 0)
        addressBox_->setEditText(QString());
}

// The list is kept in alphabetical order whatever the history's order; equal entries stay in
// history order.
void DlgTelnetConnect::addSorted(const QString& entry) {
    int position = addressBox_->count();
    for (int i = 0; i < addressBox_->count(); ++i) {
        if (QString::compare(entry, addressBox_->itemText(i), Qt::CaseInsensitive) < 0) {
            position = i;
            break;
        }
    }
    addressBox_->insertItem(position, entry);
}

void DlgTelnetConnect::accept() {
    const QString text = addressBox_->currentText();
    const std::u16string typed = toU16(text);
    const TelnetAddress address = parseTelnetAddress(typed);
    if (address.host.empty()) {
        hostBuffer_.clear();
        QDialog::accept();
        return;
    }
    hostBuffer_ = address.host;
    port_ = address.port;
    AddressHistory(settings_).record(typed);
    QDialog::accept();
}

void DlgTelnetConnect::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (dialogRelayoutEnabled())
        ApplyDialogLayout(this, screenIsPortrait(this) ? kTemplateId : kLandscapeTemplateId);
}

}  // namespace quendra
