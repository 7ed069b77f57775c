#include "liveplot.h"

#include "core/display/paintpace.h"

#include <QPaintEvent>
#include <QTimer>
#include <QtMath>
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <utility>

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

// A layer buffer of a live plot. Three of them, bottom to top: the layers below the cursor
// (filled with the plot's background colour instead of transparent, so the buffer stays opaque),
// the cursor layer (each redraw starts from a copy of the bottom buffer), and the layers above
// (transparent, as usual; the part of it that holds pixels is found once per redraw).
class LayerBuffer : public QCPPaintBufferPixmap {
public:
    enum Role { Bottom, OnBottom, Top };
    LayerBuffer(Role role, const LayerBuffer *bottom, std::function<QColor()> background)
        : QCPPaintBufferPixmap(QSize(1, 1), 1.0), role(role), bottom(bottom),
          background(std::move(background))
    {
    }

    QCPPainter *startPainting() override
    {
        if (direct)
            return new QCPPainter(direct);
        if (idle) {
            // Nothing is drawn (the layer is hidden meanwhile): the buffer stays out of date,
            // to be filled from the bottom when next painted on.
            static QImage nowhere(1, 1, QImage::Format_ARGB32_Premultiplied);
            return new QCPPainter(&nowhere);
        }
        takeBottom();
        return QCPPaintBufferPixmap::startPainting();
    }
    void donePainting() override { holeKnown = false; }
    void clear(const QColor &color) override
    {
        if (direct)
            return;
        holeKnown = false;
        if (role == OnBottom) {
            baseDue = true; // the bottom buffer may not be drawn yet: copied when painting starts
            return;
        }
        ++generation;
        mBuffer.fill(role == Bottom ? background() : color);
    }
    // While set, the layer is drawn straight onto `device` (the widget being painted) instead of
    // into this buffer, which is then out of date.
    void drawDirectlyOn(QPaintDevice *device) { direct = device; }
    // While set, a redraw leaves the buffer as it is (its layer is not wanted now).
    void setIdle(bool on) { idle = on; }
    // The next redraw of the cursor layer restores only `area` from the bottom buffer, when the
    // bottom has not changed since it was copied: the old cursor lies within it.
    void restoreOnly(const QRegion &area) { restoreArea = area; }
    void draw(QCPPainter *painter) const override
    {
        takeBottom();
        QCPPaintBufferPixmap::draw(painter);
    }

    const QPixmap &pixmap() const
    {
        takeBottom();
        return mBuffer;
    }
    bool opaque() const { return !mBuffer.hasAlphaChannel(); }
    quint64 redraws() const { return generation; } // of a bottom or top buffer

    // The largest transparent rectangle around `seed` (empty when the seed has pixels), found
    // again after every redraw of the buffer.
    QRect hole(const QRect &seed) const
    {
        if (holeKnown && seedUsed == seed)
            return holeRect;
        holeKnown = true;
        seedUsed = seed;
        holeRect = TransparentAround(mBuffer.toImage(), seed);
        return holeRect;
    }

private:
    void takeBottom() const
    {
        if (!baseDue)
            return;
        baseDue = false;
        auto &buffer = const_cast<QPixmap &>(mBuffer);
        const QRegion area = std::exchange(restoreArea, QRegion());
        if (bottom->mBuffer.hasAlphaChannel() || bottom->mBuffer.size() != buffer.size()) {
            buffer.fill(Qt::transparent); // no opaque picture below: an ordinary layer buffer
            copied = 0;
        } else if (copied == bottom->generation && !area.isEmpty() && !buffer.hasAlphaChannel()) {
            QPainter p(&buffer);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            for (const QRect &r : area)
                p.drawPixmap(r.topLeft(), bottom->mBuffer, r);
        } else {
            buffer = bottom->mBuffer; // shared until painted on: a painter copies it then
            copied = bottom->generation;
        }
    }

