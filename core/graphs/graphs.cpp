#include "graphs.h"

#include "graphinputs.h"
#include "core/graphs/dispnames.h"
#include "core/display/ramps.h"
#include "link/paraimage.h"
#include "link/state.h"

#include <QGridLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tintra {


DataGraphs *datagraphs = nullptr;
SidesGraphs *sidesgraphs = nullptr;

namespace {

const QColor rgbTraces[stripTraces] = {QColor(0xFF0000), QColor(0x00C000), QColor(0x0000FF)};
const QColor intTraces[stripTraces] = {QColor(0x008080), QColor(0x408080), QColor(0x408080)};
const QColor boundaryColour(0xA0A0A0);
const QColor bandColour(0x408080);

constexpr double barTop = 100.0;
constexpr double barCursorY = 50.0;

// Radius word of the tolerance circles: CTO / siTO in the plane modes, TOL in the space modes.
int ToleranceWord(uint16_t calc) { return calc < 2 ? 2 : 3; }

// Value and tolerance of the selected row's intensity, read from the teach-table cells.
void SelectedBand(uint16_t calc, uint16_t *v, uint16_t *t)
{
    const int row = SelectedTeachRow() + 1;
    const int col = calc < 2 ? 4 : 3;
    *v = TeachCell(col, row);
    *t = TeachCell(col + 1, row);
}

} // namespace

DataGraphs::DataGraphs(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DataGraphs"));
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    GraphRGB = new StripChart(QStringLiteral("GraphRGB"), rgbTraces, this);
    GraphData1 = new PlaneGraph(QStringLiteral("GraphData1"), this);
    GraphInt = new StripChart(QStringLiteral("GraphInt"), intTraces, this);
    GraphData2 = new PlaneGraph(QStringLiteral("GraphData2"), this);
    GraphIntBar = new PlaneGraph(QStringLiteral("GraphIntBar"), this);
    // Small enough that the zoomed plane and the INT bar fit a small screen's data panel together.
    GraphData2->setMinimumHeight(80);
    GraphIntBar->setMinimumHeight(48);
    GraphIntBar->setMaximumHeight(120);
    GraphIntBar->yAxis->setTicks(false);
    GraphIntBar->yAxis->setTickLabels(false);
    GraphIntBar->setRanges({0, 4096}, {0, barTop});
    GraphRGB->setRanges({0, stripPointsPerScreen - 1}, {0, 4096});
    GraphInt->setRanges({0, stripPointsPerScreen - 1}, {0, 4096});
    lay->addWidget(GraphRGB, 1);
    lay->addWidget(GraphData1, 1);
    lay->addWidget(GraphInt, 1);
    lay->addWidget(GraphData2, 1);
    lay->addWidget(GraphIntBar, 0);
}

void SidesGraphs::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (paraCalcmode > 1)
        ShowGraph3SidesView();
}

SidesGraphs::SidesGraphs(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Graph3SidesView"));
    auto *lay = new QGridLayout(this);
    GraphXY = new PlaneGraph(QStringLiteral("Graph3SidesXY"), this);
    GraphXINT = new PlaneGraph(QStringLiteral("Graph3SidesXINT"), this);
    GraphYINT = new PlaneGraph(QStringLiteral("Graph3SidesYINT"), this);
    GraphHistory = new StripChart(QStringLiteral("Graph3SidesHistory"), rgbTraces, this);
    GraphHistory->setRanges({0, stripPointsPerScreen - 1}, {0, 4096});
    // Each graph has its caption above it; the calculation-mode rule renames the plane graphs'
    // captions (the label is the graph's buddy).
    struct Cell {
        QWidget *graph;
        const char *captionName, *caption;
    };
    const Cell cells[4] = {{GraphXY, "CaptionGraph3SidesXY", "X/Y"},
                           {GraphXINT, "CaptionGraph3SidesXINT", "X/INT"},
                           {GraphYINT, "CaptionGraph3SidesYINT", "Y/INT"},
                           {GraphHistory, "CaptionGraph3SidesHistory", "R, G, B"}};
    for (int i = 0; i < 4; ++i) {
        auto *l = new QLabel(QString::fromLatin1(cells[i].caption), this);
        l->setObjectName(QString::fromLatin1(cells[i].captionName));
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignCenter);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setBuddy(cells[i].graph);
        cells[i].graph->setAccessibleName(l->text());
        lay->addWidget(l, 2 * (i / 2), i % 2);
        lay->addWidget(cells[i].graph, 2 * (i / 2) + 1, i % 2);
    }
    lay->setRowStretch(1, 1);
    lay->setRowStretch(3, 1);
}

