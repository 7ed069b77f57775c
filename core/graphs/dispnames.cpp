#include "dispnames.h"

#include "graphs.h"
#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/datapanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/p3sidesview.h"
#include "core/panels/cells.h"
#include "link/paraimage.h"

#include <QComboBox>
#include <QLabel>
#include <QPalette>

namespace tintra {

uint16_t source;

namespace {

void setColours(QWidget *w, int background, int numerals)
{
    if (!w)
        return;
    QPalette p = w->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
        p.setColor(role, Rgb(background));
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        p.setColor(role, Rgb(numerals));
    w->setAutoFillBackground(true);
    w->setPalette(p);
}

void setVisible(const char *name, bool visible)
{
    if (QWidget *w = DataControl(name))
        w->setVisible(visible);
}

} // namespace

QWidget *DataControl(const char *name)
{
    if (!datapanel)
        return nullptr;
    return datapanel->findChild<QWidget *>(QString::fromLatin1(name));
}

void SetDispNames()
{
    const bool si = IsSiMode(RingValue(parapanel1->Calcmode));
    const char *names[3] = {si ? "s" : "X", si ? "i" : "Y", si ? "M" : "INT"};
    const char *displays[3] = {"DispX", "DispY", "DispINT"};
    for (int k = 0; k < 3; ++k)
        SetCaption(DataControl(displays[k]), QString::fromLatin1(names[k]));
    if (si) {
        setColours(DataControl("DispX"), 0xFF0000, 0x00FF00);
        setColours(DataControl("DispY"), 0xFFFF00, 0x80FFFF);
    } else {
        setColours(DataControl("DispX"), 0xFF0000, 0xE0E0E0);
        setColours(DataControl("DispY"), 0x00FF00, 0xE0E0E0);
    }
    if (graphpanel) {
        if (auto *signal = graphpanel->findChild<QComboBox *>(QStringLiteral("EditSignal"))) {
            for (int k = 0; k < 3; ++k)
                if (signal->count() > 3 + k)
                    signal->setItemText(3 + k, QString::fromLatin1(names[k]));
        }
        for (int k = 0; k < 3; ++k)
            SetCaption(graphpanel->GpDisp[3 + k], QString::fromLatin1(names[k]));
    }
    // The graphs: emptied and given the fixed ranges of the mode.
    SetGraphScales(RingValue(parapanel1->Calcmode));
}

void DispVis()
{
    auto *ring = qobject_cast<QComboBox *>(DataControl("SelectSource"));
    if (!ring)
        return;
    const uint16_t s = RingValue(ring);
    source = s;
    if (s > 3)
        return;
    // The bars with their container; the RED, GREEN and BLUE numbers do not follow SOURCE.
    for (const char *n : {"DispRGB", "BarRED", "BarGREEN", "BarBLUE"})
        setVisible(n, s == 0);
    for (const char *n : {"DispX", "DispY", "DispINT"}) {
        setVisible(n, s != 0);
        if (QWidget *w = DataControl(n))
            if (QWidget *caption = LabelOf(w))
                caption->setVisible(s != 0);
    }
    setVisible("GraphRGB", s == 0);
    setVisible("GraphData1", s == 1);
    setVisible("GraphInt", s == 2);
    setVisible("GraphData2", s == 3);
    setVisible("GraphIntBar", s == 3);
    if (s == 3 && IsSpaceMode(RingValue(parapanel1->Calcmode)) && p3sidesview) {
        p3sidesview->show();
        p3sidesview->raise();
    }
}

} // namespace tintra
