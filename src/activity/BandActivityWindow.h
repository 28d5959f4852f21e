#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QTableView;

namespace quendra {

class BandActivityModel;

// Tools > Band activity: the grid of bands by continents, a switch between the last quarter hour
// and the last hour, and a line saying what the marks mean. A click on a cell (or Enter on it)
// asks for the list to show that band and continent.
class BandActivityWindow : public QDialog {
    Q_OBJECT
public:
    BandActivityWindow(BandActivityModel& model, bool lastHour, QWidget* parent = nullptr);

    QTableView* table() const { return table_; }
    QCheckBox* hourSwitch() const { return hour_; }
    void setWindowMinutes(int minutes);

signals:
    void cellChosen(int band, int column);
    void lastHourChanged(bool lastHour);

private:
    QTableView* table_;
    QCheckBox* hour_;
    QLabel* legend_;
};

}  // namespace quendra
