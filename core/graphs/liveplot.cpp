#include "liveplot.h"

#include <QPaintEvent>
#include <QTimer>
#include <QtMath>
#include <algorithm>

namespace tintra {

namespace {

// Plots waiting to be drawn, in the order they asked. A handful of plots at most; the list keeps
// its capacity, so scheduling allocates nothing per frame.
QList<LivePlot *> &pendingPlots()
{
    static QList<LivePlot *> list;
    return list;
}

QTimer &drawTimer()
{
    static QTimer *t = [] {
        auto *timer = new QTimer();
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(1);
        QObject::connect(timer, &QTimer::timeout, [] { LivePlot::drawPending(); });
        return timer;
    }();
    return *t;
}

} // namespace

LivePlot::LivePlot(const QString &objectName, QWidget *parent) : QCustomPlot(parent)
{
    setObjectName(objectName);
    setMinimumSize(160, 120);
    setNoAntialiasingOnDrag(true);
    // Hot plots: plain lines, no antialiasing.
    setNotAntialiasedElements(QCP::aeAll);
    setPlottingHint(QCP::phFastPolylines, true);
    pendingPlots().reserve(16);
    xAxis->setRange(0, 4096);
    yAxis->setRange(0, 4096);
    axisRect()->setupFullAxesBox(false);
    addLayer(QStringLiteral("cursor"), layer(QStringLiteral("main")), limAbove);
    cursorLayer = layer(QStringLiteral("cursor"));
    cursorLayer->setMode(QCPLayer::lmBuffered);
    setCurrentLayer(QStringLiteral("main"));
    connect(this, &QCustomPlot::afterReplot, this, [this] { ++nDone; });
}

LivePlot::~LivePlot() { pendingPlots().removeOne(this); }

void LivePlot::setRanges(AxisRange h, AxisRange v)
{
    if (hRange() == h && vRange() == v)
        return;
    xAxis->setRange(h.lo, h.hi);
    yAxis->setRange(v.lo, v.hi);
    markChanged();
}

AxisRange LivePlot::hRange() const { return {xAxis->range().lower, xAxis->range().upper}; }
AxisRange LivePlot::vRange() const { return {yAxis->range().lower, yAxis->range().upper}; }

void LivePlot::refresh()
{
    if (!isVisible() || (!dirtyAll && !dirtyCursor) || scheduled)
        return;
    scheduled = true;
    pendingPlots().append(this);
    if (!drawTimer().isActive())
        drawTimer().start();
}

int LivePlot::pendingDraws() { return int(pendingPlots().size()); }

void LivePlot::drawPending()
{
    QList<LivePlot *> &list = pendingPlots();
    // A plot drawn here may process events; take the list entries one by one.
    while (!list.isEmpty()) {
        LivePlot *p = list.takeFirst();
        p->scheduled = false;
        p->draw();
    }
}

void LivePlot::draw()
{
    if (!isVisible())
        return; // drawn when shown
    if (dirtyAll || (dirtyCursor && hasInvalidatedPaintBuffers())) {
        // Size or layers changed: everything is redrawn and the whole plot repainted.
        replot(rpQueuedRefresh);
        ++nFull;
    } else if (dirtyCursor) {
        // The layer's own redraw would repaint the whole plot; only the cursor's old and new
        // pixels need it.
        setAttribute(Qt::WA_UpdatesDisabled, true);
        cursorLayer->replot();
        setAttribute(Qt::WA_UpdatesDisabled, false);
        update(cursorTrail + cursorArea());
        ++nCursor;
    }
    dirtyAll = dirtyCursor = false;
    cursorTrail = QRegion();
}

void LivePlot::paintEvent(QPaintEvent *e)
{
    // A cursor move repaints a few thin bands. Painted one rectangle at a time, every layer is a
    // plain rectangular copy; a clip of several rectangles would take the raster engine's much
    // slower per-line path, spread over helper threads.
    const QRegion &region = e->region();
    if (region.rectCount() <= 1) {
        QCustomPlot::paintEvent(e);
        return;
    }
    QCPPainter painter(this);
    if (!painter.isActive())
        return;
    for (const QRect &r : region) {
        painter.setClipRect(r);
        if (mBackgroundBrush.style() != Qt::NoBrush)
            painter.fillRect(mViewport & r, mBackgroundBrush);
        drawBackground(&painter);
        for (const QSharedPointer<QCPAbstractPaintBuffer> &buffer : mPaintBuffers)
            buffer->draw(&painter);
    }
}

void LivePlot::noteCursorLeaving()
{
    if (!isVisible())
        return;
    // Many moves before one draw: past a few pieces the whole plot is cheaper to track.
    cursorTrail = cursorTrail.rectCount() > 16 ? QRegion(rect()) : cursorTrail + cursorArea();
}

void LivePlot::showEvent(QShowEvent *e)
{
    QCustomPlot::showEvent(e);
    // Whatever changed while hidden is drawn now, in one go.
    dirtyAll = true;
    refresh();
}

void LivePlot::hideEvent(QHideEvent *e)
{
    QCustomPlot::hideEvent(e);
    if (scheduled) {
        pendingPlots().removeOne(this);
        scheduled = false;
    }
}

// ---- PlaneGraph ---------------------------------------------------------------------------

PlaneGraph::PlaneGraph(const QString &objectName, QWidget *parent) : LivePlot(objectName, parent)
{
    cursor = new QCPItemTracer(this);
    cursor->setLayer(cursorLayer);
    cursor->setStyle(QCPItemTracer::tsCrosshair);
    cursor->setPen(QPen(Qt::black, 1));
    cursor->position->setType(QCPItemPosition::ptPlotCoords);
    cursor->position->setCoords(0, 0);
}

void PlaneGraph::clearPlots()
{
    clearGraphs();
    for (int i = itemCount() - 1; i >= 0; --i) {
        if (item(i) != cursor)
            removeItem(i);
    }
    nCircles = nRects = 0;
    markChanged();
}

void PlaneGraph::addLine(const int16_t *x, const int16_t *y, int n, QColor color)
{
    QVector<QCPGraphData> pts(n);
    for (int i = 0; i < n; ++i)
        pts[i] = QCPGraphData(x[i], y[i]);
    QCPGraph *g = addGraph();
    g->setPen(QPen(color, 1));
    g->setAdaptiveSampling(true);
    g->data()->set(pts, false);
    markChanged();
}

void PlaneGraph::addCircle(int cx, int cy, int t, QColor color, int outlines)
{
    CircleBox boxes[3];
    const int n = CircleOutlines(cx, cy, t, outlines, boxes);
    for (int i = 0; i < n; ++i) {
        auto *e = new QCPItemEllipse(this);
        e->topLeft->setCoords(boxes[i].x1, boxes[i].y2);
        e->bottomRight->setCoords(boxes[i].x2, boxes[i].y1);
        e->setPen(QPen(color, 1));
        e->setBrush(Qt::NoBrush);
        e->setSelectable(false);
        ++nCircles;
    }
    markChanged();
}

void PlaneGraph::addRect(double x1, double y1, double x2, double y2, QColor color)
{
    auto *r = new QCPItemRect(this);
    r->topLeft->setCoords(x1, y2);
    r->bottomRight->setCoords(x2, y1);
    r->setPen(QPen(color, 1));
    r->setBrush(QBrush(color));
    r->setSelectable(false);
    ++nRects;
    markChanged();
}

void PlaneGraph::setCursorPos(double x, double y)
{
    if (cursor->position->coords() == QPointF(x, y))
        return;
    noteCursorLeaving();
    cursor->position->setCoords(x, y);
    markCursorMoved();
}

QPointF PlaneGraph::cursorPos() const { return cursor->position->coords(); }

QRegion PlaneGraph::cursorArea() const
{
    const QRect box = axisRect()->rect();
    const QPointF c = cursor->position->pixelPosition();
    const int x = qFloor(c.x()), y = qFloor(c.y());
    QRegion r(QRect(box.left() - 2, y - 2, box.width() + 4, 5));
    r += QRect(x - 2, box.top() - 2, 5, box.height() + 4);
    return r & rect();
}

bool PlaneGraph::ellipseAt(int i, CircleBox *box, QColor *color) const
{
    int seen = 0;
    for (int j = 0; j < itemCount(); ++j) {
        auto *e = qobject_cast<QCPItemEllipse *>(item(j));
        if (!e || seen++ != i)
            continue;
        const QPointF tl = e->topLeft->coords(), br = e->bottomRight->coords();
        *box = {tl.x(), br.y(), br.x(), tl.y()};
        *color = e->pen().color();
        return true;
    }
    return false;
}

bool PlaneGraph::rectAt(int i, CircleBox *box, QColor *color) const
{
    int seen = 0;
    for (int j = 0; j < itemCount(); ++j) {
        auto *r = qobject_cast<QCPItemRect *>(item(j));
        if (!r || seen++ != i)
            continue;
        const QPointF tl = r->topLeft->coords(), br = r->bottomRight->coords();
        *box = {tl.x(), br.y(), br.x(), tl.y()};
        *color = r->brush().color();
        return true;
    }
    return false;
}

// ---- StripChart ---------------------------------------------------------------------------

StripChart::StripChart(const QString &objectName, const QColor colors[stripTraces],
                       QWidget *parent)
    : LivePlot(objectName, parent)
{
    xAxis->setRange(0, stripPointsPerScreen - 1);
    // The points exist once; every frame only their values are overwritten.
    QVector<QCPGraphData> zeros(stripSamples);
    for (int k = 0; k < stripSamples; ++k)
        zeros[k] = QCPGraphData(k, 0.0);
    for (int j = 0; j < stripTraces; ++j) {
        traces[j] = addGraph();
        traces[j]->setLayer(cursorLayer);
        traces[j]->setPen(QPen(colors[j], 1));
        traces[j]->setAdaptiveSampling(false);
        traces[j]->data()->set(zeros, true);
    }
}

void StripChart::plotInterleaved(const double *buf)
{
    for (int j = 0; j < stripTraces; ++j) {
        auto it = traces[j]->data()->begin();
        for (int k = 0; k < stripSamples; ++k, ++it)
            it->value = buf[stripTraces * k + j];
    }
    markCursorMoved();
}

double StripChart::value(int trace, int sample) const
{
    return traces[trace]->data()->at(sample)->value;
}

} // namespace tintra
