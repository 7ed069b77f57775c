// The signal graph: the course of R, G, B, X, Y, INT (s, i, M) and TEMP over the recorded frames,
// one graph per signal, of which SIGNAL shows one.
//
// Every recorded frame goes into all seven courses, visible or not, so switching SIGNAL shows the
// whole course at once. A course is a SignalEnvelope: exact while short, a min/max envelope once
// long, so a frame costs the same after a day of recording as after a minute and the memory stays
// bounded. The visible graph is redrawn from its course at most ten times a second.
#pragma once

#include "core/graphs/liveplot.h"
#include "core/graphs/envelope.h"

#include <cstdint>
#include <vector>

namespace tintra {

constexpr int signalCount = 7;

// One signal's graph.
class SignalPlot : public LivePlot {
    Q_OBJECT
public:
    SignalPlot(const QString &objectName, QColor colour, QWidget *parent = nullptr);

    SignalEnvelope course;
    // Copies the course into the plot and fits the axes, if the course changed since the last
    // call; then schedules the redraw (carried out only while the plot is visible).
    void sync();
    void markStale() { stale = true; }
    // The points the plot holds now (for checks).
    std::vector<EnvelopePoint> plotted() const;

protected:
    void showEvent(QShowEvent *e) override;

private:
    QCPGraph *line = nullptr;
    bool stale = true;
};

// Horizontal position of the next point: points added since the last reset. 64 bits, so a
// recording never wraps.
extern uint64_t graphcnt;
// Element 0 the previous point, element 1 the newest.
extern uint64_t bufcnt[2];
extern uint16_t bufr[2], bufg[2], bufb[2], bufx[2], bufy[2], bufint[2], buftemp[2];

// Builds the seven graphs into the signal graph panel (once).
void CreateSignalGraphs();
SignalPlot *SignalGraph(int signal); // 0 ... 6, or nullptr

void InitPanelGraph();     // reset: empty courses, graphcnt 0
void SetPanelGraphData();  // the current measurement as the next point of all seven courses
void SetGraphVisible();    // show the graph chosen by SIGNAL (R for a value outside 0 ... 6)
// Draws the visible graph now instead of at the next ten-per-second tick.
void SyncSignalGraph();

} // namespace tintra
