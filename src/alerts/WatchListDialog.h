#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace quendra {

class CountryLookup;

// Edits the watch list as text, one entry a line, and tells under it which lines cannot be
// understood and why, as the operator types. Lines it cannot understand are kept as written.
class WatchListDialog : public QDialog {
    Q_OBJECT
public:
    WatchListDialog(const std::vector<std::u16string>& entries, const CountryLookup* countries,
                    QWidget* parent = nullptr);

    // The non-blank lines, trimmed, in their order.
    std::vector<std::u16string> entries() const;
    QString problemsText() const;
    QPlainTextEdit* editor() const { return editor_; }

private:
    void check();

    const CountryLookup* countries_;
    QPlainTextEdit* editor_ = nullptr;
    QLabel* problems_ = nullptr;
};

}  // namespace quendra