    static bool Clear(const QImage &img, const QRect &r)
    {
        // The alpha bytes of a row gathered at once (a loop the compiler runs many pixels wide).
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const auto *line = reinterpret_cast<const quint32 *>(img.constScanLine(y));
            quint32 alpha = 0;
            for (int x = r.left(); x <= r.right(); ++x)
                alpha |= line[x];
            if (alpha >> 24)
                return false;
        }
        return true;
    }

    static QRect TransparentAround(const QImage &img, const QRect &seed)
    {
        if (img.format() != QImage::Format_ARGB32_Premultiplied)
            return {};
        QRect r = seed & img.rect();
        if (r.isEmpty() || !Clear(img, r))
            return {};
        // Grow side by side while the new row or column is transparent.
        for (bool grown = true; grown;) {
            grown = false;
            const QRect steps[4] = {r.adjusted(0, -1, 0, -r.height()), r.adjusted(0, r.height(), 0, 1),
                                    r.adjusted(-1, 0, -r.width(), 0), r.adjusted(r.width(), 0, 1, 0)};
            const QRect grownTo[4] = {r.adjusted(0, -1, 0, 0), r.adjusted(0, 0, 0, 1),
                                      r.adjusted(-1, 0, 0, 0), r.adjusted(0, 0, 1, 0)};
            for (int i = 0; i < 4; ++i) {
                if (img.rect().contains(steps[i]) && Clear(img, steps[i])) {
                    r = grownTo[i];
                    grown = true;
                    break;
                }
            }
        }
        return r;
    }

    const Role role;
    const LayerBuffer *const bottom;
    const std::function<QColor()> background; // the plot's, when one opaque colour
    QPaintDevice *direct = nullptr;
    bool idle = false;
    mutable bool baseDue = false;
    mutable QRegion restoreArea;
    quint64 generation = 0;      // of a bottom or top buffer: counts its redraws
    mutable quint64 copied = 0;  // the bottom's generation this buffer was copied from
    mutable bool holeKnown = false;
    mutable QRect seedUsed, holeRect;
};

// A strip chart's trace. QCustomPlot draws a plain line plot one segment per painter call;
// here the same segments (the same rounding to whole pixels, one cosmetic pen) go to the painter
// in one call. Anything else (antialiasing, export, other pens) is drawn by QCPGraph itself.
class StripTrace : public QCPGraph {
public:
    using QCPGraph::QCPGraph;

protected:
    void drawLinePlot(QCPPainter *painter, const QVector<QPointF> &points) const override
    {
        const QPen pen = painter->pen();
        if (pen.style() == Qt::NoPen || pen.color().alpha() == 0)
            return;
        applyDefaultAntialiasingHint(painter);
        if (painter->antialiasing() || pen.style() != Qt::SolidLine ||
            !mParentPlot->plottingHints().testFlag(QCP::phFastPolylines) ||
            painter->modes() & (QCPPainter::pmVectorized | QCPPainter::pmNoCaching)) {
            QCPGraph::drawLinePlot(painter, points);
            return;
        }
        if (qFuzzyCompare(pen.widthF(), 1.0)) {
            QPen cosmetic = pen;
            cosmetic.setWidth(0);
            painter->setPen(cosmetic);
        }
        segments.clear();
        for (int i = 1; i < points.size(); ++i) {
            const QPointF &a = points.at(i - 1), &b = points.at(i);
            if (!qIsNaN(a.x()) && !qIsNaN(a.y()) && !qIsNaN(b.x()) && !qIsNaN(b.y()))
                segments.append(QLineF(a, b).toLine());
        }
        static_cast<QPainter *>(painter)->drawLines(segments);
    }

private:
    mutable QVector<QLine> segments; // kept: no allocation per frame
};

} // namespace

