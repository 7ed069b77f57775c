#include "moderules.h"

#include "core/panels/cells.h"
#include "link/fields.h"
#include "link/itemlists.h"
#include "core/graphs/dispnames.h"
#include "core/graphs/graphs.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "core/panels/tapanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/p3sidesview.h"
#include "core/shell.h"
#include "link/paraimage.h"
#include "link/platform.h"

#include <QCheckBox>
#include <algorithm>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

CellPos activCell;
CellPos oldCell;

namespace {
unsigned calcModeShown = 0; // the panels' start value
} // namespace

unsigned CalcModeShown() { return calcModeShown; }

namespace {

void dim(QWidget *w, bool dimmed)
{
    if (w)
        w->setEnabled(!dimmed);
}

// Shows or hides a control with its caption.
void show(QWidget *w, bool visible) { SetControlVisible(w, visible); }


void warn(const char *name)
{
    MessagePopup(QString::fromUtf8(InfoTitle), QString::fromUtf8(InfoText(name)));
}

// The five COL5 lamps of the data panel, weights 16 ... 1.
const char *const col5Lamps[] = {"LedCol16", "LedCol8", "LedCol4", "LedCol2", "LedCol1"};

void showCol5Lamps(bool visible)
{
    show(DataControl("Col5Lamps"), visible);
    for (const char *n : col5Lamps)
        show(DataControl(n), visible);
}

void hideGroupDisplays()
{
    show(DataControl("DispGroup"), false);
    if (grpbigpanel)
        grpbigpanel->hide();
}

} // namespace

void RememberGroupCell()
{
    const QTableWidget *t = parapanel2->EditGridGroups;
    activCell = {std::max(1, t->currentColumn() + 1), std::max(1, t->currentRow() + 1)};
    oldCell = activCell;
}

void InitPowerMode()
{
    ParaPanel1 *p = parapanel1;
    paraPmode = RingValue(p->EditPmode);
    paraLedmode = RingValue(p->EditLedMode);
    paraExteach = RingValue(p->EditExteach);
    if (paraLedmode == LedmodeOff) {
        if (paraExteach == ExteachDyn1) {
            SetRingValue(p->EditExteach, ExteachOff);
            paraExteach = ExteachOff;
        }
        SetRingValue(p->EditPmode, PmodeStat);
        paraPmode = PmodeStat;
        dim(p->EditPmode, true);
        {
            const QSignalBlocker block(p->SlidePower);
            p->SlidePower->setValue(0);
        }
        paraPower = 0;
        dim(p->SlidePower, true);
        dim(p->EditDynWinLo, true);
        dim(p->EditDynWinHi, true);
        return;
    }
    dim(p->EditPmode, false);
    if (paraPmode == PmodeStat) {
        dim(p->SlidePower, false);
        dim(p->EditDynWinLo, true);
        dim(p->EditDynWinHi, true);
        dim(p->EditIntlim, false);
    } else if (paraPmode == PmodeDyn) {
        dim(p->SlidePower, true);
        dim(p->EditDynWinLo, false);
        dim(p->EditDynWinHi, false);
        SetSpinValue(p->EditIntlim, 0);
        paraIntlim = 0;
        dim(p->EditIntlim, true);
    }
}

