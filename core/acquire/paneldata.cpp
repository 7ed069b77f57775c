#include "paneldata.h"

#include "core/graphs/grapharith.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/datapanel.h"
#include "core/panels/calibpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/controls.h"
#include "link/calibarith.h"
#include "link/paraimage.h"
#include "link/state.h"
#include "widgets/colourbar.h"
#include "widgets/numberdisplay.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>

namespace tintra {

uint32_t rgbcolor;
uint16_t deltaraw;

namespace {

// Every frame writes the same displays; a value is turned into text only when it changed, so
// a steady measurement costs no text formatting and no repaint. The cache remembers which widget
// it belongs to, so a rebuilt panel is written afresh (a guarded pointer: a new widget at the
// address of a deleted one is not taken for it).
struct Shown {
    QPointer<const QObject> w;
    int v = -1;
    bool changed(const QObject *widget, int value)
    {
        if (w == widget && v == value)
            return false;
        w = widget;
        v = value;
        return true;
    }
};

enum Slot {
    sRed, sGreen, sBlue, sBarRed, sBarGreen, sBarBlue, sX, sY, sInt, sCol, sTemp, sGroup,
    sBigCol, sBigGroup, sPatch, sRawR, sRawG, sRawB, sBarRawR, sBarRawG, sBarRawB, sDelta,
    sBarCalR, sBarCalG, sBarCalB, slotCount
};
Shown shown[slotCount];

void Number(QLineEdit *e, int v, Slot s)
{
    if (!e || !shown[s].changed(e, v))
        return;
    if (auto *d = dynamic_cast<NumberDisplay *>(e))
        d->showNumber(QString::number(v));
    else
        e->setText(QString::number(v));
}

void Number(QLabel *l, int v, Slot s)
{
    if (l && shown[s].changed(l, v))
        l->setText(QString::number(v));
}

// A value beyond a bar's range shows at its end; limited first, so that all values above the
// top count as one shown value.
void Bar(ColourBar *b, int v, Slot s)
{
    if (!b)
        return;
    v = std::clamp(v, b->minimum(), b->maximum());
    if (shown[s].changed(b, v))
        b->setValue(v);
}

void Patch(QFrame *f, uint32_t rgb)
{
    if (!f || !shown[sPatch].changed(f, int(rgb)))
        return;
    QPalette p = f->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(rgb));
    f->setAutoFillBackground(true);
    f->setPalette(p);
}

} // namespace

void SetPanelData()
{
    if (DataPanel *d = datapanel) {
        Number(d->DispRED, dataR, sRed);
        Number(d->DispGREEN, dataG, sGreen);
        Number(d->DispBLUE, dataB, sBlue);
        Bar(d->BarRED, dataR, sBarRed);
        Bar(d->BarGREEN, dataG, sBarGreen);
        Bar(d->BarBLUE, dataB, sBarBlue);
        Number(d->DispX, dataX, sX);
        Number(d->DispY, dataY, sY);
        Number(d->DispINT, dataINT, sInt);
        Number(d->DispCOL, dataCOL, sCol);
        Number(d->DispTemp, dataTemp, sTemp);
        Number(d->DispGroup, dataGroup, sGroup);
        if (d->LedTrig)
            d->LedTrig->setOn(dataTrigger != 0);
    }
    if (colbigpanel)
        Number(colbigpanel->DispBigCOL, dataCOL, sBigCol);
    if (grpbigpanel)
        Number(grpbigpanel->DispBigGroup, dataGroup, sBigGroup);

    rgbcolor = PatchColor(dataR, dataG, dataB);
    if (datapanel)
        Patch(datapanel->ColorPatch, rgbcolor);

    if (paraEvalmode == EvalCol5 && datapanel) {
        bool lit[anzOut];
        Col5Lamps(dataCOL, lit);
        Lamp *lamps[anzOut] = {datapanel->LedCol16, datapanel->LedCol8, datapanel->LedCol4,
                               datapanel->LedCol2, datapanel->LedCol1};
        for (int i = 0; i < anzOut; ++i)
            if (lamps[i])
                lamps[i]->setOn(lit[i]);
    }

    InitGraphBuffers();
}

namespace {

void ShowCalibValues()
{
    CalibPanel *c = calibpanel;
    Number(c->DispRawR, dataRawR, sRawR);
    Number(c->DispRawG, dataRawG, sRawG);
    Number(c->DispRawB, dataRawB, sRawB);
    Bar(c->BarRawR, dataRawR, sBarRawR);
    Bar(c->BarRawG, dataRawG, sBarRawG);
    Bar(c->BarRawB, dataRawB, sBarRawB);
    Number(c->DispRawDelta, deltaraw, sDelta);
    Bar(c->BarCalR, dataR, sBarCalR);
    Bar(c->BarCalG, dataG, sBarCalG);
    Bar(c->BarCalB, dataB, sBarCalB);
}

// The calibration page is hidden most of the time; its displays are written when it is visible
// and brought up to date when it is shown.
class CalibShowHook : public QObject {
public:
    explicit CalibShowHook(QObject *panel) : QObject(panel) { panel->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show && calibpanel)
            ShowCalibValues();
        return false;
    }
};

} // namespace

void SetPanelCalibData()
{
    deltaraw = RawSpread(dataRawR, dataRawG, dataRawB);
    CalibPanel *c = calibpanel;
    if (!c)
        return;
    static QPointer<CalibShowHook> hook;
    if (!hook || hook->parent() != c)
        hook = new CalibShowHook(c);
    if (c->isVisible())
        ShowCalibValues();
}

} // namespace tintra
