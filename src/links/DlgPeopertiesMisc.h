#pragma once

#include "settings/Settings.h"

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;

namespace quendra {

// Edits the engine's address and port, the terminal's line count and the station's call sign.
// The values are loaded when the dialog opens and written only by a successful OK.
class DlgPeopertiesMisc : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 201;
    static constexpr int kAddressId = 1005;
    static constexpr int kPortId = 1006;
    static constexpr int kBufferLinesId = 1007;
    static constexpr int kCallSignId = 1008;

    explicit DlgPeopertiesMisc(Settings& settings, QWidget* parent = nullptr);

    QLineEdit* field(int controlId) const;

    // OK: checks the integer fields and writes all four settings, or keeps the dialog open.
    void accept() override;

private:
    void OnInitDialog();
    bool DoDataExchange();
    std::optional<int> exchangeInteger(int controlId);
    QString fieldText(int controlId) const;
    void setFieldText(int controlId, const QString& text);

    Settings& settings_;
    int bufferLines_ = 0;
    int port_ = 0;
    std::u16string address_;
    std::u16string callSign_;
};

}  // namespace quendra
