#include "panelvalues.h"

#include "core/panels/cells.h"
#include "moderules.h"
#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "link/paraimage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace tintra {

namespace {

uint16_t spinValue(const QSpinBox *s) { return static_cast<uint16_t>(s->value()); }

} // namespace

void GetPanelValues()
{
    const ParaPanel1 *p1 = parapanel1;
    const ParaPanel2 *p2 = parapanel2;
    paraPower = static_cast<uint16_t>(p1->SlidePower->value());
    paraPmode = RingValue(p1->EditPmode);
    paraAverage = RingValue(p1->EditAverage);
    paraEvalmode = RingValue(p1->Evalmode);
    paraHold255 = GetCellU16(p2->EditGridHold, 1, 1);
    paraIntlim = spinValue(p1->EditIntlim);
    paraMaxVecNo = spinValue(p1->EditMaxcolNo);
    paraOutmode = RingValue(p1->EditOutmode);
    paraTrigger = RingValue(p1->EditTrigger);
    paraExteach = RingValue(p1->EditExteach);
    paraCalcmode = RingValue(p1->Calcmode);
    paraDynWinLo = spinValue(p1->EditDynWinLo);
    paraDynWinHi = spinValue(p1->EditDynWinHi);
    paraColorGroup = p2->EditColorGroups->isChecked() ? 1 : 0;
    paraLedmode = RingValue(p1->EditLedMode);
    paraGain = RingValue(p1->EditGain);
    for (int r = 0; r < anzVec; ++r) {
        paraGroupBuf[r] = GetCellU16(p2->EditGridGroups, 1, r + 1);
        paraHoldBuf[r] = GetCellU16(p2->EditGridHold, 1, r + 2);
        for (int c = 0; c < 5; ++c)
            paraTeachTable[5 * r + c] = GetCellU16(ttpanel->GridCtt, c + 1, r + 1);
    }
}

void SetPanelValues()
{
    ParaPanel1 *p1 = parapanel1;
    ParaPanel2 *p2 = parapanel2;
    {
        const QSignalBlocker block(p1->SlidePower);
        p1->SlidePower->setValue(paraPower);
    }
    ShowRingValue(p1->EditPmode, paraPmode);
    ShowRingValue(p1->EditAverage, paraAverage);
    ShowRingValue(p1->Evalmode, paraEvalmode);
    SetCellU16(p2->EditGridHold, 1, 1, paraHold255);
    SetSpinValue(p1->EditIntlim, paraIntlim);
    SetSpinValue(p1->EditMaxcolNo, paraMaxVecNo);
    ShowRingValue(p1->EditOutmode, paraOutmode);
    ShowRingValue(p1->EditTrigger, paraTrigger);
    ShowRingValue(p1->EditExteach, paraExteach);
    ShowRingValue(p1->Calcmode, paraCalcmode);
    SetSpinValue(p1->EditDynWinLo, paraDynWinLo);
    SetSpinValue(p1->EditDynWinHi, paraDynWinHi);
    {
        const QSignalBlocker block(p2->EditColorGroups);
        p2->EditColorGroups->setChecked(paraColorGroup != 0);
    }
    ShowRingValue(p1->EditLedMode, paraLedmode);
    ShowRingValue(p1->EditGain, paraGain);
    for (int r = 0; r < anzVec; ++r) {
        SetCellU16(p2->EditGridGroups, 1, r + 1, paraGroupBuf[r]);
        SetCellU16(p2->EditGridHold, 1, r + 2, paraHoldBuf[r]);
        for (int c = 0; c < 5; ++c)
            SetCellU16(ttpanel->GridCtt, c + 1, r + 1, paraTeachTable[5 * r + c]);
    }
}

void ShowLoadedParameters()
{
    ShowRingValue(parapanel1->EditExteach, paraExteach);
    ShowRingValue(parapanel1->EditPmode, paraPmode);
    ShowRingValue(parapanel1->EditLedMode, paraLedmode);
    InitExteach();
    SetPanelValues();
    InitPanelCtrlAttr();
}

} // namespace tintra
