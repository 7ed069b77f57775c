// The plot widgets and the graph operations on real widgets (offscreen): what is drawn, the
// fixed ranges per calculation mode, the zoom and cursors per frame, and that a frame redraws a
// plot at most once and never a hidden one.
#include "core/graphs/dispnames.h"
#include "core/display/paintpace.h"
#include "core/graphs/graphs.h"
#include "core/graphs/thinline.h"
#include "link/paraimage.h"
#include "link/state.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QtTest>
#include <cmath>
#include <algorithm>

using namespace tintra;

// Collects the regions a widget is asked to paint.
class PaintSpy : public QObject {
public:
    QList<QRegion> paints;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            paints.append(static_cast<QPaintEvent *>(e)->region());
        return false;
    }
};

class TestLivePlot : public QObject {
    Q_OBJECT

    QWidget *area = nullptr;
    QWidget *sides = nullptr;

    // Lets the event loop run until the scheduled redraws (due about 1 ms later) are done.
    static void settle()
    {
        QCoreApplication::processEvents();
        QTRY_COMPARE_WITH_TIMEOUT(LivePlot::pendingDraws(), 0, 2000);
    }

    static void resetTable() { std::fill(std::begin(paraTeachTable), std::end(paraTeachTable), 1); }

private slots:
    void init()
    {
        area = new QWidget;
        sides = new QWidget;
        CreateGraphs(area, sides);
        area->resize(500, 800);
        sides->resize(600, 600);
        resetTable();
        std::fill(std::begin(rawbuf), std::end(rawbuf), 0.0);
        std::fill(std::begin(intbuf), std::end(intbuf), 0.0);
        paraCalcmode = 0;
    }
    void cleanup()
    {
        delete area;
        delete sides;
        QVERIFY(!datagraphs);
        QVERIFY(!sidesgraphs);
    }

