#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace quendra {

// "Spot...": announces a station through the cluster node. The call and the frequency are checked
// before anything is sent; the command the node gets is "DX <kHz> <call> <comment>".
class SpotDialog : public QDialog {
    Q_OBJECT
public:
    SpotDialog(const QString& call, const QString& kHz, QWidget* parent = nullptr);

    // The command to send, valid after the dialog was accepted.
    const QString& command() const { return command_; }
    QLineEdit* callField() const { return call_; }
    QLineEdit* frequencyField() const { return frequency_; }
    QLineEdit* commentField() const { return comment_; }

    void accept() override;

private:
    QLineEdit* call_ = nullptr;
    QLineEdit* frequency_ = nullptr;
    QLineEdit* comment_ = nullptr;
    QLabel* problem_ = nullptr;
    QString command_;
};

}  // namespace quendra
