#include "links/SpotDialog.h"

#include "autolink/SpotCommand.h"
#include "platform/QtText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quendra {

SpotDialog::SpotDialog(const QString& call, const QString& kHz, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Spot"));
    setObjectName(QStringLiteral("SpotDialog"));
    call_ = new QLineEdit(upperCased(call), this);
    frequency_ = new QLineEdit(kHz, this);
    comment_ = new QLineEdit(this);
    call_->setMaxLength(15);
    comment_->setMaxLength(60);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    auto* form = new QFormLayout;
    form->addRow(tr("&Call:"), call_);
    form->addRow(tr("&Frequency (kHz):"), frequency_);
    form->addRow(tr("C&omment:"), comment_);
    call_->setAccessibleName(tr("Call"));
    frequency_->setAccessibleName(tr("Frequency in kHz"));
    comment_->setAccessibleName(tr("Comment"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SpotDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SpotDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    (call.isEmpty() ? call_ : comment_)->setFocus();
}

void SpotDialog::accept() {
    const SpotCommandResult result =
        buildSpotCommand(toU16(frequency_->text()), toU16(call_->text()), toU16(comment_->text()));
    if (!result.ok()) {
        problem_->setText(QString::fromStdString(result.refusal));
        return;
    }
    command_ = toQString(result.command);
    QDialog::accept();
}

}  // namespace quendra
