// Live measurement: GO and STOP, the graphs of the data panel and of the three-sides view.
#include "app/callbacks.h"
#include "core/acquire/acquire.h"
#include "core/graphs/graphexport.h"
#include "core/graphs/graphs.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/p3sidesview.h"

#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

namespace tintra {

void ConnectLiveCallbacks()
{
    CreateGraphs(datapanel ? datapanel->GraphArea : nullptr, p3sidesview);
    if (datagraphs) {
        for (LivePlot *g : datagraphs->findChildren<LivePlot *>())
            SetGraphMenu(g, "InfoGraph");
    }
    if (sidesgraphs) {
        SetInfo(sidesgraphs, "InfoGraph3SidesView"); // the captions between the graphs
        for (LivePlot *g : sidesgraphs->findChildren<LivePlot *>())
            SetGraphMenu(g, "InfoGraph3SidesView");
    }
    // A new "No.:" row redraws the intensity band at once; the strip chart follows per frame.
    if (ttpanel)
        QObject::connect(ttpanel->EditNo, &QSpinBox::valueChanged, ttpanel,
                         [](int) { InitGraphInt2(); });
    if (mainpanel) {
        QObject::connect(mainpanel->ButtonGo, &QPushButton::clicked, mainpanel,
                         [] { CBF_ButtonGo(); });
        QObject::connect(mainpanel->ButtonStop, &QPushButton::clicked, mainpanel,
                         [] { CBF_ButtonStop(); });
    }
}

} // namespace tintra
