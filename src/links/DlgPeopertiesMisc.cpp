#include "links/DlgPeopertiesMisc.h"

#include "platform/QtText.h"

#include "platform/DialogLayout.h"
#include "settings/SettingsCatalogue.h"
#include "text/Numbers.h"

#include <QLineEdit>
#include <QMessageBox>

namespace quendra {
namespace {

// Only so much of an integer field is read, as the classic dialog did.
constexpr qsizetype kIntegerFieldChars = 63;

}  // namespace

DlgPeopertiesMisc::DlgPeopertiesMisc(Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("DlgPeopertiesMisc"));
    const auto layout = loadDialogTemplate(kTemplateId);
    if (layout) {
        buildDialogControls(this, *layout);
        addDesktopButtons(this, *layout);
    }
    OnInitDialog();
}

QLineEdit* DlgPeopertiesMisc::field(int controlId) const {
    return qobject_cast<QLineEdit*>(findDialogControl(this, controlId));
}

QString DlgPeopertiesMisc::fieldText(int controlId) const {
    const QLineEdit* edit = field(controlId);
    return edit ? edit->text() : QString();
}

void DlgPeopertiesMisc::setFieldText(int controlId, const QString& text) {
    if (QLineEdit* edit = field(controlId))
        edit->setText(text);
}

void DlgPeopertiesMisc::OnInitDialog() {
    address_ = readSetting(settings_, setting::kEngineHost);
    port_ = readSetting(settings_, setting::kEnginePort);
    bufferLines_ = readSetting(settings_, setting::kMonitorBufferLines);
    callSign_ = readSetting(settings_, setting::kMyCall);
    setFieldText(kAddressId, toQString(address_));
    setFieldText(kPortId, QString::number(port_));
    setFieldText(kBufferLinesId, QString::number(bufferLines_));
    // The call sign field shows capitals only, whatever the store holds.
    setFieldText(kCallSignId, upperCased(toQString(callSign_)));
}

std::optional<int> DlgPeopertiesMisc::exchangeInteger(int controlId) {
    const std::u16string text = toU16(fieldText(controlId).left(kIntegerFieldChars));
    if (beginsWithInteger(text))
        return readLeadingInt(text);
    QMessageBox::warning(this, QStringLiteral("Quendra"), QStringLiteral("Please enter an integer."));
    if (QLineEdit* edit = field(controlId)) {
        edit->setFocus();
        edit->selectAll();
    }
    return std::nullopt;
}

bool DlgPeopertiesMisc::DoDataExchange() {
    const auto lines = exchangeInteger(kBufferLinesId);
    if (!lines)
        return false;
    bufferLines_ = *lines;
    const auto port = exchangeInteger(kPortId);
    if (!port)
        return false;
    port_ = *port;
    address_ = toU16(fieldText(kAddressId));
    callSign_ = toU16(fieldText(kCallSignId));
    return true;
}

void DlgPeopertiesMisc::accept() {
    if (!DoDataExchange())
        return;
    writeSetting(settings_, setting::kEngineHost, address_);
    writeSetting(settings_, setting::kEnginePort, port_);
    writeSetting(settings_, setting::kMonitorBufferLines, bufferLines_);
    writeSetting(settings_, setting::kMyCall, callSign_);
    QDialog::accept();
}

}  // namespace quendra
