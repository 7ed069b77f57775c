#include "meanteach.h"

#include "core/params/teacharith.h"
#include "core/acquire/acquire.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/ttpanel.h"
#include "core/panels/teachpanel.h"
#include "core/panels/cells.h"
#include "core/params/moderules.h"
#include "core/params/panelvalues.h"
#include "link/paraimage.h"
#include "link/platform.h"
#include "link/state.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>

namespace tintra {

uint16_t meanr, meang, meanb, meanx, meany, meanint;

namespace {

// Captured rows, 0 ... 100.
int Counter() { return std::clamp(teachpanel->DispTpCounter->value(), 0, tpRows); }

void SetCounter(int n) { teachpanel->DispTpCounter->setValue(n); }

void SetActiveRow(int row)
{
    QTableWidget *g = teachpanel->GridTpValues;
    g->setCurrentCell(row - 1, 0);
    g->scrollToItem(g->item(row - 1, 0));
}

void SetRow(int row, const uint16_t v[tpCols])
{
    for (int c = 0; c < tpCols; ++c)
        SetCellU16(teachpanel->GridTpValues, c + 1, row, v[c]);
}

// Rows 1 ... n of the values grid.
void CapturedRows(int n, uint16_t rows[][tpCols])
{
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < tpCols; ++c)
            rows[r][c] = GetCellU16(teachpanel->GridTpValues, c + 1, r + 1);
}

void ClearDistances()
{
    teachpanel->DispTpMaxDeltaXY->setValue(0);
    teachpanel->DispTpMaxDeltaInt->setValue(0);
}

} // namespace

void ResetTpTable()
{
    if (!teachpanel)
        return;
    SetCounter(0);
    const uint16_t zero[tpCols] = {};
    for (int r = 1; r <= tpRows; ++r)
        SetRow(r, zero);
    SetActiveRow(1);
    for (int c = 1; c <= tpCols; ++c)
        SetCellU16(teachpanel->GridTpMean, c, 1, 0);
    ClearDistances();
}

void CaptureFrame()
{
    if (!teachpanel)
        return;
    const int n = std::min(Counter(), tpRows - 1) + 1;
    SetCounter(n);
    SetActiveRow(n);
    const uint16_t frame[tpCols] = {dataR, dataG, dataB, dataX, dataY, dataINT};
    SetRow(n, frame);
    CalcMeanValues();
}

void UndoCapture()
{
    if (!teachpanel)
        return;
    const int n = std::max(Counter() - 1, 0);
    SetCounter(n);
    SetActiveRow(std::max(1, n - 5));
    const uint16_t zero[tpCols] = {};
    SetRow(n + 1, zero);
    CalcMeanValues();
}

void CalcMeanValues()
{
    if (!teachpanel)
        return;
    const int n = Counter();
    if (n <= 0) {
        for (int c = 1; c <= tpCols; ++c)
            SetCellU16(teachpanel->GridTpMean, c, 1, 0);
        ClearDistances();
        return;
    }
    uint16_t rows[tpRows][tpCols];
    CapturedRows(n, rows);
    uint16_t mean[tpCols];
    ColumnMeans(rows, n, mean);
    uint16_t *const globals[tpCols] = {&meanr, &meang, &meanb, &meanx, &meany, &meanint};
    for (int c = 0; c < tpCols; ++c) {
        *globals[c] = mean[c];
        SetCellU16(teachpanel->GridTpMean, c + 1, 1, mean[c]);
    }
    CalcMaxDelta();
}

void CalcMaxDelta()
{
    if (!teachpanel)
        return;
    if (parapanel1)
        paraCalcmode = RingValue(parapanel1->Calcmode);
    const int n = Counter();
    uint16_t rows[tpRows][tpCols];
    CapturedRows(n, rows);
    const MaxDelta m = MaxDeltas(rows, n, meanx, meany, meanint, paraCalcmode);
    teachpanel->DispTpMaxDeltaXY->setValue(m.dist);
    teachpanel->DispTpMaxDeltaInt->setValue(m.intensity);
}

void TeachToTable()
{
    TeachPanel *t = teachpanel;
    if (!t || !ttpanel || !parapanel1)
        return;
    paraCalcmode = RingValue(parapanel1->Calcmode);
    paraEvalmode = RingValue(parapanel1->Evalmode);
    const uint16_t mx = GetCellU16(t->GridTpMean, 4, 1);
    const uint16_t my = GetCellU16(t->GridTpMean, 5, 1);
    const uint16_t mi = GetCellU16(t->GridTpMean, 6, 1);
    const uint16_t dXY = uint16_t(t->DispTpMaxDeltaXY->value());
    const uint16_t dI = uint16_t(t->DispTpMaxDeltaInt->value());
    const int r = t->EditTpRowNo->value();

    QTableWidget *ctt = ttpanel->GridCtt;
    const bool plane = paraCalcmode < 2;
    const uint16_t c = ChosenTolerance(RingValue(t->EditTpTeachCtoWith),
                                       uint16_t(t->EditTpValueCto->value()), dXY,
                                       GetCellU16(ctt, plane ? 3 : 4, r + 1));
    const uint16_t i = ChosenTolerance(RingValue(t->EditTpTeachItoWith),
                                       uint16_t(t->EditTpValueIto->value()), dI,
                                       GetCellU16(ctt, plane ? 5 : 4, r + 1));
    uint16_t row[5];
    for (int k = 0; k < 5; ++k)
        row[k] = GetCellU16(ctt, k + 1, r + 1);
    MeanRowWords(paraCalcmode, paraEvalmode, mx, my, mi, c, i, row);
    for (int k = 0; k < 5; ++k)
        SetCellU16(ctt, k + 1, r + 1, row[k]);
}

void CBF_ButtonTeachMeanVal()
{
    if (!teachpanel)
        return;
    teachpanel->show();
    teachpanel->raise();
    InitTeachPanel();
    if (poll == 0)
        RunGo(false);
}

} // namespace tintra
