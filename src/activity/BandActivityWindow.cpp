#include "activity/BandActivityWindow.h"

#include "activity/BandActivityModel.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace quendra {

BandActivityWindow::BandActivityWindow(BandActivityModel& model, bool lastHour, QWidget* parent)
    : QDialog(parent), table_(new QTableView(this)), hour_(new QCheckBox(tr("Last &hour"), this)), legend_(new QLabel(this)) {
    setObjectName(QStringLiteral("bandActivityWindow"));
    setWindowTitle(tr("Band activity"));
    table_->setObjectName(QStringLiteral("bandActivityGrid"));
    table_->setAccessibleName(tr("Band activity"));
    table_->setAccessibleDescription(tr("Spots per band and continent of the spotted stations; Enter or a click shows them in the list"));
    table_->setModel(&model);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    hour_->setObjectName(QStringLiteral("bandActivityHour"));
    hour_->setChecked(lastHour);
    legend_->setObjectName(QStringLiteral("bandActivityLegend"));
    legend_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(hour_);
    layout->addWidget(legend_);
    connect(table_, &QTableView::clicked, this, [this](const QModelIndex& cell) { emit cellChosen(cell.row(), cell.column()); });
    connect(table_, &QTableView::activated, this, [this](const QModelIndex& cell) { emit cellChosen(cell.row(), cell.column()); });
    connect(hour_, &QCheckBox::toggled, this, &BandActivityWindow::lastHourChanged);
    setWindowMinutes(lastHour ? 60 : 15);
    resize(560, 560);
}

void BandActivityWindow::setWindowMinutes(int minutes) {
    legend_->setText(tr("Spots in the last %1 minutes; \u25b2 more, \u25bc fewer than in the %1 minutes before. "
                        "A click on a cell shows that band and continent in the list.")
                         .arg(minutes));
}

}  // namespace quendra
