// Builds the parameter panels for a test and removes them afterwards.
#pragma once

#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/tapanel.h"
#include "core/panels/teachpanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/p3sidesview.h"
#include "core/panels/cells.h"
#include "core/params/moderules.h"
#include "core/panels/rowcolours.h"
#include "link/paraimage.h"

#include <QComboBox>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra::test {

struct ParamPanels {
    ParamPanels()
    {
        parapanel1 = new ParaPanel1;
        parapanel2 = new ParaPanel2;
        ttpanel = new TtPanel;
        tapanel = new TaPanel;
        teachpanel = new TeachPanel;
        datapanel = new DataPanel;
        p3sidesview = new P3SidesView;
        grpbigpanel = new GrpBigPanel;
    }
    ~ParamPanels()
    {
        delete parapanel1;
        delete parapanel2;
        delete ttpanel;
        delete tapanel;
        delete teachpanel;
        delete datapanel;
        delete p3sidesview;
        delete grpbigpanel;
        grpbigpanel = nullptr;
        parapanel1 = nullptr;
        parapanel2 = nullptr;
        ttpanel = nullptr;
        tapanel = nullptr;
        teachpanel = nullptr;
        datapanel = nullptr;
        p3sidesview = nullptr;
    }
    ParamPanels(const ParamPanels &) = delete;
    ParamPanels &operator=(const ParamPanels &) = delete;
};

inline QList<int> ringCodes(const QComboBox *c)
{
    QList<int> out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemData(i).toInt();
    return out;
}

} // namespace tintra::test
