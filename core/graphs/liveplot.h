// The plot widgets of the live display, built on QCustomPlot.
//
// Per data frame a plot is redrawn at most once, and only when it is visible: a hidden plot just
// remembers that it is out of date and catches up when it is shown. The cursor lives on a layer of
// its own, so moving it redraws that layer only and puts on screen only the pixels the cursor
// left and reached; the circles, lines and axes are redrawn only when they or the axis ranges
// changed. Putting a plot on screen is an ordinary widget update, so all plots and displays of a
// window reach the screen together, paced by the window (see core/display/paintpace.h).
//
// The layers below the cursor are drawn onto an opaque buffer in the plot's background colour.
// A strip chart keeps that buffer with the axes layer composed over it; putting it on screen
// copies, from there, the boxes where its traces were and are (see StripChart::cursorArea) and
// writes the traces' pixels straight into the window's picture, beneath the axes' pixels (see
// ThinLines). Other plots copy the buffer, draw the cursor
// layer straight onto the plot and blend the axes layer only where it has pixels (the frame
// around the plotting area): no full-size blends or intermediate copies per paint. A moved cross-hair
// is drawn in the cursor layer's own buffer, which starts as a copy of the picture below (only
// the old cross-hair's pixels restored), and only its old and new bands are copied on screen.
// The plot paints every pixel of itself, so nothing beneath it is painted first.
//
// The redraws of one frame are collected and carried out together: by the acquisition loop at
// the start of its 10 ms pause between frames (so the drawing happens inside that pause instead
// of lengthening every pass), otherwise about a millisecond later from the event loop. A plot
// whose window was repainted less than a screen refresh ago waits until the window is due, and
// is then redrawn once for all the frames meanwhile. A cursor layer is drawn only when the plot
// is painted, so frames that never reach the screen cost no drawing.
#pragma once

#include "grapharith.h"
#include "thinline.h"

#include <qcustomplot.h>

#include <array>

namespace tintra {

class LivePlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit LivePlot(const QString &objectName, QWidget *parent = nullptr);
    ~LivePlot() override;

    // Fixed (manual) axis ranges; a range equal to the current one changes nothing.
    void setRanges(AxisRange h, AxisRange v);
    AxisRange hRange() const;
    AxisRange vRange() const;

    // Schedules a redraw of what changed since the last call: the whole plot or only the cursor
    // layer. Nothing is drawn while the plot is hidden.
    void refresh();
    // Carries out the scheduled redraws of the plots whose window is to be repainted now (see
    // core/display/paintpace.h); the others wait for the repaint of their window. With `later`
    // the timer comes back for them when the first is due; without, the caller does (as the
    // acquisition loop does at the start of every pause).
    static void drawPending(bool later = true);
    static int pendingDraws();

    // Counters for tests and the benchmark.
    int fullReplots() const { return nFull; }
    int cursorReplots() const { return nCursor; }
    int replotsDone() const { return nDone; } // whole-plot redraws actually carried out
    int paintsComposed() const { return nComposed; } // paints with the lines drawn directly

    // The plot's axis rect, looked up once: QCustomPlot walks its whole layout for it on every
    // call, and a frame asks for it dozens of times.
    QCPAxisRect *axisRect(int index = 0) const;

protected:
    void markChanged() { dirtyAll = true; }
    // Only what lives on the top layer changed (the cursor, or a strip chart's traces).
    void markCursorMoved() { dirtyCursor = true; }
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    // The pixels the cursor layer covers now; the whole plot unless a subclass knows better.
    virtual QRegion cursorArea() const { return rect(); }
    // Called before the cursor moves: where it was must be repainted too (a hidden plot is
    // repainted whole when shown).
    void noteCursorLeaving();
    // Called when a redraw has asked for the repaint of what changed (cursorArea included).
    virtual void cursorAreaTaken() {}
    // A plot whose cursor layer is made of thin lines only may draw them itself, straight into the
    // window's picture (see ThinLines). `linesReady` works out the lines (false: the layer holds
    // something else, or a line reaches beyond the plot), `drawLines` draws them.
    virtual bool linesReady() { return false; }
    virtual void drawLines(ThinLines &) {}

    QCPLayer *cursorLayer = nullptr;

private:
    QPointer<QCPAxisRect> mainRect;
    void draw();
    // Redraws the cursor layer if a cursor change is waiting for it (done when painting).
    void drawCursorLayer();
    // Paints `region` from the opaque buffers: the picture below the cursor layer and that layer
    // (drawn straight onto the plot, or in its own buffer, see there), and the layers above only
    // where they have pixels. False when the buffers are not laid out for that (another layer
    // layout, a background that is not one opaque colour, a scaled screen, a redraw due).
    bool paintOpaque(const QRegion &region);
    // Paints `region` as the picture below and the layers above, composed once, with the cursor
    // layer's lines drawn in between by the plot itself. False when it cannot (see there).
    bool paintComposed(const QRegion &region);

