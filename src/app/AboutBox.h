#pragma once

#include <QDialog>

namespace quendra {

// The program's name, version and purpose; texts beside the icon on a landscape screen, below it
// on a portrait one.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 100;
    static constexpr int kLandscapeTemplateId = 200;

    explicit AboutBox(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace quendra
