#include "teachpanel.h"

#include "core/info.h"
#include "core/panels/cells.h"
#include "link/itemlists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

namespace {

QSpinBox *numeric(QWidget *parent, const char *name, bool display)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 65535);
    if (display) {
        s->setReadOnly(true);
        s->setButtonSymbols(QAbstractSpinBox::NoButtons);
    }
    return s;
}

QComboBox *choice(QWidget *parent, const char *name)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    FillRing(c, tolChoiceItems);
    return c;
}

} // namespace

TeachPanel::TeachPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("teachpanel"));
    setWindowTitle(QStringLiteral("TEACH MEAN VALUE"));

    const char *captions[] = {"R", "G", "B", "X", "Y", "INT"};
    GridTpValues = NewU16Table(100, 6, 1, this);
    GridTpValues->setObjectName(QStringLiteral("GridTpValues"));
    GridTpMean = NewU16Table(1, 6, 1, this);
    GridTpMean->setObjectName(QStringLiteral("GridTpMean"));
    GridTpMean->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 1; c <= 6; ++c) {
        SetColumnCaption(GridTpValues, c, QString::fromLatin1(captions[c - 1]));
        SetColumnCaption(GridTpMean, c, QString::fromLatin1(captions[c - 1]));
    }

    DispTpMaxDeltaXY = numeric(this, "DispTpMaxDeltaXY", true);
    DispTpMaxDeltaInt = numeric(this, "DispTpMaxDeltaInt", true);
    EditTpTeachCtoWith = choice(this, "EditTpTeachCtoWith");
    EditTpValueCto = numeric(this, "EditTpValueCto", false);
    EditTpTeachItoWith = choice(this, "EditTpTeachItoWith");
    EditTpTeachItoWith->setItemText(0, QStringLiteral("VALUE ITO"));
    EditTpTeachItoWith->setItemText(1, QStringLiteral("d INT"));
    EditTpTeachItoWith->setItemText(2, QStringLiteral("d INT+VALUE ITO"));
    EditTpValueIto = numeric(this, "EditTpValueIto", false);
    DispTpCounter = numeric(this, "DispTpCounter", true);
    DispTpCounter->setRange(0, 100);
    EditTpRowNo = numeric(this, "EditTpRowNo", false);
    EditTpRowNo->setRange(0, 30);

    struct Button {
        QPushButton **member;
        const char *name, *caption, *info;
    };
    const Button buttons[] = {
        {&ButtonTpCapture, "ButtonTpCapture", "CAPTURE", "InfoButtonTpCapture"},
        {&ButtonTpUndo, "ButtonTpUndo", "UNDO", "InfoButtonTpUndo"},
        {&ButtonTpResetTable, "ButtonTpResetTable", "RESET", "InfoButtonTpResetTable"},
        {&ButtonTpTeachToTable, "ButtonTpTeachToTable", "TEACH TO TABLE",
         "InfoButtonTpTeachToTable"},
        {&ButtonTpClose, "ButtonTpClose", "CLOSE", "InfoButtonClosePanel"},
    };
    for (const Button &b : buttons) {
        *b.member = new QPushButton(QString::fromLatin1(b.caption), this);
        (*b.member)->setObjectName(QString::fromLatin1(b.name));
        SetInfo(*b.member, b.info);
    }
    // RESET is painted red while it works; light grey otherwise.
    ButtonTpResetTable->setAutoFillBackground(true);
    QPalette pal = ButtonTpResetTable->palette();
    pal.setColor(QPalette::Button, QColor(0xE0E0E0));
    ButtonTpResetTable->setPalette(pal);

    SetInfo(GridTpValues, "InfoGridTpValues");
    SetInfo(GridTpMean, "InfoGridTpMean");
    SetInfo(DispTpMaxDeltaXY, "InfoDispMaxDeltaXY");
    SetInfo(DispTpMaxDeltaInt, "InfoDispTpMaxDeltaInt");
    SetInfo(EditTpTeachCtoWith, "InfoEditTpTeachCtoWith");
    SetInfo(EditTpTeachItoWith, "InfoEditTpTeachItoWith");
    SetInfo(EditTpValueCto, "InfoEditTpValueCto");
    SetInfo(EditTpValueIto, "InfoEditTpValueIto");
    SetInfo(DispTpCounter, "InfoDispTpCounter");
    SetInfo(EditTpRowNo, "InfoEditTpRowNo");

    // The mean grid shows its one row and nothing more; the values grid takes the height.
    GridTpMean->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridTpMean->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridTpMean->setFixedHeight(GridTpMean->horizontalHeader()->sizeHint().height() +
                               GridTpMean->rowHeight(0) + 2 * GridTpMean->frameWidth());

    auto *g = new QGridLayout(this);
    g->addWidget(GridTpValues, 0, 0, 1, 4);
    g->addWidget(GridTpMean, 1, 0, 1, 4);
    g->setRowStretch(0, 1);
    int row = 2;
    auto add = [&](const char *caption, QWidget *w, int col) {
        g->addWidget(NewCaption(QString::fromUtf8(caption), w, this), row, col);
        g->addWidget(w, row, col + 1);
    };
    add("d (X/Y)", DispTpMaxDeltaXY, 0);
    add("d INT", DispTpMaxDeltaInt, 2);
    ++row;
    add("TEACH CTO WITH", EditTpTeachCtoWith, 0);
    add("TEACH ITO WITH", EditTpTeachItoWith, 2);
    ++row;
    add("VALUE CTO", EditTpValueCto, 0);
    add("VALUE ITO", EditTpValueIto, 2);
    ++row;
    add("COUNTER", DispTpCounter, 0);
    add("ROW No.:", EditTpRowNo, 2);
    ++row;
    auto *buttonRow = new QHBoxLayout;
    for (QPushButton *b : {ButtonTpCapture, ButtonTpUndo, ButtonTpResetTable,
                           ButtonTpTeachToTable, ButtonTpClose})
        buttonRow->addWidget(b);
    g->addLayout(buttonRow, row, 0, 1, 4);
    resize(620, 640);
}

} // namespace tintra