LivePlot::LivePlot(const QString &objectName, QWidget *parent) : QCustomPlot(parent)
{
    setObjectName(objectName);
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_OpaquePaintEvent); // the background brush or buffer covers every pixel
    setNoAntialiasingOnDrag(true);
    // Hot plots: plain lines, no antialiasing.
    setNotAntialiasedElements(QCP::aeAll);
    setPlottingHint(QCP::phFastPolylines, true);
    pendingPlots().reserve(16);
    xAxis->setRange(0, 4096);
    yAxis->setRange(0, 4096);
    mainRect = QCustomPlot::axisRect();
    axisRect()->setupFullAxesBox(false);
    addLayer(QStringLiteral("cursor"), layer(QStringLiteral("main")), limAbove);
    cursorLayer = layer(QStringLiteral("cursor"));
    cursorLayer->setMode(QCPLayer::lmBuffered);
    setCurrentLayer(QStringLiteral("main"));
    // The overlay layer (a selection rectangle, unused here) needs no buffer of its own.
    if (QCPLayer *overlay = layer(QStringLiteral("overlay")))
        overlay->setMode(QCPLayer::lmLogical);
    // Below the cursor, the cursor layer, above it: one buffer each (see LayerBuffer). The next
    // redraw sizes, clears and assigns them.
    const auto background = [this] {
        const QBrush &b = mBackgroundBrush;
        return mBackgroundPixmap.isNull() && b.style() == Qt::SolidPattern && b.color().alpha() == 255
                   ? b.color()
                   : QColor(Qt::transparent);
    };
    auto *bottom = new LayerBuffer(LayerBuffer::Bottom, nullptr, background);
    mPaintBuffers.clear();
    mPaintBuffers.append(QSharedPointer<QCPAbstractPaintBuffer>(bottom));
    mPaintBuffers.append(QSharedPointer<QCPAbstractPaintBuffer>(
        new LayerBuffer(LayerBuffer::OnBottom, bottom, background)));
    mPaintBuffers.append(QSharedPointer<QCPAbstractPaintBuffer>(
        new LayerBuffer(LayerBuffer::Top, nullptr, background)));
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
    // Soon, even if the timer waits for another plot's window (see drawPending).
    if (!drawTimer().isActive() || drawTimer().remainingTime() > 1)
        drawTimer().start(1);
}

int LivePlot::pendingDraws() { return int(pendingPlots().size()); }

void LivePlot::drawPending(bool later)
{
    drawTimer().stop(); // called directly: the timer has nothing left to do
    QList<LivePlot *> &list = pendingPlots();
    // A plot whose window will not be repainted yet waits: it is drawn once, for all its changes
    // meanwhile, before that repaint. A plot drawn here may process events; take the list
    // entries one by one.
    double soonest = -1;
    for (qsizetype i = 0; i < list.size();) {
        LivePlot *p = list.at(i);
        const double wait = p->dirtyAll ? 0.0 : MsUntilRepaint(p->window());
        if (wait > 0) {
            soonest = soonest < 0 ? wait : std::min(soonest, wait);
            ++i;
            continue;
        }
        list.removeAt(i);
        p->scheduled = false;
        p->draw();
    }
    if (soonest >= 0 && later)
        drawTimer().start(int(std::ceil(soonest)));
}

QCPAxisRect *LivePlot::axisRect(int index) const
{
    return index == 0 && mainRect ? mainRect.data() : QCustomPlot::axisRect(index);
}