void InitExteach()
{
    ParaPanel1 *p = parapanel1;
    paraLedmode = RingValue(p->EditLedMode);
    paraExteach = RingValue(p->EditExteach);
    QComboBox *trig = p->EditTrigger;
    if (paraExteach == ExteachOff) {
        if (trig->count() <= 2) {
            const QSignalBlocker block(trig);
            for (size_t i = 2; i < triggerItems.size(); ++i)
                trig->insertItem(int(i), QString::fromUtf8(triggerItems[i].label),
                                 triggerItems[i].code);
        }
    } else {
        if (RingValue(trig) >= TriggerExt1) {
            SetRingValue(trig, TriggerCont);
            paraTrigger = TriggerCont;
        }
        const QSignalBlocker block(trig);
        while (trig->count() >= 3)
            trig->removeItem(2);
    }
    if (paraLedmode == LedmodeOff)
        return;
    switch (paraExteach) {
    case ExteachOff:
    case ExteachOn:
        dim(p->EditPmode, false);
        dim(p->SlidePower, false);
        InitPowerMode();
        break;
    case ExteachStat1:
        SetRingValue(p->EditPmode, PmodeStat);
        paraPmode = PmodeStat;
        dim(p->EditPmode, true);
        dim(p->SlidePower, false);
        dim(p->EditDynWinLo, true);
        dim(p->EditDynWinHi, true);
        break;
    case ExteachDyn1:
        SetRingValue(p->EditPmode, PmodeStat);
        paraPmode = PmodeStat;
        dim(p->EditPmode, true);
        dim(p->SlidePower, true);
        dim(p->EditDynWinLo, false);
        dim(p->EditDynWinHi, false);
        break;
    default:
        break;
    }
}

void InitTrigger()
{
    ParaPanel1 *p = parapanel1;
    paraTrigger = RingValue(p->EditTrigger);
    QWidget *lamp = DataControl("LedTrig");
    if (paraTrigger == TriggerCont) {
        dim(p->EditExteach, false);
        show(lamp, false);
    } else if (paraTrigger == TriggerSelf) {
        dim(p->EditExteach, false);
        show(lamp, true);
    } else if (paraTrigger <= 5) {
        SetRingValue(p->EditExteach, ExteachOff);
        paraExteach = ExteachOff;
        dim(p->EditExteach, true);
        show(lamp, true);
    }
}

void InitColorGroups()
{
    paraColorGroup = parapanel2->EditColorGroups->isChecked() ? 1 : 0;
    if (paraColorGroup == 0) {
        hideGroupDisplays();
    } else {
        show(DataControl("DispGroup"), true);
    }
}

void InitEvalMode()
{
    ParaPanel1 *p1 = parapanel1;
    ParaPanel2 *p2 = parapanel2;
    paraCalcmode = RingValue(p1->Calcmode);
    paraEvalmode = RingValue(p1->Evalmode);

    SetColumnInUse(ttpanel->GridCtt, 3, true);
    SetColumnInUse(ttpanel->GridCtt, 4, true);
    if (paraEvalmode == EvalNoColTol)
        SetColumnInUse(ttpanel->GridCtt, IsSpaceMode(paraCalcmode) ? 4 : 3, false);

    QWidget *colDisplay = DataControl("DispCOL");
    if (paraEvalmode < EvalCol5) {
        showCol5Lamps(false);
        show(colDisplay, true);
        dim(p1->EditMaxcolNo, false);
        dim(p1->EditOutmode, false);
        dim(p2->EditColorGroups, false);
        dim(p2->EditGridGroups, false);
        dim(p2->ButtonResetGroupTable, false);
    } else if (paraEvalmode == EvalCol5) {
        show(colDisplay, false);
        showCol5Lamps(true);
        {
            const QSignalBlocker block(p2->EditColorGroups);
            p2->EditColorGroups->setChecked(false);
        }
        paraColorGroup = 0;
        dim(p2->EditColorGroups, true);
        dim(p2->EditGridGroups, true);
        dim(p2->ButtonResetGroupTable, true);
        hideGroupDisplays();
        SetSpinValue(p1->EditMaxcolNo, anzOut);
        paraMaxVecNo = anzOut;
        dim(p1->EditMaxcolNo, true);
        SetRingValue(p1->EditOutmode, OutBinary);
        paraOutmode = OutBinary;
        dim(p1->EditOutmode, true);
        InitMaxVecNo();
    }
    SetDispNames();
}