void CreateGraphs(QWidget *graphArea, QWidget *sidesArea)
{
    if (!datagraphs && graphArea) {
        datagraphs = new DataGraphs(graphArea);
        if (auto *stack = qobject_cast<QStackedWidget *>(graphArea)) {
            stack->addWidget(datagraphs);
            stack->setCurrentWidget(datagraphs);
        } else {
            if (!graphArea->layout())
                new QVBoxLayout(graphArea);
            graphArea->layout()->addWidget(datagraphs);
        }
        QObject::connect(datagraphs, &QObject::destroyed, [] { datagraphs = nullptr; });
    }
    if (!sidesgraphs && sidesArea) {
        sidesgraphs = new SidesGraphs(sidesArea);
        if (!sidesArea->layout())
            new QVBoxLayout(sidesArea);
        sidesArea->layout()->addWidget(sidesgraphs);
        QObject::connect(sidesgraphs, &QObject::destroyed, [] { sidesgraphs = nullptr; });
    }
}

void SetGraphScales(uint16_t calcmode)
{
    const bool si = IsSiMode(calcmode);
    if (datagraphs) {
        datagraphs->GraphData1->clearPlots();
        datagraphs->GraphData2->clearPlots();
        datagraphs->GraphIntBar->clearPlots();
        const double intTop = si ? 1200 : 4096;
        datagraphs->GraphData1->setRanges({0, si ? 10000.0 : 4096.0}, {0, si ? 4000.0 : 4096.0});
        datagraphs->GraphInt->setRanges({0, stripPointsPerScreen - 1}, {0, intTop});
        datagraphs->GraphIntBar->setRanges({0, intTop}, {0, barTop});
        for (LivePlot *p : {static_cast<LivePlot *>(datagraphs->GraphData1), 
                            static_cast<LivePlot *>(datagraphs->GraphData2),
                            static_cast<LivePlot *>(datagraphs->GraphIntBar),
                            static_cast<LivePlot *>(datagraphs->GraphInt)})
            p->refresh();
    }
    if (sidesgraphs) {
        for (int i = 0; i < 3; ++i) {
            sidesgraphs->plane(i)->clearPlots();
            sidesgraphs->plane(i)->refresh();
        }
    }
}

void InitGraphBuffers()
{
    paraCalcmode = CalcmodeControl();
    uint16_t v, t;
    SelectedBand(paraCalcmode, &v, &t);
    const IntBand band = IntensityBand(v, t, stripBandTop);
    PushStripSample(rawbuf, dataR, dataG, dataB);
    PushStripSample(intbuf, dataINT, band.hi, band.lo);
}

void ShowGraph()
{
    if (datagraphs) {
        switch (source) {
        case 0:
            datagraphs->GraphRGB->plotInterleaved(rawbuf);
            datagraphs->GraphRGB->refresh();
            break;
        case 1:
            datagraphs->GraphData1->setCursorPos(dataX, dataY);
            datagraphs->GraphData1->refresh();
            break;
        case 2:
            datagraphs->GraphInt->plotInterleaved(intbuf);
            datagraphs->GraphInt->refresh();
            break;
        case 3:
            ShowGraphData2();
            break;
        default:
            break;
        }
    }
    // The three-sides view is followed only while its window is open; opening it brings it up
    // to date with the current values (SidesGraphs::showEvent).
    if (paraCalcmode > 1 && sidesgraphs && sidesgraphs->isVisible())
        ShowGraph3SidesView();
}