    bool dirtyAll = true;
    bool scheduled = false;
    bool dirtyCursor = false;
    QRegion cursorTrail;
    bool cursorDue = false; // the cursor layer is to be redrawn before the next paint
    bool composing = false; // the last paint drew the cursor layer's lines itself
    QRegion restoreDue;     // where the cursor was since the cursor layer was last drawn
    int nFull = 0;
    int nCursor = 0;
    int nDone = 0;
    int nComposed = 0;
    QImage composed;            // the picture below with the layers above drawn over it
    quint64 composedFrom[2] = {}; // the redraws of those buffers it was composed from
};

// A colour plane (X/Y, zoomed X/Y, three-sides planes) or the INT bar graph: lines, circles and
// rectangles that stay until cleared, and one cross-hair cursor.
class PlaneGraph : public LivePlot {
    Q_OBJECT
public:
    explicit PlaneGraph(const QString &objectName, QWidget *parent = nullptr);

    // Removes every line, circle and rectangle (the cursor stays).
    void clearPlots();
    void addLine(const int16_t *x, const int16_t *y, int n, QColor color);
    // A tolerance circle of radius t around (cx, cy), drawn `outlines` times (1 or 3).
    void addCircle(int cx, int cy, int t, QColor color, int outlines);
    void addRect(double x1, double y1, double x2, double y2, QColor color);
    void setCursorPos(double x, double y);
    QPointF cursorPos() const;

    int lineCount() const { return graphCount(); }
    int circleCount() const { return nCircles; }
    int rectCount() const { return nRects; }
    // The box of the i-th ellipse item and its colour, for checks.
    bool ellipseAt(int i, CircleBox *box, QColor *color) const;
    bool rectAt(int i, CircleBox *box, QColor *color) const;

protected:
    // The two lines of the cross-hair, as thin bands across the plotting area.
    QRegion cursorArea() const override;
    bool linesReady() override;
    void drawLines(ThinLines &lines) override;

private:
    QCPItemTracer *cursor = nullptr;
    QLine crossLines[2]; // worked out by linesReady
    int nCrossLines = 0;
    QRgb crossColour = 0;
    mutable QRegion area; // the last cursorArea, for the plotting area, cursor pixel and size
    mutable QRect areaBox;
    mutable QPoint areaAt;
    mutable QSize areaSize;
    int nCircles = 0;
    int nRects = 0;
};

// A strip chart of three traces showing 100 samples (101 points per screen). The traces live on
// the top layer, so a new sample redraws them alone; axes and grid are redrawn only when the range
// changes.
class StripChart : public LivePlot {
    Q_OBJECT
public:
    StripChart(const QString &objectName, const QColor colors[stripTraces],
               QWidget *parent = nullptr);

    // Plots the interleaved buffer (sample k of trace j at 3k + j), overwriting the old values.
    void plotInterleaved(const double *buf);
    double value(int trace, int sample) const;

    // The pixel row of a value on `axis` (vertical), as the axis itself works it out, without a
    // call per value for a plain linear axis.
    class ValueToPixel {
    public:
        explicit ValueToPixel(const QCPAxis *axis);
        // As the axis maps it (the value less the range's lower end, over its size, times the
        // axis' length, up from its bottom): the same operations in the same order.
        double operator()(double v) const
        {
            return linear ? bottom - (v - range.lower) / range.size() * length
                          : axis->coordToPixel(v);
        }

    private:
        const QCPAxis *axis;
        QCPRange range;
        bool linear;
        double bottom, length;
    };

protected:
    // Where the traces were and are since the last redraw: a box per run of ten samples, within
    // the plotting area (the traces are clipped to it).
    QRegion cursorArea() const override;
    void cursorAreaTaken() override;
    bool linesReady() override;
    void drawLines(ThinLines &lines) override;

private:
    QCPGraph *traces[stripTraces] = {};
    std::array<QPoint, stripSamples> points[stripTraces]; // on the plot, worked out by linesReady
    bool pointsKnown = false; // the last linesReady worked them all out
    QRgb colours[stripTraces] = {};
    // Per trace and run of samples (and the sample before it): the trace's lowest and highest
    // value now, and the span to repaint at the next redraw (the old values and the new).
    static constexpr int spanRun = 10;
    static constexpr int spanRuns = (stripSamples - 1 + spanRun - 1) / spanRun;
    struct Span {
        double lo = qInf(), hi = -qInf();
    };
    Span shownSpan[stripTraces][spanRuns] = {};
    Span dueSpan[stripTraces][spanRuns];
};

} // namespace tintra
