#include "propagation/PropagationWindow.h"

#include "platform/QtText.h"
#include "propagation/PropagationPlot.h"
#include "propagation/PropagationReport.h"

#include <QDateTime>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quendra {

PropagationWindow::PropagationWindow(const PropagationHistory& history, QWidget* parent)
    : QDialog(parent), history_(history), plot_(new PropagationPlot(history, this)), table_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("propagationWindow"));
    setWindowTitle(tr("Propagation"));
    table_->setObjectName(QStringLiteral("propagationReports"));
    table_->setAccessibleName(tr("Propagation reports"));
    table_->setColumnCount(5);
    table_->setHorizontalHeaderLabels({tr("Received (UTC)"), tr("Station"), tr("SFI"), tr("A"), tr("K")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(plot_, 3);
    layout->addWidget(table_, 1);
    resize(600, 520);
}

void PropagationWindow::refresh(std::int64_t now) {
    plot_->setNow(now);
    const auto& samples = history_.samples();
    table_->setRowCount(static_cast<int>(samples.size()));
    int row = 0;
    for (auto it = samples.rbegin(); it != samples.rend(); ++it, ++row) {
        const QString when = QDateTime::fromSecsSinceEpoch(it->seconds, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        const QStringList cells = {when, toQString(it->report.source), QString::number(it->report.sfi),
                                   QString::number(it->report.a), QString::number(it->report.k)};
        for (int column = 0; column < cells.size(); ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table_->resizeColumnToContents(0);
}

}  // namespace quendra