void ShowGraphData2()
{
    if (!datagraphs)
        return;
    const PlaneZoom z = ZoomPlane(paraTeachTable, ToleranceWord(paraCalcmode), dataX, dataY);
    PlaneGraph *zoom = datagraphs->GraphData2;
    zoom->setRanges(z.h, z.v);
    zoom->setCursorPos(dataX, dataY);
    datagraphs->GraphIntBar->setCursorPos(dataINT, barCursorY);
    zoom->refresh();
    datagraphs->GraphIntBar->refresh();
}

void ShowGraph3SidesView()
{
    if (!sidesgraphs)
        return;
    const ThreeSidesZoom z = ZoomThreeSides(paraTeachTable, dataX, dataY, dataINT);
    sidesgraphs->GraphXY->setRanges(z.xy.h, z.xy.v);
    sidesgraphs->GraphXINT->setRanges(z.xint.h, z.xint.v);
    sidesgraphs->GraphYINT->setRanges(z.yint.h, z.yint.v);
    StripChart *hist = sidesgraphs->GraphHistory;
    hist->setRanges({0, stripPointsPerScreen - 1}, HistoryRange(rawbuf, stripLen));
    sidesgraphs->GraphXY->setCursorPos(dataX, dataY);
    sidesgraphs->GraphXINT->setCursorPos(dataX, dataINT);
    sidesgraphs->GraphYINT->setCursorPos(dataY, dataINT);
    hist->plotInterleaved(rawbuf);
    for (int i = 0; i < 3; ++i)
        sidesgraphs->plane(i)->refresh();
    hist->refresh();
}

void InitGraphInt2()
{
    paraCalcmode = CalcmodeControl();
    uint16_t v, t;
    SelectedBand(paraCalcmode, &v, &t);
    const IntBand band = IntensityBand(v, t, barBandTop);
    if (!datagraphs)
        return;
    PlaneGraph *bar = datagraphs->GraphIntBar;
    bar->clearPlots();
    bar->addRect(band.lo, 0.0, band.hi, barTop, bandColour);
    bar->refresh();
}

void InitGraphs()
{
    InitGraphInt2();
    if (datagraphs) {
        datagraphs->GraphData1->clearPlots();
        datagraphs->GraphData2->clearPlots();
    }
    if (sidesgraphs) {
        for (int i = 0; i < 3; ++i)
            sidesgraphs->plane(i)->clearPlots();
    }
    paraCalcmode = CalcmodeControl();
    const uint16_t calc = paraCalcmode;
    if (datagraphs && (calc == CalcXYInt || calc == CalcXYIntSpace))
        datagraphs->GraphData1->addLine(xramp, yramp, rampSize, boundaryColour);
    if (sidesgraphs && IsSpaceMode(calc)) {
        for (int n = 0; n < anzVec; ++n) {
            const uint16_t *w = paraTeachTable + 5 * n;
            const QColor c = RowColour(n);
            sidesgraphs->GraphXY->addCircle(w[0], w[1], w[3], c, 1);
            sidesgraphs->GraphXINT->addCircle(w[0], w[2], w[3], c, 1);
            sidesgraphs->GraphYINT->addCircle(w[1], w[2], w[3], c, 1);
        }
    }
    if (datagraphs) {
        const int k = ToleranceWord(calc);
        for (int n = 0; n < anzVec; ++n) {
            const uint16_t *w = paraTeachTable + 5 * n;
            datagraphs->GraphData2->addCircle(w[0], w[1], w[k], RowColour(n), 3);
        }
        datagraphs->GraphData1->refresh();
        datagraphs->GraphData2->refresh();
    }
    if (sidesgraphs) {
        for (int i = 0; i < 3; ++i)
            sidesgraphs->plane(i)->refresh();
    }
}

} // namespace tintra
