#pragma once

#include "settings/Settings.h"

#include <QDialog>

#include <string>

class QComboBox;

namespace quendra {

// Asks for the cluster node to reach over telnet. On OK the caller's host buffer holds the host
// (empty: make no connection) and, with a host, the port variable holds the port; the text is
// recorded in the address history. Cancel changes nothing, neither the caller's variables nor the
// settings.
class DlgTelnetConnect : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 102;
    static constexpr int kLandscapeTemplateId = 101;
    static constexpr int kAddressBoxId = 1000;

    DlgTelnetConnect(Settings& settings, std::u16string& hostBuffer, int& port,
                     QWidget* parent = nullptr);

    QComboBox* addressBox() const { return addressBox_; }

    // OK: splits the box's text into host and port and records it.
    void accept() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnInitDialog();
    void addSorted(const QString& entry);

    Settings& settings_;
    std::u16string& hostBuffer_;
    int& port_;
    QComboBox* addressBox_ = nullptr;
};

}  // namespace quendra