void LivePlot::draw()
{
    if (!isVisible())
        return; // drawn when shown
    if (dirtyAll || (dirtyCursor && hasInvalidatedPaintBuffers())) {
        // Size or layers changed: everything is redrawn and the whole plot repainted. A plot
        // whose last paint drew its lines itself leaves the cursor layer undrawn: redrawn from
        // the bottom when a paint needs it after all.
        auto *onBelow = mPaintBuffers.size() == 3
                            ? dynamic_cast<LayerBuffer *>(mPaintBuffers.at(1).data())
                            : nullptr;
        const bool skipCursor = composing && onBelow && cursorLayer->visible();
        if (skipCursor) {
            onBelow->setIdle(true);
            cursorLayer->setVisible(false);
        }
        replot(rpQueuedRefresh);
        if (skipCursor) {
            cursorLayer->setVisible(true);
            onBelow->setIdle(false);
        }
        cursorDue = skipCursor;
        restoreDue = QRegion();
        ++nFull;
    } else if (dirtyCursor) {
        // Only the cursor's old and new pixels are repainted. The layer itself is redrawn when
        // the repaint comes (the window repaints at most once per screen refresh, so frames in
        // between cost no drawing); the old cursor (a cross-hair's lines, or traces inside the
        // plotting area) is then wiped by restoring its pixels from the picture below.
        restoreDue += cursorTrail.isEmpty()
                          ? QRegion(axisRect()->rect().adjusted(-2, -2, 2, 2)) & rect()
                          : cursorTrail;
        if (restoreDue.rectCount() > 64) // many moves without a paint (a covered window)
            restoreDue = rect();
        cursorDue = true;
        update(cursorTrail + cursorArea());
        ++nCursor;
    }
    dirtyAll = dirtyCursor = false;
    cursorTrail = QRegion();
    cursorAreaTaken();
}

void LivePlot::drawCursorLayer()
{
    if (!cursorDue || hasInvalidatedPaintBuffers())
        return;
    cursorDue = false;
    if (auto *picture = mPaintBuffers.size() == 3
                            ? dynamic_cast<LayerBuffer *>(mPaintBuffers.at(1).data())
                            : nullptr)
        picture->restoreOnly(restoreDue);
    restoreDue = QRegion();
    // The layer's own redraw asks for a repaint of the whole plot: not wanted while painting.
    const bool wasDisabled = testAttribute(Qt::WA_UpdatesDisabled);
    setAttribute(Qt::WA_UpdatesDisabled, true);
    cursorLayer->replot();
    setAttribute(Qt::WA_UpdatesDisabled, wasDisabled);
}

bool LivePlot::paintOpaque(const QRegion &region)
{
    if (mPaintBuffers.size() != 3 || !qFuzzyCompare(mBufferDevicePixelRatio, 1.0) ||
        !qFuzzyCompare(devicePixelRatioF(), 1.0) || mViewport != rect() ||
        hasInvalidatedPaintBuffers())
        return false;
    const auto *below = dynamic_cast<const LayerBuffer *>(mPaintBuffers.at(0).data());
    auto *onBelow = dynamic_cast<LayerBuffer *>(mPaintBuffers.at(1).data());
    const auto *top = dynamic_cast<const LayerBuffer *>(mPaintBuffers.at(2).data());
    if (!below || !onBelow || !top || !below->opaque() || below->pixmap().size() != size())
        return false;
    // Traces and cross-hairs the plot draws itself: the composed picture and their pixels.
    if (paintComposed(region)) {
        composing = true;
        cursorDue = true; // the layer's own buffer is out of date
        restoreDue = rect();
        return true;
    }
    // Otherwise, one rectangle (a strip chart's plotting area, a whole plot): the picture below
    // is copied and the cursor layer drawn straight onto the plot, without a copy of its own.
    // Several (a cross-hair's old and new bands): drawn through a clip of several rectangles,
    // the lines would take the raster engine's slow path, so the layer is drawn in its own
    // buffer, where only the old cursor's pixels are restored, and the bands are copied from
    // there.
    const bool direct = region.rectCount() == 1;
    if (!direct) {
        drawCursorLayer();
        if (!onBelow->opaque() || onBelow->pixmap().size() != size())
            return false;
    }
    const QPixmap &picture = direct ? below->pixmap() : onBelow->pixmap();
    {
        QPainter painter(this);
        if (!painter.isActive())
            return false;
        for (const QRect &r : region)
            painter.drawPixmap(r.topLeft(), picture, r);
    }
    if (direct) {
        // The layer's buffer is left behind: redrawn whole should a paint need it again.
        onBelow->drawDirectlyOn(this);
        const bool wasDisabled = testAttribute(Qt::WA_UpdatesDisabled);
        setAttribute(Qt::WA_UpdatesDisabled, true); // the layer's redraw asks for a repaint
        cursorLayer->replot();
        setAttribute(Qt::WA_UpdatesDisabled, wasDisabled);
        onBelow->drawDirectlyOn(nullptr);
        cursorDue = true;
        restoreDue = rect();
    }
    // The axes layer outside its transparent middle: four bands at most.
    QPainter painter(this);
    const QRect hole = top->hole(axisRect()->rect().adjusted(8, 8, -8, -8));
    if (hole.isEmpty()) {
        for (const QRect &r : region)
            painter.drawPixmap(r.topLeft(), top->pixmap(), r);
        return true;
    }
    const QRect bands[4] = {QRect(QPoint(0, 0), QPoint(width() - 1, hole.top() - 1)),
                            QRect(QPoint(0, hole.bottom() + 1), QPoint(width() - 1, height() - 1)),
                            QRect(QPoint(0, hole.top()), QPoint(hole.left() - 1, hole.bottom())),
                            QRect(QPoint(hole.right() + 1, hole.top()),
                                  QPoint(width() - 1, hole.bottom()))};
    for (const QRect &r : region)
        for (const QRect &band : bands) {
            const QRect part = band & r;
            if (!part.isEmpty())
                painter.drawPixmap(part.topLeft(), top->pixmap(), part);
        }
    return true;
}

