#include "alerts/WatchListDialog.h"

#include "platform/QtText.h"

#include "alerts/WatchList.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace quendra {

WatchListDialog::WatchListDialog(const std::vector<std::u16string>& entries, const CountryLookup* countries,
                                 QWidget* parent)
    : QDialog(parent), countries_(countries) {
    setWindowTitle(tr("Watch list"));
    auto* layout = new QVBoxLayout(this);
    auto* help = new QLabel(tr("One entry a line: a call (ZZ1AB), a pattern (ZZ1*, ZZ?AB), a country or a "
                               "continent (EU), or needed (any spot the operator's log still needs), optionally followed by "
                               "bands=20m,40m and modes=CW."),
                            this);
    help->setWordWrap(true);
    layout->addWidget(help);
    editor_ = new QPlainTextEdit(this);
    editor_->setObjectName(QStringLiteral("watchEntries"));
    editor_->setAccessibleName(tr("Watched stations"));
    editor_->setAccessibleDescription(help->text());
    editor_->setTabChangesFocus(true);
    QStringList lines;
    for (const std::u16string& entry : entries)
        lines << toQString(entry);
    editor_->setPlainText(lines.join(QLatin1Char('\n')));
    help->setBuddy(editor_);
    layout->addWidget(editor_);
    problems_ = new QLabel(this);
    problems_->setObjectName(QStringLiteral("watchProblems"));
    problems_->setAccessibleName(tr("Problems"));
    problems_->setWordWrap(true);
    problems_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    layout->addWidget(problems_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(editor_, &QPlainTextEdit::textChanged, this, &WatchListDialog::check);
    check();
    resize(460, 320);
}

std::vector<std::u16string> WatchListDialog::entries() const {
    std::vector<std::u16string> texts;
    for (const QString& line : editor_->toPlainText().split(QLatin1Char('\n'))) {
        if (const QString trimmed = line.trimmed(); !trimmed.isEmpty())
            texts.push_back(toU16(trimmed));
    }
    return texts;
}

void WatchListDialog::check() {
    QStringList problems;
    const QStringList lines = editor_->toPlainText().split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const WatchEntryResult result = parseWatchEntry(toU16(line), countries_);
        if (!result.entry)
            problems << tr("Line %1: %2").arg(i + 1).arg(QString::fromStdString(result.error));
    }
    problems_->setText(problems.join(QLatin1Char('\n')));
}

QString WatchListDialog::problemsText() const { return problems_->text(); }

}  // namespace quendra
