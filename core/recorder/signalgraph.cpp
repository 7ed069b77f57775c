#include "signalgraph.h"

#include "core/panels.h"
#include "core/panels/graphpanel.h"
#include "core/panels/cells.h"
#include "link/state.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace tintra {

uint64_t graphcnt = 0;
uint64_t bufcnt[2] = {0, 0};
uint16_t bufr[2], bufg[2], bufb[2], bufx[2], bufy[2], bufint[2], buftemp[2];

namespace {

constexpr int redrawPeriodMs = 100;
constexpr unsigned lineColours[signalCount] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000,
                                               0x00FF00, 0x008080, 0x008080};
SignalPlot *plots[signalCount] = {};
QTimer *redrawTimer = nullptr;

uint16_t *const valueBufs[signalCount] = {bufr, bufg, bufb, bufx, bufy, bufint, buftemp};
uint16_t *const currentValues[signalCount] = {&dataR, &dataG, &dataB, &dataX,
                                              &dataY, &dataINT, &dataTemp};

// 1, 2, 5 x 10^k at or above n: the horizontal axis grows in a few steps, not every frame.
double NiceCeiling(double n)
{
    double p = 1;
    while (p * 10 <= n)
        p *= 10;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= n)
            return m * p;
    return 10 * p;
}

} // namespace

SignalPlot::SignalPlot(const QString &objectName, QColor colour, QWidget *parent)
    : LivePlot(objectName, parent)
{
    line = addGraph();
    line->setPen(QPen(colour, 1));
    line->setAdaptiveSampling(true);
    xAxis->setRange(0, 10);
    yAxis->setRange(0, 4096);
}

void SignalPlot::sync()
{
    if (stale) {
        stale = false;
        std::vector<EnvelopePoint> pts;
        course.points(&pts);
        QVector<QCPGraphData> data;
        data.reserve(qsizetype(pts.size()));
        for (const EnvelopePoint &p : pts)
            data.append(QCPGraphData(p.x, p.y));
        line->data()->set(data, true);
        const double hi = NiceCeiling(std::max<double>(10.0, double(course.count())));
        double vlo = course.lowest(), vhi = course.highest();
        const double margin = std::max(5.0, (vhi - vlo) * 0.05);
        vlo = std::max(0.0, vlo - margin);
        vhi = vhi + margin;
        if (course.count() == 0) {
            vlo = 0;
            vhi = 4096;
        }
        xAxis->setRange(0, hi);
        yAxis->setRange(vlo, vhi);
        markChanged();
    }
    refresh();
}

std::vector<EnvelopePoint> SignalPlot::plotted() const
{
    std::vector<EnvelopePoint> out;
    for (auto it = line->data()->constBegin(); it != line->data()->constEnd(); ++it)
        out.push_back({it->key, it->value});
    return out;
}

void SignalPlot::showEvent(QShowEvent *e)
{
    sync();
    LivePlot::showEvent(e);
}

void CreateSignalGraphs()
{
    if (plots[0] || !graphpanel)
        return;
    const char *const names[signalCount] = {"PanelGraphR", "PanelGraphG",   "PanelGraphB",
                                            "PanelGraphX", "PanelGraphY",   "PanelGraphINT",
                                            "PanelGraphTemp"};
    for (int i = 0; i < signalCount; ++i) {
        plots[i] = new SignalPlot(QString::fromLatin1(names[i]), Rgb(int(lineColours[i])),
                                  graphpanel->PanelGraphArea);
        graphpanel->PanelGraphArea->addWidget(plots[i]);
        QObject::connect(plots[i], &QObject::destroyed, [i] { plots[i] = nullptr; });
    }
    redrawTimer = new QTimer(graphpanel);
    redrawTimer->setSingleShot(true);
    redrawTimer->setInterval(redrawPeriodMs);
    QObject::connect(redrawTimer, &QTimer::timeout, [] { SyncSignalGraph(); });
    QObject::connect(redrawTimer, &QObject::destroyed, [] { redrawTimer = nullptr; });
    SetGraphVisible();
}

SignalPlot *SignalGraph(int signal)
{
    return signal >= 0 && signal < signalCount ? plots[signal] : nullptr;
}

void InitPanelGraph()
{
    graphcnt = 0;
    for (SignalPlot *p : plots)
        if (p) {
            p->course.clear();
            p->markStale();
        }
    bufcnt[0] = bufcnt[1] = 0;
    for (int i = 0; i < signalCount; ++i)
        valueBufs[i][0] = valueBufs[i][1] = *currentValues[i];
    SyncSignalGraph();
}

void SetPanelGraphData()
{
    if (graphpanel)
        for (int i = 0; i < signalCount; ++i)
            graphpanel->GpDisp[i]->setText(QString::number(*currentValues[i]));
    bufcnt[0] = bufcnt[1];
    bufcnt[1] = graphcnt;
    for (int i = 0; i < signalCount; ++i) {
        valueBufs[i][0] = valueBufs[i][1];
        valueBufs[i][1] = *currentValues[i];
        if (graphcnt == 0)
            valueBufs[i][0] = valueBufs[i][1]; // the first segment is a single point
    }
    // The newest segment ends in (bufcnt[1], value[1]); its start is the previous point, already
    // in the course.
    for (int i = 0; i < signalCount; ++i)
        if (plots[i]) {
            plots[i]->course.add(bufcnt[1], valueBufs[i][1]);
            plots[i]->markStale();
        }
    ++graphcnt;
    if (redrawTimer && !redrawTimer->isActive())
        redrawTimer->start();
}

void SetGraphVisible()
{
    if (!graphpanel)
        return;
    int s = RingValue(graphpanel->EditSignal);
    if (s < 0 || s >= signalCount)
        s = 0;
    if (plots[s])
        graphpanel->PanelGraphArea->setCurrentWidget(plots[s]);
}

void SyncSignalGraph()
{
    for (SignalPlot *p : plots)
        if (p && p->isVisible())
            p->sync();
}

} // namespace tintra
