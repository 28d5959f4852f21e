#pragma once

#include <QWidget>

#include <cstdint>

namespace quendra {

class PropagationHistory;

// Three strips over the same 24 hours: the solar flux, the A index and the K index, each to a
// scale of its own, with the hours marked along the bottom.
class PropagationPlot : public QWidget {
    Q_OBJECT
public:
    explicit PropagationPlot(const PropagationHistory& history, QWidget* parent = nullptr);

    void setNow(std::int64_t now);
    QSize sizeHint() const override { return {560, 330}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PropagationHistory& history_;
    std::int64_t now_ = 0;
};

}  // namespace quendra
