// The graphs of the live display: the five of the data panel (RGB strip chart, X/Y graph, INT
// strip chart, zoomed X/Y graph, INT bar graph) and the four of the three-sides view, with the
// operations that clear, prepare and update them.
#pragma once

#include "liveplot.h"

#include <QWidget>

namespace tintra {

// The data panel's graphs, placed in its graph area. Which of them are visible is decided by
// the SOURCE selector (DispVis).
class DataGraphs : public QWidget {
    Q_OBJECT
public:
    explicit DataGraphs(QWidget *parent = nullptr);

    StripChart *GraphRGB;   // view 0
    PlaneGraph *GraphData1; // view 1: X/Y graph
    StripChart *GraphInt;   // view 2: INT, band top, band bottom
    PlaneGraph *GraphData2; // view 3: zoomed X/Y graph
    PlaneGraph *GraphIntBar; // view 3: INT bar graph
};

// The three-sides view's graphs.
class SidesGraphs : public QWidget {
    Q_OBJECT
public:
    explicit SidesGraphs(QWidget *parent = nullptr);

    PlaneGraph *GraphXY;
    PlaneGraph *GraphXINT;
    PlaneGraph *GraphYINT;
    StripChart *GraphHistory;
    PlaneGraph *plane(int i) const { return i == 0 ? GraphXY : i == 1 ? GraphXINT : GraphYINT; }

protected:
    void showEvent(QShowEvent *e) override;
};

extern DataGraphs *datagraphs;
extern SidesGraphs *sidesgraphs;

// Creates both graph sets (once) inside the given containers' layouts.
void CreateGraphs(QWidget *graphArea, QWidget *sidesArea);

// Per-frame and preparation operations (see the live-display description of each).
void InitGraphBuffers(); // append the current sample to rawbuf and intbuf
void ShowGraph();        // draw the view chosen by `source`; the three-sides view in space modes
void ShowGraphData2();   // view 3: zoom and cursors
void ShowGraph3SidesView();
void InitGraphs();    // clear, boundary line, taught circles, intensity band
void InitGraphInt2(); // intensity band of the selected teach row in the INT bar graph

// The graph part of the calculation-mode switch: removes all plots from the X/Y, zoomed X/Y,
// INT bar and three-sides plane graphs and sets the fixed axis ranges of `calcmode`.
void SetGraphScales(uint16_t calcmode);

} // namespace tintra
