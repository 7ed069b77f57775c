#include "tapanel.h"

#include "core/params/cells.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tintra {

TaPanel::TaPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tapanel"));

    GridTa = new QTableWidget(31, 2, this);
    GridTa->setObjectName(QStringLiteral("GridTa"));
    for (int r = 0; r < 31; ++r) {
        GridTa->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(r)));
        GridTa->setItem(r, 0, new QTableWidgetItem(QString()));
    }
    SetColumnCaption(GridTa, 1, QStringLiteral("ROW SPECIFICATION"));
    SetColumnCaption(GridTa, 2, QString());
    MakeColourColumn(GridTa, 2);
    GridTa->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    GridTa->verticalHeader()->setDefaultSectionSize(20);

    auto *v = new QVBoxLayout(this);
    v->addWidget(new QLabel(QStringLiteral("TABLE ATTRIBUTES"), this));
    v->addWidget(GridTa);
}

} // namespace tintra