bool LivePlot::paintComposed(const QRegion &region)
{
    const auto *below = dynamic_cast<const LayerBuffer *>(mPaintBuffers.at(0).data());
    const auto *top = dynamic_cast<const LayerBuffer *>(mPaintBuffers.at(2).data());
    if (!linesReady())
        return false;
    const QImage over = top->pixmap().toImage(); // shares the buffer's pixels
    if (over.format() != QImage::Format_ARGB32_Premultiplied || over.size() != size())
        return false;
    // The picture below with the layers above over it, composed again only when one of them
    // was redrawn (new ranges, a new size): the lines are drawn beneath what lies above.
    const quint64 from[2] = {below->redraws(), top->redraws()};
    if (composed.size() != size() || from[0] != composedFrom[0] || from[1] != composedFrom[1]) {
        composed = below->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        QPainter p(&composed);
        p.drawImage(0, 0, over);
        composedFrom[0] = from[0];
        composedFrom[1] = from[1];
    }
    // The lines go straight into the window's picture, at the plot's place in it, within the
    // clip the window set for this paint. While the window paints its widgets, the picture is
    // known without starting a painter (which costs more than a small repaint): otherwise (a
    // grab, a painter shared with a parent) the painter says where its pixels go.
    QPoint back;
    QPaintDevice *device = sharedPainter() ? nullptr : redirected(&back);
    QPoint offset = -back;
    std::optional<QPainter> painter;
    if (!device || device->devType() != QInternal::Image) {
        painter.emplace(this);
        QPaintEngine *engine = painter->paintEngine();
        device = engine ? engine->paintDevice() : nullptr;
        const QTransform t = painter->deviceTransform();
        if (!painter->isActive() || t.type() > QTransform::TxTranslate)
            return false;
        offset = QPoint(qRound(t.dx()), qRound(t.dy()));
    }
    QPaintEngine *engine = device ? device->paintEngine() : nullptr;
    if (!engine || device->devType() != QInternal::Image)
        return false;
    auto *target = static_cast<QImage *>(device);
    if (!target->isDetached() || !qFuzzyCompare(target->devicePixelRatio(), 1.0) ||
        !ThinLines(*target, QPoint(), QRect(), &over).usable())
        return false;
    QRegion clips = region & axisRect()->rect(); // where the plot clips its graphs and items
    const QRegion system = engine->systemClip();
    if (!system.isEmpty())
        clips &= system.translated(-offset);
    // One rectangle at a time: a copy each (within the painter's clip), then the lines clipped
    // to it.
    const QRegion copies = system.isEmpty() ? region : region & system.translated(-offset);
    for (const QRect &r : copies)
        CopyOpaque(*target, offset, composed, r);
    // Inside the axes' transparent middle the lines need not look at the layer above.
    const QRect clear = top->hole(axisRect()->rect().adjusted(8, 8, -8, -8));
    for (const QRect &c : clips) {
        ThinLines lines(*target, offset, c, &over);
        lines.setClearArea(clear);
        drawLines(lines);
    }
    ++nComposed;
    return true;
}

