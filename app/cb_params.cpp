#include "cb_params.h"

#include "app/callbacks.h"
#include "app/startup.h"
#include "core/graphs/dispnames.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/controls.h"
#include "core/panels/cells.h"
#include "core/paramfile/paramfile.h"
#include "core/params/moderules.h"
#include "core/params/tolerance.h"
#include "core/shell.h"
#include "core/transfer/transfer.h"
#include "link/paraimage.h"
#include "link/state.h"
#include "link/transport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

void CBF_ButtonSend()
{
    SetButtonsDimmed(1);
    if (target == DATFILE)
        SendParaToFile();
    else
        SendPara();
    SetButtonsDimmed(0);
}

void CBF_ButtonGet()
{
    SetButtonsDimmed(1);
    if (target == DATFILE)
        ReadParaFromFile();
    else
        GetPara();
    SetButtonsDimmed(0);
}

void CBF_SelectRAM(bool on) { SelectTarget(RAM, on); }
void CBF_SelectEEPROM(bool on) { SelectTarget(EEPROM, on); }
void CBF_SelectFILE(bool on) { SelectTarget(DATFILE, on); }

void CBF_Calcmode()
{
    SelectRamTarget();
    SetButtonsDimmed(1);
    // The table is arranged for the mode the panels showed, which is what the variable holds
    // unless a GET stopped half-way after reading the parameters.
    paraCalcmode = static_cast<uint16_t>(CalcModeShown());
    SortTableTolerance();
    SendPara();
    InitCalcMode();
    InitEvalMode();
    InitTeachPanel();
    SetButtonsDimmed(0);
}

namespace {

void onCommit(QComboBox *ring, void (*fn)())
{
    QObject::connect(ring, &QComboBox::activated, ring, [fn](int) { fn(); });
}

// A numeric field commits when editing ends (Enter or leaving the field) and on every step by
// arrow key, arrow button or wheel. Only a value that differs from the last committed one (the
// operator's or the program's, see SetSpinValue) runs the operation: a rule's warning popup takes
// the focus away from the field and must not bring itself up a second time.
void onCommit(QSpinBox *spin, void (*fn)())
{
    TakeSpinCommit(spin);
    auto commit = [spin, fn] {
        if (TakeSpinCommit(spin))
            fn();
    };
    QObject::connect(spin, &QSpinBox::editingFinished, spin, commit);
    if (auto *s = qobject_cast<StepSpinBox *>(spin))
        QObject::connect(s, &StepSpinBox::stepped, spin, commit);
}

} // namespace

void ConnectParamsCallbacks()
{
    ParaPanel1 *p1 = parapanel1;
    ParaPanel2 *p2 = parapanel2;

    onCommit(p1->EditPmode, InitPowerMode);
    onCommit(p1->EditLedMode, InitPowerMode);
    onCommit(p1->Evalmode, [] {
        InitEvalMode();
        InitTeachPanel();
    });
    onCommit(p1->Calcmode, CBF_Calcmode);
    onCommit(p1->EditTrigger, InitTrigger);
    onCommit(p1->EditExteach, [] {
        InitExteach();
        InitPowerMode();
    });
    onCommit(p1->EditMaxcolNo, InitMaxVecNo);
    onCommit(p1->EditOutmode, InitMaxVecNo);

    QObject::connect(p2->EditColorGroups, &QCheckBox::clicked, p2, [] {
        InitColorGroups();
        InitMaxVecNo();
    });
    QTableWidget *groups = p2->EditGridGroups;
    QObject::connect(groups, &QTableWidget::currentCellChanged, groups,
                     [](int row, int col, int, int) { activCell = {col + 1, row + 1}; });
    QObject::connect(groups, &QTableWidget::itemChanged, groups, [groups](QTableWidgetItem *it) {
        if (it->column() == 0)
            CheckGroupCell(it->column() + 1, it->row() + 1);
    });
    QObject::connect(p2->ButtonResetGroupTable, &QPushButton::clicked, p2, ResetGroupTable);
    QObject::connect(p2->ButtonResetHoldTable, &QPushButton::clicked, p2, ResetHoldTable);

    // An operator's edit of the teach table ends a running acquisition loop.
    QObject::connect(ttpanel->GridCtt, &QTableWidget::itemChanged, ttpanel,
                     [](QTableWidgetItem *) { EndLoop(); });

    if (datapanel)
        onCommit(datapanel->SelectSource, DispVis);

    MainPanel *m = mainpanel;
    QObject::connect(m->ButtonSend, &QPushButton::clicked, m, [] { CBF_ButtonSend(); });
    QObject::connect(m->ButtonGet, &QPushButton::clicked, m, [] { CBF_ButtonGet(); });
    QObject::connect(m->SelectRAM, &QPushButton::clicked, m, CBF_SelectRAM);
    QObject::connect(m->SelectEEPROM, &QPushButton::clicked, m, CBF_SelectEEPROM);
    QObject::connect(m->SelectFILE, &QPushButton::clicked, m, CBF_SelectFILE);


    // The line check after every connection reads the parameters.
    LinkUi ui = CurrentLinkUi();
    ui.getPara = [] { GetPara(); };
    SetLinkUi(ui);
}

} // namespace tintra