    void hiddenPlotIsNotRedrawnUntilShown()
    {
        StripChart *c = datagraphs->GraphRGB;
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area));
        c->hide();
        settle();
        const int before = c->replotsDone();
        double buf[stripLen];
        for (int i = 0; i < stripLen; ++i)
            buf[i] = i;
        for (int f = 0; f < 5; ++f) {
            c->plotInterleaved(buf);
            c->refresh();
            settle();
        }
        QCOMPARE(c->replotsDone(), before);
        c->show();
        settle();
        QVERIFY(c->replotsDone() > before);
        QCOMPARE(c->value(0, 0), 0.0);
        QCOMPARE(c->value(1, 0), 1.0);
        QCOMPARE(c->value(2, 99), 299.0);
    }

    void oneRedrawPerPassAndCursorAlone()
    {
        PlaneGraph *g = datagraphs->GraphData2;
        for (QWidget *w : area->findChildren<LivePlot *>())
            w->setVisible(w == g);
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area));
        settle();
        int done = g->replotsDone();
        // Several changes in one pass: one redraw.
        g->setRanges({0, 100}, {0, 100});
        g->refresh();
        g->setRanges({0, 200}, {0, 200});
        g->refresh();
        settle();
        QCOMPARE(g->replotsDone(), done + 1);
        // Same ranges, cursor moved: only the cursor layer.
        done = g->replotsDone();
        const int cursorBefore = g->cursorReplots();
        g->setRanges({0, 200}, {0, 200});
        g->setCursorPos(50, 60);
        g->refresh();
        settle();
        QCOMPARE(g->replotsDone(), done);
        QCOMPARE(g->cursorReplots(), cursorBefore + 1);
        QCOMPARE(g->cursorPos(), QPointF(50, 60));
        // Nothing changed: nothing drawn.
        g->setCursorPos(50, 60);
        g->refresh();
        settle();
        QCOMPARE(g->replotsDone(), done);
        QCOMPARE(g->cursorReplots(), cursorBefore + 1);
    }

    // What a plot puts on screen after many frames of new values equals a whole redraw of it
    // (no cross-hair or trace of an earlier frame left behind), for a plane with a circle, a
    // rectangle and its cross-hair, and for a strip chart whose traces touch the frame.
    void screenEqualsFreshDrawing_data()
    {
        QTest::addColumn<bool>("strip");
        QTest::addColumn<bool>("smooth"); // slow traces: each repaint covers a few bands only
        QTest::newRow("plane, cross-hair moved") << false << false;
        QTest::newRow("strip chart, new samples") << true << false;
        QTest::newRow("strip chart, slow traces") << true << true;
    }
    void screenEqualsFreshDrawing()
    {
        QFETCH(bool, strip);
        QFETCH(bool, smooth);
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area));
        PlaneGraph *plane = datagraphs->GraphData1;
        StripChart *chart = datagraphs->GraphRGB;
        LivePlot *plot = strip ? static_cast<LivePlot *>(chart) : plane;
        plane->addCircle(2000, 2000, 300, Qt::red, 3);
        plane->addRect(100, 100, 600, 4096, Qt::blue);
        plot->refresh();
        settle();
        const int full = plot->replotsDone();
        double buf[stripLen];
        PaintSpy spy;
        for (int step = 0; step < 12; ++step) {
            if (step == 1) {
                // From here on only new samples: the paints due before are done first.
                QTRY_VERIFY(!PaintsWaiting());
                QCoreApplication::processEvents();
                chart->installEventFilter(&spy);
            }
            // Values reach the frame (0 and 4096) and cross the circle and the rectangle.
            for (int i = 0; i < stripLen; ++i)
                buf[i] = smooth ? 1000 + 1000 * (i % 3) + 150 * std::sin((i / 3 + step) / 6.0)
                                : (i * 977 + step * 1531) % 4097;
            chart->plotInterleaved(buf);
            chart->refresh();
            plane->setCursorPos(step % 3 ? step * 350 : 4096, step % 4 ? 4096 - step * 330 : 0);
            plane->refresh();
            settle();
        }
        // Last, a cross-hair between pixels: its lines lie on the pixels its position rounds to.
        const QPoint mid = plane->axisRect()->rect().center();
        plane->setCursorPos(plane->xAxis->pixelToCoord(mid.x() + 0.7),
                            plane->yAxis->pixelToCoord(mid.y() + 0.6));
        plane->refresh();
        settle();
        QCOMPARE(plot->replotsDone(), full); // new values and cursors only: no whole redraw
        if (strip && smooth) {
            // Traces apart from each other: the rows between them are left alone. (One paint
            // of the whole window, which a loaded machine may bring late, is let pass.)
            QVERIFY2(spy.paints.size() >= 5, qPrintable(QString::number(spy.paints.size())));
            int across = 0;
            for (const QRegion &painted : std::as_const(spy.paints)) {
                bool touched = false;
                for (const double between : {1500.0, 2500.0}) {
                    const int y = qRound(chart->yAxis->coordToPixel(between));
                    for (int x = chart->axisRect()->left(); x < chart->axisRect()->right(); x += 7)
                        touched = touched || painted.contains(QPoint(x, y));
                }
                across += touched;
            }
            QVERIFY2(across <= 1, qPrintable(QString::number(across)));
        }
        QVERIFY(plot->isVisible());
        QVERIFY(plot->paintsComposed() > 0); // the traces or cross-hair drawn by the plot itself
        const auto onScreen = [&] {
            return area->screen()->grabWindow(area->winId()).toImage()
                .convertToFormat(QImage::Format_RGB32)
                .copy(QRect(plot->mapTo(area, QPoint(0, 0)), plot->size()));
        };
        const QImage shown = onScreen();
        plot->replot(QCustomPlot::rpImmediateRefresh);
        QCOMPARE(plot->replotsDone(), full + 1);
        QCOMPARE(shown, plot->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // A widget lying over part of a chart keeps its pixels while the traces move under it: the
    // chart's repaint leaves out what the widget covers, and the chart draws its lines only
    // where it paints.
    void tracesStayUnderAWidgetAbove()
    {
        QWidget w;
        const QColor colours[stripTraces] = {Qt::red, Qt::darkGreen, Qt::blue};
        auto *chart = new StripChart(QStringLiteral("chart"), colours, &w);
        chart->setGeometry(0, 0, 420, 260);
        auto *cover = new QFrame(&w);
        cover->setAutoFillBackground(true);
        QPalette palette = cover->palette();
        palette.setColor(QPalette::Window, QColor(255, 0, 255));
        cover->setPalette(palette);
        w.resize(420, 260);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect box = chart->axisRect()->rect();
        cover->setGeometry(box.center().x() - 40, box.top() + 20, 80, box.height() - 40);
        cover->raise();
        double buf[stripLen];
        for (int step = 0; step < 8; ++step) {
            for (int i = 0; i < stripLen; ++i)
                buf[i] = (i * 977 + step * 1531) % 4097; // steep traces across the whole area
            chart->plotInterleaved(buf);
            chart->refresh();
            settle();
            QTRY_VERIFY(!PaintsWaiting());
            QCoreApplication::processEvents();
        }
        QVERIFY(chart->paintsComposed() > 0);
        const QImage shown = w.screen()->grabWindow(w.winId()).toImage()
                                 .convertToFormat(QImage::Format_RGB32).copy(cover->geometry());
        int other = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                other += shown.pixel(x, y) != qRgb(255, 0, 255);
        QCOMPARE(other, 0);
    }

    // A strip chart's traces look on screen exactly as a plain QCustomPlot, set up alike, draws
    // them with its own line graphs, buffers and paint path: drawn by the chart itself, or, for
    // traces reaching far beyond the plot, by the trace layer.
    void stripTracesLookLikePlainGraphs_data()
    {
        QTest::addColumn<bool>("beyond");
        QTest::newRow("within the plot") << false;
        QTest::newRow("far beyond the plot") << true;
    }
    void stripTracesLookLikePlainGraphs()
    {
        QFETCH(bool, beyond);
        QWidget w;
        auto *lay = new QHBoxLayout(&w);
        const QColor colours[stripTraces] = {Qt::red, Qt::darkGreen, Qt::blue};
        auto *chart = new StripChart(QStringLiteral("chart"), colours, &w);
        auto *plain = new QCustomPlot(&w);
        plain->setNotAntialiasedElements(QCP::aeAll);
        plain->setPlottingHint(QCP::phFastPolylines, true);
        plain->xAxis->setRange(0, 4096);
        plain->yAxis->setRange(0, 4096);
        plain->axisRect()->setupFullAxesBox(false);
        plain->xAxis->setRange(0, stripPointsPerScreen - 1);
        double buf[stripLen];
        // Values on the frame (0, 4096: under the axes and their ticks), a little beyond it (cut
        // at the plotting area), steep and flat runs, and half pixels that round.
        for (int i = 0; i < stripLen; ++i)
            buf[i] = i % 11 == 0   ? (i % 2) * 4096.0
                     : i % 13 == 5 ? (i % 2 ? 4300.0 : -200.0)
                                   : (i * 977) % 4097 + (i % 7 == 0 ? 0.5 : 0.0);
        double first[stripLen];
        std::copy(std::begin(buf), std::end(buf), std::begin(first));
        if (beyond)
            buf[40] = 90000, buf[41] = -50000;
        for (int j = 0; j < stripTraces; ++j) {
            QCPGraph *g = plain->addGraph();
            g->setPen(QPen(colours[j], 1));
            g->setAdaptiveSampling(false);
            for (int k = 0; k < stripSamples; ++k)
                g->addData(k, buf[stripTraces * k + j]);
        }
        chart->plotInterleaved(first);
        for (QCustomPlot *p : {static_cast<QCustomPlot *>(chart), plain}) {
            p->setFixedSize(420, 260);
            lay->addWidget(p);
        }
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        chart->replot();
        chart->plotInterleaved(first); // new samples: the traces alone are painted again
        chart->refresh();
        settle();
        QTRY_VERIFY(chart->paintsComposed() > 0);
        QTRY_VERIFY(!PaintsWaiting());
        QCoreApplication::processEvents();
        // A new range redraws the whole chart, while its traces were drawn by the chart itself;
        // then the last values, within the plot or not.
        const int composedBefore = chart->paintsComposed();
        chart->setRanges({0, stripPointsPerScreen - 1}, {-100, 4200});
        plain->yAxis->setRange(-100, 4200);
        plain->replot();
        chart->plotInterleaved(buf);
        chart->refresh();
        settle();
        if (beyond)
            QTest::qWait(50);
        else
            QTRY_VERIFY(chart->paintsComposed() > composedBefore);
        QCOMPARE(chart->paintsComposed() > composedBefore, !beyond);
        const QImage screen =
            w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(screen.copy(chart->geometry()), screen.copy(plain->geometry()));
    }

    // A cross-hair drawn by the plane itself looks on screen exactly as the tracer's own drawing
    // (a plane whose cursor layer holds one more, invisible, item draws it the usual way):
    // between pixels, on the frame, outside the plotting area.
    void crossHairLooksLikeTheTracersOwn()
    {
        QWidget w;
        auto *lay = new QHBoxLayout(&w);
        auto *plane = new PlaneGraph(QStringLiteral("plane"), &w);
        auto *usual = new PlaneGraph(QStringLiteral("usual"), &w);
        auto *blank = new QCPItemStraightLine(usual);
        blank->setLayer(QStringLiteral("cursor"));
        blank->setPen(Qt::NoPen);
        for (PlaneGraph *g : {plane, usual}) {
            g->setFixedSize(330, 250);
            g->addCircle(2000, 2000, 300, Qt::red, 3);
            lay->addWidget(g);
        }
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect box = plane->axisRect()->rect();
        const QPointF at[] = {{box.center().x() + 0.7, box.center().y() + 0.6},
                              {box.center().x() + 0.3, box.center().y() + 0.2},
                              {box.left() + 0.0, box.bottom() - 0.5},
                              {box.right() - 0.4, box.top() + 0.0},
                              {box.left() - 30.0, box.center().y() + 0.5}};
        for (const QPointF &p : at) {
            for (PlaneGraph *g : {plane, usual}) {
                g->setCursorPos(g->xAxis->pixelToCoord(p.x()), g->yAxis->pixelToCoord(p.y()));
                g->refresh();
            }
            settle();
            const auto onScreen = [&](QWidget *g) {
                return w.screen()->grabWindow(w.winId()).toImage()
                    .convertToFormat(QImage::Format_RGB32).copy(g->geometry());
            };
            QTRY_VERIFY(onScreen(plane) == onScreen(usual));
        }
        QVERIFY(plane->paintsComposed() > 0);
        QCOMPARE(usual->paintsComposed(), 0);
    }

    // A chart works out its traces' pixel rows as its value axis does, to the last bit (the
    // same pixel after rounding, halves included), for plain and reversed axes.
    void valuesMapToTheAxisPixels()
    {
        const QColor colours[stripTraces] = {Qt::red, Qt::darkGreen, Qt::blue};
        StripChart owned(QStringLiteral("chart"), colours);
        StripChart *chart = &owned;
        chart->resize(417, 263);
        QRandomGenerator rng(11);
        for (const QCPRange &r : {QCPRange(0, 4096), QCPRange(-3.3, 1234.7), QCPRange(7, 9)}) {
            for (const bool reversed : {false, true}) {
                chart->yAxis->setRange(r);
                chart->yAxis->setRangeReversed(reversed);
                chart->replot(); // lays the axes out
                QVERIFY(chart->axisRect()->height() > 100);
                const StripChart::ValueToPixel toY(chart->yAxis);
                for (int i = 0; i < 5000; ++i) {
                    const double v = r.lower - 10 + rng.generateDouble() * (r.size() + 20);
                    const double mine = toY(v), axis = chart->yAxis->coordToPixel(v);
                    if (mine != axis) // exactly: a fuzzy comparison would hide the last bit
                        QFAIL(qPrintable(QStringLiteral("%1: %2, the axis %3")
                                             .arg(v, 0, 'g', 17)
                                             .arg(mine, 0, 'g', 17)
                                             .arg(axis, 0, 'g', 17)));
                }
            }
        }
    }

    // A strip chart's repaint area, laid out band by band, is the region that uniting its boxes
    // gives: boxes side by side, touching or apart, empty ones, equal and staggered rows.
    void regionOfColumnsIsTheUnion()
    {
        QRandomGenerator rng(7);
        for (int round = 0; round < 2000; ++round) {
            QList<QRect> boxes;
            int x = int(rng.bounded(5));
            const int n = 1 + int(rng.bounded(12));
            for (int i = 0; i < n; ++i) {
                const int w = int(rng.bounded(1, 8));
                int top = int(rng.bounded(6)) * (round % 3 ? 1 : 3);
                // Up to three boxes stacked in the same columns, a row or more apart.
                for (int stacked = 1 + int(rng.bounded(3)); stacked > 0; --stacked) {
                    const int h = int(rng.bounded(5)); // 0: an empty box
                    boxes.append(QRect(x, top, w, h));
                    top += h + 1 + int(rng.bounded(3));
                }
                x += w + (rng.bounded(3) == 0 ? int(rng.bounded(1, 4)) : 0);
            }
            QRegion united;
            for (const QRect &b : boxes)
                united += b;
            const QRegion laid = RegionOfColumns(boxes);
            QVERIFY2(laid == united, qPrintable(QString::number(round)));
            QCOMPARE(laid.rectCount(), united.rectCount());
        }
    }

    // A few boxes anywhere (a cursor's cross, old and new) laid out band by band are the region
    // that uniting them gives: overlapping, touching, nested, empty, in equal columns.
    void regionOfBoxesIsTheUnion()
    {
        QRandomGenerator rng(11);
        for (int round = 0; round < 3000; ++round) {
            QList<QRect> boxes;
            for (int n = 1 + int(rng.bounded(6)); n > 0; --n)
                boxes.append(QRect(int(rng.bounded(12)), int(rng.bounded(12)), int(rng.bounded(8)),
                                   int(rng.bounded(8)))); // width or height 0: an empty box
            QRegion united;
            for (const QRect &b : boxes)
                united += b;
            const QRegion laid = RegionOfBoxes(boxes);
            QVERIFY2(laid == united, qPrintable(QString::number(round)));
            QCOMPARE(laid.rectCount(), united.rectCount());
        }
    }

    // Thin lines written straight into an image are the raster engine's, pixel for pixel: every
    // slope, points, short runs, clipped at the edges, and beneath a picture lying over them
    // (hidden where it is opaque, blended where it is partly transparent).
    void thinLinesMatchThePainter_data()
    {
        QTest::addColumn<int>("span");
        QTest::addColumn<bool>("covered");
        QTest::addColumn<bool>("straight"); // every other line along an axis
        QTest::newRow("long lines") << 160 << false << false;
        QTest::newRow("short lines and points") << 4 << false << false;
        QTest::newRow("long lines under a picture") << 160 << true << false;
        QTest::newRow("short lines under a picture") << 6 << true << false;
        QTest::newRow("rows and columns") << 160 << false << true;
        QTest::newRow("rows and columns under a picture") << 160 << true << true;
    }
    void thinLinesMatchThePainter()
    {
        QFETCH(int, span);
        QFETCH(bool, covered);
        QFETCH(bool, straight);
        const QPoint offset(20, 10);
        const QRect clip(4, 6, 150, 100);
        QImage over(160, 120, QImage::Format_ARGB32_Premultiplied);
        over.fill(Qt::transparent);
        {
            QPainter p(&over);
            p.fillRect(0, 0, 160, 8, QColor(30, 30, 30));            // opaque
            p.fillRect(40, 0, 12, 120, QColor(200, 50, 0, 128));     // half transparent
            p.fillRect(100, 60, 30, 30, QColor(0, 0, 255, 40));      // faint
        }
        QImage background(200, 150, QImage::Format_RGB32);
        background.fill(QColor(240, 240, 230));
        QRandomGenerator rng(uint(span) * 31 + covered + 2 * straight);
        const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(10, 20, 250)};
        for (int n = 0; n < 1500; ++n) {
            const int x = rng.bounded(160), y = rng.bounded(120);
            QLine line(x, y, qBound(0, x + rng.bounded(-span, span + 1), 159),
                       qBound(0, y + rng.bounded(-span, span + 1), 119));
            if (straight && n % 2)
                (n % 4 == 1 ? line.setP2(QPoint(line.x2(), y)) : line.setP2(QPoint(x, line.y2())));
            const QRgb colour = colours[n % 3];
            QImage painted = background;
            {
                QPainter p(&painted);
                p.translate(offset);
                p.setClipRect(clip);
                p.setPen(QPen(QColor(colour), 0));
                p.drawLines(&line, 1);
                p.setClipping(false);
                if (covered)
                    p.drawImage(0, 0, over);
            }
            QImage direct = background;
            if (covered) {
                QPainter p(&direct);
                p.drawImage(offset, over);
            }
            ThinLines lines(direct, offset, clip, covered ? &over : nullptr);
            QVERIFY(lines.usable());
            lines.setClearArea(QRect(52, 8, 48, 112)); // where nothing lies over the lines
            lines.draw(line, colour);
            if (direct != painted)
                QFAIL(qPrintable(QStringLiteral("line %1,%2 - %3,%4").arg(line.x1()).arg(line.y1())
                                     .arg(line.x2()).arg(line.y2())));
        }
    }

    void clearPlotsKeepsCursor()
    {
        PlaneGraph *g = datagraphs->GraphData1;
        g->addCircle(100, 100, 10, Qt::red, 3);
        g->addRect(0, 0, 10, 10, Qt::blue);
        const int16_t x[2] = {0, 10}, y[2] = {10, 0};
        g->addLine(x, y, 2, Qt::gray);
        QCOMPARE(g->circleCount(), 3);
        QCOMPARE(g->rectCount(), 1);
        QCOMPARE(g->lineCount(), 1);
        g->setCursorPos(7, 8);
        g->clearPlots();
        QCOMPARE(g->circleCount(), 0);
        QCOMPARE(g->rectCount(), 0);
        QCOMPARE(g->lineCount(), 0);
        QCOMPARE(g->itemCount(), 1);
        QCOMPARE(g->cursorPos(), QPointF(7, 8));
    }

    void scalesFollowCalcmode_data()
    {
        QTest::addColumn<int>("calc");
        QTest::addColumn<double>("xyH");
        QTest::addColumn<double>("xyV");
        QTest::addColumn<double>("intTop");
        QTest::newRow("X/Y INT") << 0 << 4096.0 << 4096.0 << 4096.0;
        QTest::newRow("s/i M") << 1 << 10000.0 << 4000.0 << 1200.0;
        QTest::newRow("X/Y/INT") << 2 << 4096.0 << 4096.0 << 4096.0;
        QTest::newRow("s/i/M") << 3 << 10000.0 << 4000.0 << 1200.0;
    }
    void scalesFollowCalcmode()
    {
        QFETCH(int, calc);
        QFETCH(double, intTop);
        datagraphs->GraphData1->addCircle(1000, 1000, 50, Qt::red, 3);
        datagraphs->GraphData2->addCircle(1000, 1000, 50, Qt::red, 3);
        datagraphs->GraphIntBar->addRect(0, 0, 100, 100, Qt::red);
        sidesgraphs->GraphXINT->addCircle(1000, 1000, 50, Qt::red, 1);
        SetGraphScales(uint16_t(calc));
        QCOMPARE(datagraphs->GraphData1->circleCount(), 0);
        QCOMPARE(datagraphs->GraphData2->circleCount(), 0);
        QCOMPARE(datagraphs->GraphIntBar->rectCount(), 0);
        QCOMPARE(sidesgraphs->GraphXINT->circleCount(), 0);
        QCOMPARE(datagraphs->GraphData1->hRange(), (AxisRange{0, [] {
                     QFETCH(double, xyH);
                     return xyH;
                 }()}));
        QCOMPARE(datagraphs->GraphData1->vRange(), (AxisRange{0, [] {
                     QFETCH(double, xyV);
                     return xyV;
                 }()}));
        QCOMPARE(datagraphs->GraphInt->vRange(), (AxisRange{0, intTop}));
        QCOMPARE(datagraphs->GraphIntBar->hRange(), (AxisRange{0, intTop}));
        QCOMPARE(datagraphs->GraphIntBar->vRange(), (AxisRange{0, 100}));
    }

    void view3ZoomAndCursors()
    {
        paraTeachTable[0] = 1000, paraTeachTable[1] = 1000, paraTeachTable[2] = 100;
        dataX = 1500, dataY = 1000, dataINT = 777;
        paraCalcmode = 0;
        ShowGraphData2();
        QCOMPARE(datagraphs->GraphData2->hRange(), (AxisRange{875, 1525}));
        QCOMPARE(datagraphs->GraphData2->vRange(), (AxisRange{675, 1325}));
        QCOMPARE(datagraphs->GraphData2->cursorPos(), QPointF(1500, 1000));
        QCOMPARE(datagraphs->GraphIntBar->cursorPos(), QPointF(777, 50));

        resetTable();
        dataX = 2000, dataY = 1500;
        ShowGraphData2();
        QCOMPARE(datagraphs->GraphData2->hRange(), (AxisRange{-25, 10025}));
        QCOMPARE(datagraphs->GraphData2->vRange(), (AxisRange{-25, 10025}));
    }

    void view3SpaceModeUsesTol()
    {
        // Word 2 is the intensity in the space modes; the radius is word 3.
        uint16_t *r = paraTeachTable;
        r[0] = 1000, r[1] = 1000, r[2] = 3000, r[3] = 50;
        dataX = 1000, dataY = 1000;
        paraCalcmode = 2;
        ShowGraphData2();
        QCOMPARE(datagraphs->GraphData2->hRange(), (AxisRange{925, 1075}));
    }

    void threeSidesZoomCursorsAndHistory()
    {
        uint16_t *r = paraTeachTable;
        r[0] = 1000, r[1] = 1200, r[2] = 800, r[3] = 50;
        dataX = 2000, dataY = 1200, dataINT = 800;
        for (int k = 0; k < stripSamples; ++k)
            PushStripSample(rawbuf, 100 + k % 21, 110, 105);
        ShowGraph3SidesView();
        QCOMPARE(sidesgraphs->GraphXY->hRange(), (AxisRange{925, 2025}));
        QCOMPARE(sidesgraphs->GraphXY->vRange(), (AxisRange{650, 1750}));
        QCOMPARE(sidesgraphs->GraphYINT->hRange(), (AxisRange{1125, 1275}));
        QCOMPARE(sidesgraphs->GraphXY->cursorPos(), QPointF(2000, 1200));
        QCOMPARE(sidesgraphs->GraphXINT->cursorPos(), QPointF(2000, 800));
        QCOMPARE(sidesgraphs->GraphYINT->cursorPos(), QPointF(1200, 800));
        QCOMPARE(sidesgraphs->GraphHistory->vRange(), (AxisRange{85, 135}));
        QCOMPARE(sidesgraphs->GraphHistory->hRange(), (AxisRange{0, 100}));
        QCOMPARE(sidesgraphs->GraphHistory->value(0, 99), rawbuf[297]);
        QCOMPARE(sidesgraphs->GraphHistory->value(2, 0), rawbuf[2]);
    }

    void showGraphDrawsOnlyTheChosenView()
    {
        for (int k = 0; k < 3; ++k)
            PushStripSample(rawbuf, 10 * k, 20 * k, 30 * k);
        PushStripSample(intbuf, 500, 600, 400);
        dataX = 123, dataY = 456;
        source = 1;
        ShowGraph();
        QCOMPARE(datagraphs->GraphData1->cursorPos(), QPointF(123, 456));
        QCOMPARE(datagraphs->GraphRGB->value(0, 99), 0.0); // not plotted in view 1
        source = 0;
        ShowGraph();
        QCOMPARE(datagraphs->GraphRGB->value(0, 99), 20.0);
        QCOMPARE(datagraphs->GraphRGB->value(2, 98), 30.0);
        QCOMPARE(datagraphs->GraphInt->value(0, 99), 0.0);
        source = 2;
        ShowGraph();
        QCOMPARE(datagraphs->GraphInt->value(0, 99), 500.0);
        QCOMPARE(datagraphs->GraphInt->value(1, 99), 600.0);
        QCOMPARE(datagraphs->GraphInt->value(2, 99), 400.0);
        // The three-sides view, while open, follows only in the space modes.
        sides->show();
        paraCalcmode = 1;
        ShowGraph();
        QCOMPARE(sidesgraphs->GraphXY->cursorPos(), QPointF(0, 0));
        paraCalcmode = 3;
        ShowGraph();
        QCOMPARE(sidesgraphs->GraphXY->cursorPos(), QPointF(123, 456));
    }
};

QTEST_MAIN(TestLivePlot)
#include "tst_liveplot.moc"
