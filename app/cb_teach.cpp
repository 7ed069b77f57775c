// Teaching: the teach-table page's TEACH DATA TO, APPLY FROM ALL, RESET TABLE and TEACH MEAN VAL,
// the mean-value teach window, and the table-attributes page.
#include "app/callbacks.h"
#include "core/panels.h"
#include "core/panels/ttpanel.h"
#include "core/panels/tapanel.h"
#include "core/panels/teachpanel.h"
#include "core/teach/meanteach.h"
#include "core/teach/tableattr.h"
#include "core/teach/teachtable.h"
#include "core/graphs/graphs.h"
#include "core/panels/cells.h"
#include "core/params/panelvalues.h"
#include "link/platform.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

namespace {

void onClick(QPushButton *b, void (*fn)())
{
    QObject::connect(b, &QPushButton::clicked, b, [fn] { fn(); });
}

void CBF_ButtonTeachDataTo()
{
    TeachDataTo();
    GetPanelValues();
    InitGraphs();
}

// RESET of the mean-value window: red while it works.
void CBF_ButtonTpResetTable()
{
    QPushButton *b = teachpanel ? teachpanel->ButtonTpResetTable : nullptr;
    auto paint = [b](int rgb) {
        if (!b)
            return;
        QPalette p = b->palette();
        p.setColor(QPalette::Button, Rgb(rgb));
        b->setPalette(p);
    };
    paint(0xFF0000);
    ProcessSystemEvents();
    ResetTpTable();
    paint(0xE0E0E0);
}

void CBF_ButtonTpTeachToTable()
{
    TeachToTable();
    GetPanelValues();
    InitGraphs();
}

} // namespace

void ConnectTeachCallbacks()
{
    if (TtPanel *t = ttpanel) {
        onClick(t->ButtonTeachDataTo, CBF_ButtonTeachDataTo);
        onClick(t->ButtonApplyFromAll, ApplyFromAll);
        onClick(t->ButtonResetTable, ResetTable);
        onClick(t->ButtonTeachMeanVal, CBF_ButtonTeachMeanVal);
    }
    if (TeachPanel *t = teachpanel) {
        onClick(t->ButtonTpCapture, CaptureFrame);
        onClick(t->ButtonTpUndo, UndoCapture);
        onClick(t->ButtonTpResetTable, CBF_ButtonTpResetTable);
        onClick(t->ButtonTpTeachToTable, CBF_ButtonTpTeachToTable);
        QObject::connect(t->ButtonTpClose, &QPushButton::clicked, t, [t] { t->hide(); });
        // Program writes block the table's signals: this runs for the operator's edits only.
        QObject::connect(t->GridTpValues, &QTableWidget::itemChanged, t,
                         [](QTableWidgetItem *) { CalcMeanValues(); });
    }
    if (TaPanel *a = tapanel) {
        QObject::connect(a->EditSetColor, &QComboBox::activated, a, [](int) { InitSrcPanel(); });
        QObject::connect(a->EditRow, &QSpinBox::valueChanged, a, [](int) { InitSrcPanel(); });
        QObject::connect(a->EditColorNumericRow, &ColorNumeric::committed, a, InitSrcPanel);
        onClick(a->ButtonSetRowColor, SetRowColor);
        onClick(a->ButtonSaveArray, SaveTableSettings);
        onClick(a->ButtonGetArray, GetTableSettings);
        onClick(a->ButtonSetStartupArray, SetStartupArray);
    }
}

} // namespace tintra
