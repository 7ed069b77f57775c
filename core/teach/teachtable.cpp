#include "teachtable.h"

#include "tableattr.h"
#include "core/params/teacharith.h"
#include "core/acquire/paneldata.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/cells.h"
#include "core/params/panelvalues.h"
#include "core/panels/rowcolours.h"
#include "link/paraimage.h"
#include "link/state.h"
#include "widgets/numberdisplay.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

namespace {

// A display's number as shown (0 when it shows none).
uint16_t Shown(const QLineEdit *display)
{
    bool ok = false;
    const uint v = display ? ShownText(display).trimmed().toUInt(&ok) : 0;
    return ok && v <= 65535 ? uint16_t(v) : 0;
}

} // namespace

void TeachDataTo()
{
    if (!ttpanel || !parapanel1)
        return;
    if (datapanel) {
        dataX = Shown(datapanel->DispX);
        dataY = Shown(datapanel->DispY);
    }
    QTableWidget *t = ttpanel->GridCtt;
    const int r = ttpanel->EditNo->value();
    paraCalcmode = RingValue(parapanel1->Calcmode);
    paraEvalmode = RingValue(parapanel1->Evalmode);
    paraPmode = RingValue(parapanel1->EditPmode);

    uint16_t row[5];
    for (int c = 0; c < 5; ++c)
        row[c] = GetCellU16(t, c + 1, r + 1);
    TeachRowWords(paraCalcmode, paraEvalmode, paraPmode, dataX, dataY, dataINT, row);
    for (int c = 0; c < 5; ++c)
        SetCellU16(t, c + 1, r + 1, row[c]);

    if (ttpanel->RadioInc->isChecked() && r < anzVec - 1)
        ttpanel->EditNo->setValue(r + 1);

    if (ColourModeAutomatic()) {
        PaintRow(r, int(rgbcolor));
        sicolarr[r] = int(rgbcolor);
    }
}

void ApplyFromAll()
{
    EndLoop();
    GetPanelValues();
    InitGraphs();
    if (!datagraphs)
        return;
    const int k = paraCalcmode < 2 ? 2 : 3;
    PlaneGraph *xy = datagraphs->GraphData1;
    for (int n = 0; n < anzVec; ++n) {
        const uint16_t *w = paraTeachTable + 5 * n;
        xy->addCircle(w[0], w[1], w[k], Rgb(sicolarr[n]), 3);
    }
    xy->refresh();
}

void ResetTable()
{
    if (!ttpanel)
        return;
    ttpanel->EditNo->setValue(0);
    for (int r = 1; r <= anzVec; ++r)
        for (int c = 1; c <= 5; ++c)
            SetCellU16(ttpanel->GridCtt, c, r, 1);
    if (datagraphs) {
        for (PlaneGraph *g : {datagraphs->GraphData1, datagraphs->GraphData2,
                              datagraphs->GraphIntBar}) {
            g->clearPlots();
            g->refresh();
        }
    }
    if (sidesgraphs) {
        for (int i = 0; i < 3; ++i) {
            sidesgraphs->plane(i)->clearPlots();
            sidesgraphs->plane(i)->refresh();
        }
    }
}

} // namespace tintra
