// The mode rule of the mean-value teach panel.
#include "moderules.h"

#include "core/panels/cells.h"
#include "link/itemlists.h"
#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/teachpanel.h"
#include "core/params/teacharith.h"
#include "link/paraimage.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

namespace {

struct TeachCaptions {
    const char *grid[3];
    const char *firstDist;
    const char *secondDist; // nullptr: unchanged
    const char *ctoValue;
    const char *ctoChoice;
    const char *ctoItems[3];
    const char *itoValue; // nullptr: the intensity-tolerance controls are hidden and unchanged
    const char *itoChoice;
    const char *itoItems[3];
};

const TeachCaptions teachCaptions[4] = {
    {{"X", "Y", "INT"}, "d (X/Y)", "d INT", "VALUE CTO", "TEACH CTO WITH",
     {"VALUE CTO", "d (X/Y)", "d (X/Y)+VALUE CTO"}, "VALUE ITO", "TEACH ITO WITH",
     {"VALUE ITO", "d INT", "d INT+VALUE ITO"}},
    {{"s", "i", "M"}, "d (s/i)", "d M", "VALUE siTO", "TEACH siTO WITH",
     {"VALUE siTO", "d (s/i)", "d (s/i)+VALUE siTO"}, "VALUE MTO", "TEACH MTO WITH",
     {"VALUE MTO", "d M", "d M+VALUE MTO"}},
    {{"X", "Y", "INT"}, "d (X/Y/INT)", nullptr, "VALUE TOL", "TEACH TOL WITH",
     {"VALUE TOL", "d (X/Y/INT)", "d (X/Y/INT)+VALUE TOL"}, nullptr, nullptr, {}},
    {{"s", "i", "M"}, "d (s/i/INT)", "d M", "VALUE TOL", "TEACH TOL WITH",
     {"VALUE TOL", "d (s/i/INT)", "d (s/i/INT)+VALUE TOL"}, nullptr, nullptr, {}},
};

QString latin(const char *s) { return QString::fromLatin1(s); }

void showWithCaption(QWidget *w, bool visible)
{
    w->setVisible(visible);
    if (QWidget *l = LabelOf(w))
        l->setVisible(visible);
}

// The typed tolerances start at the defaults TEACH DATA TO writes in the present modes, and take
// the new defaults whenever EVALMODE, PMODE or CALCMODE has changed since: a tolerance of 0 would
// teach a colour that is never recognised. What the operator types stays while the modes do.
void FollowDefaultTolerances(TeachPanel *t)
{
    const uint16_t pmode = RingValue(parapanel1->EditPmode);
    const int modes = (paraEvalmode << 16) | (pmode << 8) | paraCalcmode;
    const QVariant filledFor = t->property("tolerancesFor"); // the modes of the last filling
    if (filledFor.isValid() && filledFor.toInt() == modes)
        return;
    t->setProperty("tolerancesFor", modes);
    const DefaultTolerance d = DefaultTolerances(paraEvalmode, pmode, paraCalcmode);
    t->EditTpValueCto->setValue(d.colour);
    t->EditTpValueIto->setValue(d.intensity);
}

} // namespace

void InitTeachPanel()
{
    TeachPanel *t = teachpanel;
    if (!t)
        return;
    paraEvalmode = RingValue(parapanel1->Evalmode);
    const bool fixedCto = paraEvalmode == EvalNoColTol;
    t->EditTpTeachCtoWith->setEnabled(!fixedCto);
    t->EditTpValueCto->setEnabled(!fixedCto);

    if (paraCalcmode > 3)
        return;
    FollowDefaultTolerances(t);
    const TeachCaptions &c = teachCaptions[paraCalcmode];
    for (int k = 0; k < 3; ++k) {
        SetColumnCaption(t->GridTpValues, 4 + k, latin(c.grid[k]));
        SetColumnCaption(t->GridTpMean, 4 + k, latin(c.grid[k]));
    }
    SetCaption(t->DispTpMaxDeltaXY, latin(c.firstDist));
    if (c.secondDist)
        SetCaption(t->DispTpMaxDeltaInt, latin(c.secondDist));
    SetCaption(t->EditTpValueCto, latin(c.ctoValue));
    SetCaption(t->EditTpTeachCtoWith, latin(c.ctoChoice));
    for (int k = 0; k < 3; ++k)
        t->EditTpTeachCtoWith->setItemText(k, latin(c.ctoItems[k]));
    const bool ito = c.itoValue != nullptr;
    if (ito) {
        SetCaption(t->EditTpValueIto, latin(c.itoValue));
        SetCaption(t->EditTpTeachItoWith, latin(c.itoChoice));
        for (int k = 0; k < 3; ++k)
            t->EditTpTeachItoWith->setItemText(k, latin(c.itoItems[k]));
    }
    showWithCaption(t->EditTpValueIto, ito);
    showWithCaption(t->EditTpTeachItoWith, ito);
    showWithCaption(t->DispTpMaxDeltaInt, ito);
}

} // namespace tintra
