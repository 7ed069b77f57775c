// Arithmetic of the live graphs, without any window: strip buffers, intensity bands, zoom of the
// zoomed X/Y graph and of the three-sides view, history scale, circle outlines, patch colour and
// COL5 lamps.
#include "core/graphs/grapharith.h"

#include <QtTest>
#include <algorithm>

using namespace tintra;

namespace {

// A teach table of 31 reset rows (all words 1), as RESET TABLE leaves it.
struct Table {
    uint16_t w[anzVec * 5];
    Table() { std::fill(std::begin(w), std::end(w), uint16_t(1)); }
    Table &row(int r, uint16_t a, uint16_t b, uint16_t c, uint16_t d, uint16_t e = 1)
    {
        uint16_t *p = w + 5 * r;
        p[0] = a, p[1] = b, p[2] = c, p[3] = d, p[4] = e;
        return *this;
    }
};

} // namespace

class TestGraphArith : public QObject {
    Q_OBJECT

private slots:
    void stripBufferShiftsOldestOut()
    {
        double buf[stripLen];
        for (int i = 0; i < stripLen; ++i)
            buf[i] = i;
        PushStripSample(buf, 1000, 2000, 3000);
        QCOMPARE(buf[0], 3.0); // sample 0 dropped, sample 1 moved to the front
        QCOMPARE(buf[293], 296.0);
        QCOMPARE(buf[294], 297.0);
        QCOMPARE(buf[296], 299.0);
        QCOMPARE(buf[297], 1000.0);
        QCOMPARE(buf[298], 2000.0);
        QCOMPARE(buf[299], 3000.0);
    }

    void stripBufferAfterManySamplesHoldsLastHundred()
    {
        double buf[stripLen] = {};
        for (int s = 0; s < 250; ++s)
            PushStripSample(buf, s, s + 0.5, -s);
        for (int k = 0; k < stripSamples; ++k) {
            QCOMPARE(buf[3 * k], double(150 + k));
            QCOMPARE(buf[3 * k + 1], 150 + k + 0.5);
            QCOMPARE(buf[3 * k + 2], -double(150 + k));
        }
    }

    void bands_data()
    {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("stripLo");
        QTest::addColumn<int>("stripHi");
        QTest::addColumn<int>("barHi");
        QTest::newRow("INT 4000 ITO 200 cut at top") << 4000 << 200 << 3800 << 4095 << 4096;
        QTest::newRow("INT 50 ITO 200 starts at 0") << 50 << 200 << 0 << 250 << 250;
        QTest::newRow("inside") << 2000 << 100 << 1900 << 2100 << 2100;
        QTest::newRow("exactly 4095") << 3995 << 100 << 3895 << 4095 << 4095;
        QTest::newRow("exactly 4096") << 3996 << 100 << 3896 << 4095 << 4096;
        // 16-bit arithmetic would wrap 30000 + 5000 to a negative top and lose the band.
        QTest::newRow("large words do not wrap") << 30000 << 5000 << 25000 << 4095 << 4096;
        QTest::newRow("both 65535") << 65535 << 65535 << 0 << 4095 << 4096;
        QTest::newRow("zero tolerance") << 0 << 0 << 0 << 0 << 0;
    }
    void bands()
    {
        QFETCH(int, v);
        QFETCH(int, t);
        const IntBand s = IntensityBand(uint16_t(v), uint16_t(t), stripBandTop);
        const IntBand b = IntensityBand(uint16_t(v), uint16_t(t), barBandTop);
        QTEST(s.lo, "stripLo");
        QTEST(s.hi, "stripHi");
        QTEST(b.lo, "stripLo");
        QTEST(b.hi, "barHi");
    }

    void zoomPlane_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QList<int>>("rows"); // groups of 5 words for rows 0, 1, ...
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QList<double>>("axes"); // hlo, hhi, vlo, vhi

