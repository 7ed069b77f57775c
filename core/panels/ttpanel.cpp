#include "ttpanel.h"

#include "core/info.h"
#include "core/panels/cells.h"
#include "link/fields.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

TtPanel::TtPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ttpanel"));

    GridCtt = NewU16Table(31, 6, 0, this);
    GridCtt->setObjectName(QStringLiteral("GridCtt"));
    // The captions of calculation mode 0, the panels' start value.
    for (int c = 1; c <= 6; ++c)
        SetColumnCaption(GridCtt, c, QString::fromLatin1(TeachColumnCaption(0, c - 1)));
    MakeColourColumn(GridCtt, 6);

    EditNo = new QSpinBox(this);
    EditNo->setObjectName(QStringLiteral("EditNo"));
    EditNo->setRange(0, 30);
    EditNo->setMaximumWidth(80);
    RadioInc = new QRadioButton(QStringLiteral("INC"), this);
    RadioInc->setObjectName(QStringLiteral("RadioInc"));
    RadioInc->setAutoExclusive(false);

    struct Button {
        QPushButton **member;
        const char *name, *caption, *info;
    };
    const Button buttons[] = {
        {&ButtonTeachDataTo, "ButtonTeachDataTo", "TEACH DATA TO", "InfoButtonTeachDataTo"},
        {&ButtonApplyFromAll, "ButtonApplyFromAll", "APPLY FROM ALL", "InfoButtonApplyFromAll"},
        {&ButtonResetTable, "ButtonResetTable", "RESET TABLE", "InfoButtonResetTable"},
        {&ButtonTeachMeanVal, "ButtonTeachMeanVal", "TEACH MEAN VAL", "InfoButtonTeachMeanVal"},
    };
    for (const Button &b : buttons) {
        *b.member = new QPushButton(QString::fromLatin1(b.caption), this);
        (*b.member)->setObjectName(QString::fromLatin1(b.name));
        SetInfo(*b.member, b.info);
    }

    SetInfo(EditNo, "InfoEditNo");
    SetInfo(RadioInc, "InfoRadioInc");

    auto *g = new QGridLayout(this);
    g->addWidget(new QLabel(QStringLiteral("COLOR TEACH TABLE"), this), 0, 0, 1, 4);
    g->addWidget(GridCtt, 1, 0, 1, 4);
    g->addWidget(ButtonTeachDataTo, 2, 0);
    g->addWidget(NewCaption(QStringLiteral("No.:"), EditNo, this), 2, 1, Qt::AlignRight);
    g->addWidget(EditNo, 2, 2, Qt::AlignLeft);
    g->addWidget(RadioInc, 2, 3);
    g->addWidget(ButtonApplyFromAll, 3, 0);
    g->addWidget(ButtonResetTable, 3, 1, 1, 2);
    g->addWidget(ButtonTeachMeanVal, 3, 3);
}

} // namespace tintra
