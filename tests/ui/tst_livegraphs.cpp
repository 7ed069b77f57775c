// The graph operations with the real panels (offscreen): taught colours and boundary line per
// calculation mode, the intensity band of the selected teach row, and the calculation-mode
// switch that empties and rescales the graphs.
#include "core/graphs/dispnames.h"
#include "core/display/ramps.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/p3sidesview.h"
#include "core/panels/cells.h"
#include "core/params/moderules.h"
#include "core/panels/rowcolours.h"
#include "link/paraimage.h"
#include "link/state.h"
#include "ui/uitestutil.h"

#include <QComboBox>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <algorithm>

using namespace tintra;

class TestLiveGraphs : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramUnderTest> program;

    static void setCalcmode(int calc) { QVERIFY(SetRingValue(parapanel1->Calcmode, calc)); }
    static void setCell(int col, int row, int v) { SetCellU16(ttpanel->GridCtt, col, row, uint16_t(v)); }
    static CircleBox box(PlaneGraph *g, int i, QColor *c = nullptr)
    {
        CircleBox b{};
        QColor colour;
        g->ellipseAt(i, &b, &colour);
        if (c)
            *c = colour;
        return b;
    }

private slots:
    void init()
    {
        program = std::make_unique<test::ProgramUnderTest>();
        QVERIFY(program->ok);
        FillRamps();
        std::fill(std::begin(paraTeachTable), std::end(paraTeachTable), 1);
        std::fill(std::begin(intbuf), std::end(intbuf), 0.0);
    }
    void cleanup() { program.reset(); }

    void initGraphsPerCalcmode_data()
    {
        QTest::addColumn<int>("calc");
        QTest::addColumn<bool>("boundary");
        QTest::addColumn<int>("radiusWord");
        QTest::newRow("X/Y INT") << 0 << true << 2;
        QTest::newRow("s/i M: no boundary line, circles all the same") << 1 << false << 2;
        QTest::newRow("X/Y/INT") << 2 << true << 3;
        QTest::newRow("s/i/M") << 3 << false << 3;
    }
    void initGraphsPerCalcmode()
    {
        QFETCH(int, calc);
        QFETCH(bool, boundary);
        QFETCH(int, radiusWord);
        setCalcmode(calc);
        uint16_t *r5 = paraTeachTable + 5 * 5;
        r5[0] = 1500, r5[1] = 1200, r5[2] = 300, r5[3] = 80, r5[4] = 40;
        InitGraphs();
        QCOMPARE(paraCalcmode, uint16_t(calc));
        PlaneGraph *xy = datagraphs->GraphData1;
        QCOMPARE(xy->lineCount(), boundary ? 1 : 0);
        if (boundary) {
            QCOMPARE(xy->graph(0)->dataCount(), rampSize);
            QCOMPARE(xy->graph(0)->data()->at(0)->value, 4095.0);
            QCOMPARE(xy->graph(0)->data()->at(4095)->key, 4095.0);
            QCOMPARE(xy->graph(0)->pen().color(), QColor(0xA0A0A0));
        }
        // Every row, reset rows included, three outlines each, in the row's colour.
        PlaneGraph *zoom = datagraphs->GraphData2;
        QCOMPARE(zoom->circleCount(), 3 * anzVec);
        QColor c;
        const CircleBox b = box(zoom, 3 * 5, &c);
        const int t = r5[radiusWord];
        QCOMPARE(b.x1, 1500.0 - t);
        QCOMPARE(b.y2, 1200.0 + t);
        QCOMPARE(c, QColor::fromRgb(QRgb(sicolarr[5])));
        QCOMPARE(box(zoom, 0).x2, 2.0); // reset row 0: radius 1 around (1, 1)
        // The three-sides view only in the space modes, one outline per row, radius TOL.
        const int sides = IsSpaceMode(uint16_t(calc)) ? anzVec : 0;
        QCOMPARE(sidesgraphs->GraphXY->circleCount(), sides);
        QCOMPARE(sidesgraphs->GraphXINT->circleCount(), sides);
        QCOMPARE(sidesgraphs->GraphYINT->circleCount(), sides);
        if (sides) {
            const CircleBox xint = box(sidesgraphs->GraphXINT, 5);
            QCOMPARE(xint.x1, 1500.0 - 80);
            QCOMPARE(xint.y1, 300.0 - 80);
            const CircleBox yint = box(sidesgraphs->GraphYINT, 5, &c);
            QCOMPARE(yint.x2, 1200.0 + 80);
            QCOMPARE(yint.y2, 300.0 + 80);
            QCOMPARE(c, QColor::fromRgb(QRgb(sicolarr[5])));
        }
        // A second call starts afresh.
        InitGraphs();
        QCOMPARE(zoom->circleCount(), 3 * anzVec);
        QCOMPARE(xy->lineCount(), boundary ? 1 : 0);
    }

    void bandOfSelectedRow_data()
    {
        QTest::addColumn<int>("calc");
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("stripHi");
        QTest::addColumn<int>("barHi");
        QTest::newRow("INT 4000 ITO 200") << 0 << 4000 << 200 << 3800 << 4095 << 4096;
        QTest::newRow("INT 50 ITO 200") << 0 << 50 << 200 << 0 << 250 << 250;
        QTest::newRow("space mode: INT column 3, TOL column 4") << 2 << 3000 << 100 << 2900
                                                                << 3100 << 3100;
    }
    void bandOfSelectedRow()
    {
        QFETCH(int, calc);
        QFETCH(int, v);
        QFETCH(int, t);
        QFETCH(int, lo);
        QFETCH(int, barHi);
        setCalcmode(calc);
        ttpanel->EditNo->setValue(4);
        const int col = calc < 2 ? 4 : 3;
        setCell(col, 5, v);
        setCell(col + 1, 5, t);
        setCell(calc < 2 ? 3 : 5, 5, 9999); // the neighbouring column is not read
        InitGraphInt2();
        CircleBox r{};
        QColor c;
        QCOMPARE(datagraphs->GraphIntBar->rectCount(), 1);
        QVERIFY(datagraphs->GraphIntBar->rectAt(0, &r, &c));
        QCOMPARE(r.x1, double(lo));
        QCOMPARE(r.x2, double(barHi));
        QCOMPARE(r.y1, 0.0);
        QCOMPARE(r.y2, 100.0);
        QCOMPARE(c, QColor(0x408080));
        dataINT = 1234;
        InitGraphBuffers();
        QCOMPARE(intbuf[297], 1234.0);
        QTEST(int(intbuf[298]), "stripHi");
        QCOMPARE(int(intbuf[299]), lo);
    }

    void changingNoRedrawsBarAtOnce()
    {
        setCalcmode(0);
        setCell(4, 1, 1000), setCell(5, 1, 10);
        setCell(4, 8, 2000), setCell(5, 8, 20);
        ttpanel->EditNo->setValue(0);
        InitGraphInt2();
        QVERIFY(test::FocusOn(ttpanel->EditNo));
        test::TypeInto(ttpanel->EditNo, 7); // typed and confirmed with Enter
        CircleBox r{};
        QColor c;
        QVERIFY(datagraphs->GraphIntBar->rectAt(0, &r, &c));
        QCOMPARE(datagraphs->GraphIntBar->rectCount(), 1);
        QCOMPARE(r.x1, 1980.0);
        QCOMPARE(r.x2, 2020.0);
    }

    void calcmodeSwitchEmptiesAndRescales()
    {
        setCalcmode(0);
        SetDispNames();
        InitGraphs();
        QVERIFY(datagraphs->GraphData2->circleCount() > 0);
        QCOMPARE(datagraphs->GraphData1->lineCount(), 1);
        QCOMPARE(datagraphs->GraphIntBar->rectCount(), 1);
        QCOMPARE(datagraphs->GraphData1->hRange(), (AxisRange{0, 4096}));
        // CALCMODE 1 through the EVALMODE rule.
        setCalcmode(1);
        InitEvalMode();
        QCOMPARE(datagraphs->GraphData1->lineCount(), 0);
        QCOMPARE(datagraphs->GraphData2->circleCount(), 0);
        QCOMPARE(datagraphs->GraphIntBar->rectCount(), 0);
        QCOMPARE(datagraphs->GraphData1->hRange(), (AxisRange{0, 10000}));
        QCOMPARE(datagraphs->GraphData1->vRange(), (AxisRange{0, 4000}));
        QCOMPARE(datagraphs->GraphInt->vRange(), (AxisRange{0, 1200}));
        QCOMPARE(datagraphs->GraphIntBar->hRange(), (AxisRange{0, 1200}));
    }

    void sourceShowsItsGraphsAndSidesViewInSpaceModes()
    {
        mainpanel->show();
        auto *ring = datapanel->SelectSource;
        setCalcmode(0);
        test::ChooseItem(ring, 3); // the operator's arrow keys: each step switches the graphs
        QCOMPARE(source, uint16_t(3));
        QVERIFY(datagraphs->GraphData2->isVisible());
        QVERIFY(datagraphs->GraphIntBar->isVisible());
        QVERIFY(!datagraphs->GraphRGB->isVisible());
        QVERIFY(!p3sidesview->isVisible());
        setCalcmode(2);
        DispVis();
        QVERIFY(p3sidesview->isVisible());
        QVERIFY(sidesgraphs->GraphHistory->isVisible());
        test::ChooseItem(ring, 0);
        QCOMPARE(source, uint16_t(0));
        QVERIFY(datagraphs->GraphRGB->isVisible());
        QVERIFY(!datagraphs->GraphData2->isVisible());
    }

    void hiddenSidesViewCatchesUpWhenOpened()
    {
        mainpanel->show();
        setCalcmode(2);
        paraCalcmode = 2;
        source = 0;
        QVERIFY(!p3sidesview->isVisible());
        dataX = 2000, dataY = 1200, dataINT = 800;
        ShowGraph(); // window closed: its graphs are left alone
        QVERIFY(sidesgraphs->GraphXY->cursorPos() != QPointF(2000, 1200));
        p3sidesview->show(); // opening it brings it up to the current values
        QCOMPARE(sidesgraphs->GraphXY->cursorPos(), QPointF(2000, 1200));
        QCOMPARE(sidesgraphs->GraphYINT->cursorPos(), QPointF(1200, 800));
        dataX = 2100;
        ShowGraph(); // and open, it follows every frame
        QCOMPARE(sidesgraphs->GraphXINT->cursorPos(), QPointF(2100, 800));
        p3sidesview->hide();
    }
};

QTEST_MAIN(TestLiveGraphs)
#include "tst_livegraphs.moc"