        QTest::newRow("reset table") << 2 << QList<int>{} << 2000 << 1500
                                     << QList<double>{-25, 10025, -25, 10025};
        QTest::newRow("one row, point right of it")
            << 2 << QList<int>{1000, 1000, 100, 1, 1} << 1500 << 1000
            << QList<double>{875, 1525, 675, 1325};
        QTest::newRow("point inside") << 2 << QList<int>{1000, 1000, 100, 1, 1} << 1000 << 1050
                                      << QList<double>{875, 1125, 875, 1125};
        QTest::newRow("point left and below")
            << 2 << QList<int>{1000, 1000, 100, 1, 1} << 500 << 100
            << QList<double>{800 - 500 - 25, 800 + 500 + 25, 600 - 500 - 25, 600 + 500 + 25};
        QTest::newRow("space mode uses word 3")
            << 3 << QList<int>{1000, 1000, 500, 50, 1} << 1000 << 1000
            << QList<double>{925, 1075, 925, 1075};
        QTest::newRow("two rows") << 2 << QList<int>{1000, 1000, 100, 1, 1, 3000, 2000, 200, 1, 1}
                                  << 2000 << 1500
                                  << QList<double>{2050 - 1150 - 25, 2050 + 1150 + 25,
                                                   1550 - 1150 - 25, 1550 + 1150 + 25};
        QTest::newRow("row with X 10 and Y 10 ignored")
            << 2 << QList<int>{10, 10, 3000, 1, 1} << 2000 << 1500
            << QList<double>{-25, 10025, -25, 10025};
        QTest::newRow("row with X 11 counted")
            << 2 << QList<int>{11, 10, 5, 1, 1} << 11 << 10 << QList<double>{-19, 41, -20, 40};
    }
    void zoomPlane()
    {
        QFETCH(int, k);
        QFETCH(QList<int>, rows);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QList<double>, axes);
        Table tab;
        for (int i = 0; i < rows.size(); ++i)
            tab.w[i] = uint16_t(rows[i]);
        const PlaneZoom z = ZoomPlane(tab.w, k, x, y);
        QCOMPARE(z.h.lo, axes[0]);
        QCOMPARE(z.h.hi, axes[1]);
        QCOMPARE(z.v.lo, axes[2]);
        QCOMPARE(z.v.hi, axes[3]);
        QCOMPARE(z.h.hi - z.h.lo, z.v.hi - z.v.lo); // always square
    }

    void zoomThreeSidesResetTable()
    {
        Table tab;
        const ThreeSidesZoom z = ZoomThreeSides(tab.w, 500, 300, 200);
        for (const PlaneZoom &p : {z.xy, z.xint, z.yint}) {
            QCOMPARE(p.h, (AxisRange{-25, 10025}));
            QCOMPARE(p.v, (AxisRange{-25, 10025}));
        }
    }

    void zoomThreeSidesPointInsideSphere()
    {
        Table tab;
        tab.row(0, 1000, 1200, 800, 50);
        const ThreeSidesZoom z = ZoomThreeSides(tab.w, 1010, 1190, 820);
        QCOMPARE(z.xy.h, (AxisRange{925, 1075}));
        QCOMPARE(z.xy.v, (AxisRange{1125, 1275}));
        QCOMPARE(z.xint.h, (AxisRange{925, 1075}));
        QCOMPARE(z.xint.v, (AxisRange{725, 875}));
        QCOMPARE(z.yint.h, (AxisRange{1125, 1275}));
        QCOMPARE(z.yint.v, (AxisRange{725, 875}));
    }

    void zoomThreeSidesPointOutside()
    {
        Table tab;
        tab.row(0, 1000, 1200, 800, 50);
        const ThreeSidesZoom z = ZoomThreeSides(tab.w, 2000, 1200, 800);
        // spanX = 1050, centreX = 1475: h = 525 on both axes of the X/Y graph.
        QCOMPARE(z.xy.h, (AxisRange{1475 - 525 - 25, 1475 + 525 + 25}));
        QCOMPARE(z.xy.v, (AxisRange{1200 - 525 - 25, 1200 + 525 + 25}));
        QCOMPARE(z.xint.v, (AxisRange{800 - 525 - 25, 800 + 525 + 25}));
        // The Y/INT graph does not see X: h = 50.
        QCOMPARE(z.yint.h, (AxisRange{1125, 1275}));
    }

    void zoomThreeSidesRowLimit()
    {
        Table ignored;
        ignored.row(0, 10, 10, 4000, 30);
        const ThreeSidesZoom a = ZoomThreeSides(ignored.w, 500, 300, 200);
        QCOMPARE(a.xint.v, (AxisRange{-25, 10025}));
        Table counted;
        counted.row(0, 11, 10, 4000, 30);
        const ThreeSidesZoom b = ZoomThreeSides(counted.w, 11, 10, 4000);
        QCOMPARE(b.xint.v, (AxisRange{4000 - 30 - 25, 4000 + 30 + 25}));
    }

    void historyRange_data()
    {
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<double>("axisLo");
        QTest::addColumn<double>("axisHi");
        QTest::newRow("100 ... 120") << 100.0 << 120.0 << 85.0 << 135.0;
        QTest::newRow("5 ... 30 stops at 0") << 5.0 << 30.0 << 0.0 << 45.0;
        QTest::newRow("fractions truncated") << 100.9 << 120.9 << 85.0 << 135.0;
        QTest::newRow("above 4096 low stays 4096") << 5000.0 << 6000.0 << 4081.0 << 6015.0;
    }
    void historyRange()
    {
        QFETCH(double, lo);
        QFETCH(double, hi);
        double buf[stripLen];
        for (int i = 0; i < stripLen; ++i)
            buf[i] = lo + (hi - lo) * i / (stripLen - 1);
        std::swap(buf[0], buf[150]); // extremes anywhere in the buffer
        const AxisRange r = HistoryRange(buf, stripLen);
        QTEST(r.lo, "axisLo");
        QTEST(r.hi, "axisHi");
    }

    void circleOutlines()
    {
        CircleBox b[3];
        QCOMPARE(CircleOutlines(1000, 800, 100, 3, b), 3);
        QCOMPARE(b[0].x1, 900.0);
        QCOMPARE(b[0].y1, 700.0);
        QCOMPARE(b[0].x2, 1100.0);
        QCOMPARE(b[0].y2, 900.0);
        QCOMPARE(b[1].x1, 900.025);
        QCOMPARE(b[1].y2, 900.025);
        QCOMPARE(b[2].x1, 900.05);
        QCOMPARE(b[2].y1, 700.05);
        QCOMPARE(b[2].x2, 1100.005);
        QCOMPARE(b[2].y2, 900.005);
        // Reset rows: a small circle around (1, 1) with a box that reaches below 0.
        QCOMPARE(CircleOutlines(1, 1, 1, 1, b), 1);
        QCOMPARE(b[0].x1, 0.0);
        QCOMPARE(b[0].x2, 2.0);
        QCOMPARE(CircleOutlines(1, 1, 5, 1, b), 1);
        QCOMPARE(b[0].y1, -4.0);
    }

    void patchColor_data()
    {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<uint>("rgb");
        QTest::newRow("4095 2048 0") << 4095 << 2048 << 0 << 0xFF8000u;
        QTest::newRow("above 4095 limited") << 4096 << 65535 << 8000 << 0xFFFFFFu;
        QTest::newRow("small values") << 15 << 16 << 31 << 0x000101u;
    }
    void patchColor()
    {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QCOMPARE(uint(PatchColor(uint16_t(r), uint16_t(g), uint16_t(b))), [] {
            QFETCH(uint, rgb);
            return rgb;
        }());
    }

    void col5Lamps_data()
    {
        QTest::addColumn<int>("v");
        QTest::addColumn<QString>("lit"); // weights 16 8 4 2 1
        QTest::newRow("5") << 5 << "00101";
        QTest::newRow("255") << 255 << "11111";
        QTest::newRow("0") << 0 << "00000";
        QTest::newRow("31") << 31 << "11111";
        QTest::newRow("16") << 16 << "10000";
        QTest::newRow("30") << 30 << "11110";
        QTest::newRow("32") << 32 << "11111";
    }
    void col5Lamps()
    {
        QFETCH(int, v);
        QFETCH(QString, lit);
        bool on[anzOut];
        Col5Lamps(uint16_t(v), on);
        QString got;
        for (bool b : on)
            got += b ? '1' : '0';
        QCOMPARE(got, lit);
    }
};

QTEST_GUILESS_MAIN(TestGraphArith)
#include "tst_grapharith.moc"
