#pragma once

#include <QDialog>

#include <cstdint>

class QTableWidget;

namespace quendra {

class PropagationHistory;
class PropagationPlot;

// Tools > Propagation: the last 24 hours of SFI, A and K as a plot, and the reports themselves
// in a table, newest first, for reading them one by one.
class PropagationWindow : public QDialog {
    Q_OBJECT
public:
    PropagationWindow(const PropagationHistory& history, QWidget* parent = nullptr);

    // Draws the history again, up to `now` (seconds since 1970).
    void refresh(std::int64_t now);
    QTableWidget* table() const { return table_; }
    PropagationPlot* plot() const { return plot_; }

private:
    const PropagationHistory& history_;
    PropagationPlot* plot_;
    QTableWidget* table_;
};

}  // namespace quendra