void InitCalcMode()
{
    paraCalcmode = RingValue(parapanel1->Calcmode);
    struct Captions {
        const char *source[3];
        const char *planes[3]; // nullptr: unchanged
    };
    static const Captions table[4] = {
        {{"X/Y", "INT", "X/Y INT"}, {}},
        {{"s/i", "M", "s/i M"}, {}},
        {{"X/Y", "INT", "X/Y/INT"}, {"X/Y", "X/INT", "Y/INT"}},
        {{"s/i", "M", "s/i/M"}, {"s/i", "s/M", "i/M"}},
    };
    if (paraCalcmode > 3)
        return;
    calcModeShown = paraCalcmode;
    const Captions &c = table[paraCalcmode];
    for (int k = 0; k < teachColumns; ++k)
        SetColumnCaption(ttpanel->GridCtt, k + 1, QString::fromLatin1(TeachColumnCaption(paraCalcmode, k)));
    if (auto *ring = qobject_cast<QComboBox *>(DataControl("SelectSource"))) {
        for (int k = 0; k < 3; ++k)
            if (ring->count() > k + 1)
                ring->setItemText(k + 1, QString::fromLatin1(c.source[k]));
    }
    if (!p3sidesview)
        return;
    if (IsSpaceMode(paraCalcmode)) {
        if (sidesgraphs)
            for (int k = 0; k < 3; ++k) {
                const QString caption = QString::fromLatin1(c.planes[k]);
                sidesgraphs->plane(k)->setAccessibleName(caption);
                SetCaption(sidesgraphs->plane(k), caption);
            }
        p3sidesview->show();
        p3sidesview->raise();
    } else {
        p3sidesview->hide();
    }
}

void InitMaxVecNo()
{
    ParaPanel1 *p1 = parapanel1;
    ParaPanel2 *p2 = parapanel2;
    paraMaxVecNo = static_cast<uint16_t>(p1->EditMaxcolNo->value());
    paraOutmode = RingValue(p1->EditOutmode);
    paraColorGroup = p2->EditColorGroups->isChecked() ? 1 : 0;

    QTableWidget *plain[] = {ttpanel->GridCtt, tapanel ? tapanel->GridTa : nullptr,
                             p2->EditGridGroups};
    const int maxRow = paraMaxVecNo > anzVec ? anzVec : paraMaxVecNo;
    for (int r = 1; r <= anzVec; ++r) {
        const QColor c = Rgb(r <= maxRow ? rowEvaluatedColour : rowIgnoredColour);
        for (QTableWidget *t : plain)
            if (t)
                SetRowLabelColour(t, r, c);
        if (r <= maxRow)
            SetRowLabelColour(p2->EditGridHold, r, c);
        SetRowLabelColour(p2->EditGridHold, r + 1, c);
    }

    if (paraMaxVecNo > anzOut && paraOutmode != OutBinary && paraColorGroup == 0)
        warn("InfoMaxColNo");
    if (paraOutmode != OutBinary && paraColorGroup == 1) {
        bool tooHigh = false;
        for (int r = 0; r < anzVec; ++r) {
            paraGroupBuf[r] = GetCellU16(p2->EditGridGroups, 1, r + 1);
            if (paraGroupBuf[r] > anzOut - 1)
                tooHigh = true;
        }
        if (tooHigh) {
            ShowChildPanel(4);
            warn("InfoGroupsOutmode");
        }
    }
}

void InitPanelCtrlAttr()
{
    InitPowerMode();
    InitEvalMode();
    InitCalcMode();
    InitExteach();
    InitTrigger();
    InitColorGroups();
    InitMaxVecNo();
    DispVis();
    InitTeachPanel();
}

void CheckGroupCell(int col, int row)
{
    activCell = {col, row};
    const uint16_t v = GetCellU16(parapanel2->EditGridGroups, activCell.col, activCell.row);
    if (paraOutmode != OutBinary && v > anzOut - 1)
        warn("InfoGroupsOutmode");
    oldCell = activCell;
}

void ResetGroupTable()
{
    for (int r = 1; r <= anzVec; ++r)
        SetCellU16(parapanel2->EditGridGroups, 1, r, 0);
}

void ResetHoldTable()
{
    const auto v = static_cast<uint16_t>(parapanel2->EditResetHold->value());
    for (int r = 1; r <= anzVec + 1; ++r)
        SetCellU16(parapanel2->EditGridHold, 1, r, v);
}

} // namespace tintra