void LivePlot::paintEvent(QPaintEvent *e)
{
    // A cursor move repaints a few thin bands. Copied one rectangle at a time, the layers are
    // plain rectangular copies; a clip of several rectangles would take the raster engine's much
    // slower per-line path, spread over helper threads.
    const QRegion &region = e->region();
    composing = false;
    if (paintOpaque(region))
        return;
    drawCursorLayer();
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
    cursorTrail = cursorTrail.rectCount() > 64 ? QRegion(rect()) : cursorTrail + cursorArea();
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

bool PlaneGraph::linesReady()
{
    // The layer holds just the cross-hair, a thin opaque solid pen clipped to the plotting area,
    // drawn as the tracer draws it: whole-pixel lines across the area through the rounded
    // position, each only while the position lies strictly inside the area.
    const QList<QCPLayerable *> onLayer = cursorLayer->children();
    const QPen pen = cursor->pen();
    if (onLayer.size() != 1 || onLayer.first() != cursor || !cursorLayer->visible() ||
        !cursor->realVisibility() || cursor->style() != QCPItemTracer::tsCrosshair ||
        cursor->selected() || cursor->graph() || !cursor->clipToAxisRect() ||
        cursor->clipAxisRect() != axisRect() ||
        !notAntialiasedElements().testFlag(QCP::aeItems) || pen.style() != Qt::SolidLine ||
        pen.color().alpha() != 255 || (pen.widthF() != 0 && pen.widthF() != 1))
        return false;
    const QRect box = axisRect()->rect();
    const QPointF c = cursor->position->pixelPosition();
    if (!qIsFinite(c.x()) || !qIsFinite(c.y()))
        return false;
    crossColour = pen.color().rgba();
    nCrossLines = 0;
    if (c.y() > box.top() && c.y() < box.bottom())
        crossLines[nCrossLines++] = QLine(box.left(), qRound(c.y()), box.right(), qRound(c.y()));
    if (c.x() > box.left() && c.x() < box.right())
        crossLines[nCrossLines++] = QLine(qRound(c.x()), box.top(), qRound(c.x()), box.bottom());
    return true;
}

void PlaneGraph::drawLines(ThinLines &lines)
{
    for (int i = 0; i < nCrossLines; ++i)
        lines.draw(crossLines[i], crossColour);
}

QRegion PlaneGraph::cursorArea() const
{
    // A line lies on the pixel its position rounds to (drawn by the plot or by the tracer):
    // the pixel the position falls in or the next one; a band of three holds both. Asked twice
    // per move (where the cross-hair leaves, where the redraw finds it), so the last band pair
    // is kept.
    const QRect box = axisRect()->rect();
    const QPointF c = cursor->position->pixelPosition();
    const QPoint at(qFloor(c.x()), qFloor(c.y()));
    if (box == areaBox && at == areaAt && size() == areaSize)
        return area;
    const QRect cross[2] = {QRect(box.left() - 2, at.y() - 1, box.width() + 4, 3) & rect(),
                            QRect(at.x() - 1, box.top() - 2, 3, box.height() + 4) & rect()};
    area = RegionOfBoxes(cross);
    areaBox = box;
    areaAt = at;
    areaSize = size();
    return area;
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
    cursorAreaTaken(); // nothing to repaint yet
    for (auto &runs : shownSpan)
        std::fill(std::begin(runs), std::end(runs), Span{0, 0}); // the traces start at zero
    xAxis->setRange(0, stripPointsPerScreen - 1);
    // The points exist once; every frame only their values are overwritten.
    QVector<QCPGraphData> zeros(stripSamples);
    for (int k = 0; k < stripSamples; ++k)
        zeros[k] = QCPGraphData(k, 0.0);
    for (int j = 0; j < stripTraces; ++j) {
        traces[j] = new StripTrace(xAxis, yAxis);
        traces[j]->setLayer(cursorLayer);
        traces[j]->setPen(QPen(colors[j], 1));
        traces[j]->setAdaptiveSampling(false);
        traces[j]->data()->set(zeros, true);
    }
}

void StripChart::plotInterleaved(const double *buf)
{
    // Where each trace is now and was before, per run of samples (see cursorArea).
    for (int r = 0; r < spanRuns; ++r) {
        const int a = std::max(0, r * spanRun - 1), b = std::min((r + 1) * spanRun, stripSamples - 1);
        for (int j = 0; j < stripTraces; ++j) {
            double lo = qInf(), hi = -qInf();
            for (int k = a; k <= b; ++k) {
                lo = std::min(lo, buf[stripTraces * k + j]);
                hi = std::max(hi, buf[stripTraces * k + j]);
            }
            Span &due = dueSpan[j][r], &shown = shownSpan[j][r];
            due.lo = std::min({due.lo, shown.lo, lo});
            due.hi = std::max({due.hi, shown.hi, hi});
            shown = {lo, hi};
        }
    }
    for (int j = 0; j < stripTraces; ++j) {
        auto it = traces[j]->data()->begin();
        for (int k = 0; k < stripSamples; ++k, ++it)
            it->value = buf[stripTraces * k + j];
    }
    markCursorMoved();
}

QRegion StripChart::cursorArea() const
{
    // Per run of samples and trace, a box: the columns from the run's first sample to the next
    // run's, and the rows between the trace's lowest and highest value from the sample before
    // the run to the next run's first (so its segments reaching into the run's columns lie
    // within), with a pixel to spare beyond the rows they round to. Traces apart from each
    // other leave the rows between them alone; boxes of one run that overlap or touch are
    // joined.
    const QRect box = axisRect()->rect() & rect();
    QVarLengthArray<QRect, 4 * spanRuns> boxes;
    for (int r = 0; r < spanRuns; ++r) {
        const int left = r == 0 ? box.left()
                                : std::max(box.left(), qRound(xAxis->coordToPixel(r * spanRun)) - 2);
        const int right =
            r + 1 == spanRuns ? box.right()
                              : std::min(box.right(), qRound(xAxis->coordToPixel((r + 1) * spanRun)) - 3);
        if (left > right)
            continue;
        std::array<std::pair<int, int>, stripTraces> rows;
        int n = 0;
        for (int j = 0; j < stripTraces; ++j) {
            const Span &due = dueSpan[j][r];
            if (!(due.lo <= due.hi))
                continue; // nothing moved there
            const double y1 = yAxis->coordToPixel(due.lo), y2 = yAxis->coordToPixel(due.hi);
            if (!std::isfinite(y1) || !std::isfinite(y2) ||
                std::max(std::abs(y1), std::abs(y2)) > 1e6)
                return box; // nothing sensible to bound: the whole plotting area
            const int top = std::max(box.top(), qFloor(std::min(y1, y2)) - 1);
            const int bottom = std::min(box.bottom(), qCeil(std::max(y1, y2)) + 1);
            if (top <= bottom)
                rows[n++] = {top, bottom};
        }
        for (int i = 1; i < n; ++i) // top to bottom (three at most)
            for (int k = i; k > 0 && rows[k] < rows[k - 1]; --k)
                std::swap(rows[k], rows[k - 1]);
        const qsizetype first = boxes.size();
        for (int i = 0; i < n; ++i) {
            if (boxes.size() > first && boxes.back().bottom() + 1 >= rows[i].first)
                boxes.back().setBottom(std::max(boxes.back().bottom(), rows[i].second));
            else
                boxes.append(QRect(QPoint(left, rows[i].first), QPoint(right, rows[i].second)));
        }
    }
    return RegionOfColumns(std::span<const QRect>(boxes.constData(), size_t(boxes.size())));
}

void StripChart::cursorAreaTaken()
{
    for (auto &runs : dueSpan)
        std::fill(std::begin(runs), std::end(runs), Span{});
}

bool StripChart::linesReady()
{
    // The layer holds just the traces, each a plain line of one opaque, solid, thin pen, every
    // sample in the horizontal range: as drawn by StripTrace, one segment per pair of samples.
    const QList<QCPLayerable *> onLayer = cursorLayer->children();
    if (onLayer.size() != stripTraces || !cursorLayer->visible() ||
        !notAntialiasedElements().testFlag(QCP::aePlottables) ||
        !plottingHints().testFlag(QCP::phFastPolylines) || xAxis->range().lower > 0 ||
        xAxis->range().upper < stripSamples - 1)
        return false;
    pointsKnown = false;
    const QRect bounds = rect();
    const double left = bounds.left(), right = bounds.right(), top = bounds.top(),
                 bottom = bounds.bottom();
    const ValueToPixel toY(yAxis);
    double xAt[stripSamples]; // keys are the sample numbers
    for (int k = 0; k < stripSamples; ++k)
        xAt[k] = xAxis->coordToPixel(k);
    for (int j = 0; j < stripTraces; ++j) {
        auto *g = qobject_cast<QCPGraph *>(onLayer.at(j));
        const QPen pen = g ? g->pen() : QPen();
        if (!g || !g->realVisibility() || g->lineStyle() != QCPGraph::lsLine ||
            !g->scatterStyle().isNone() || g->brush().style() != Qt::NoBrush || g->selected() ||
            g->keyAxis() != xAxis || g->valueAxis() != yAxis || pen.style() != Qt::SolidLine ||
            pen.color().alpha() != 255 || (pen.widthF() != 0 && pen.widthF() != 1) ||
            g->data()->size() != stripSamples)
            return false;
        colours[j] = pen.color().rgba();
        QPoint *out = points[j].data();
        int k = 0; // the container holds stripSamples points, checked above
        for (const QCPGraphData &d : *g->data()) {
            const double x = d.key == k ? xAt[k] : xAxis->coordToPixel(d.key);
            const double y = toY(d.value);
            // Beyond the plot the raster engine would cut the line first: drawn the usual way.
            if (!(x >= left && x <= right && y >= top && y <= bottom))
                return false;
            out[k++] = QPoint(qRound(x), qRound(y));
        }
    }
    pointsKnown = true;
    return true;
}

void StripChart::drawLines(ThinLines &lines)
{
    // Only the segments reaching into the clip's columns (the samples' columns rise with k).
    const QRect clip = lines.clip();
    if (clip.isEmpty() || !pointsKnown)
        return;
    const auto &at = points[0];
    const auto from = std::lower_bound(at.begin(), at.end(), clip.left(),
                                       [](const QPoint &p, int x) { return p.x() < x; });
    const int first = std::max(1, int(from - at.begin()));
    for (int j = 0; j < stripTraces; ++j)
        for (int k = first; k < stripSamples && points[j][k - 1].x() <= clip.right(); ++k) {
            const QPoint &a = points[j][k - 1], &b = points[j][k];
            if (std::max(a.y(), b.y()) >= clip.top() && std::min(a.y(), b.y()) <= clip.bottom())
                lines.draw(QLine(a, b), colours[j]);
        }
}

StripChart::ValueToPixel::ValueToPixel(const QCPAxis *axis)
    : axis(axis), range(axis->range()),
      linear(axis->scaleType() == QCPAxis::stLinear && !axis->rangeReversed() &&
             axis->orientation() == Qt::Vertical),
      bottom(axis->coordToPixel(range.lower)), length(bottom - axis->coordToPixel(range.upper))
{
}

double StripChart::value(int trace, int sample) const
{
    return traces[trace]->data()->at(sample)->value;
}

} // namespace tintra
