// Teaching with the whole user interface offscreen: TEACH DATA TO per mode, RESET TABLE, APPLY
// FROM ALL during GO, the mean-value teach window (captures, UNDO, RESET, the mean and deviation
// arithmetic, TEACH TO TABLE), and end to end against the simulated sensor: live colours taught
// into rows 3 and 4 reach the sensor's table with SEND.
#include "core/acquire/acquire.h"
#include "core/acquire/paneldata.h"
#include "core/display/ramps.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/params/cells.h"
#include "core/params/moderules.h"
#include "core/params/panelvalues.h"
#include "core/params/rowcolours.h"
#include "core/teach/meanteach.h"
#include "link/paraimage.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"
#include "tests/common/popupscript.h"
#include "ui/uitestutil.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <cstring>

using namespace tintra;
using Row = QList<int>;

namespace {

void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

// Types a number into a spin box as the operator does: select all, type, Enter.
void Type(QSpinBox *s, int v)
{
    s->setFocus();
    QTest::keyClick(s, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(s, QString::number(v));
    QTest::keyClick(s, Qt::Key_Return);
}

// Chooses ring item `index` with the keyboard.
void Choose(QComboBox *c, int index)
{
    c->setFocus();
    QTest::keyClick(c, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(c, Qt::Key_Down);
}

// The modes as the panels hold them, with every mode rule applied.
void SetModes(int calc, int eval, int pmode)
{
    QVERIFY(SetRingValue(parapanel1->Calcmode, calc));
    QVERIFY(SetRingValue(parapanel1->Evalmode, eval));
    QVERIFY(SetRingValue(parapanel1->EditPmode, pmode));
    GetPanelValues();
    InitPanelCtrlAttr();
}

// A data frame as the acquisition loop shows it.
void Frame(int r, int g, int b, int x, int y, int in)
{
    dataR = uint16_t(r), dataG = uint16_t(g), dataB = uint16_t(b);
    dataX = uint16_t(x), dataY = uint16_t(y), dataINT = uint16_t(in);
    SetPanelData();
}

Row TeachRow(int r)
{
    Row out;
    for (int c = 1; c <= 5; ++c)
        out << GetCellU16(ttpanel->GridCtt, c, r + 1);
    return out;
}

void SetTeachRow(int r, const Row &w)
{
    for (int c = 1; c <= 5; ++c)
        SetCellU16(ttpanel->GridCtt, c, r + 1, uint16_t(w[c - 1]));
}

Row GridRow(QTableWidget *t, int row)
{
    Row out;
    for (int c = 1; c <= 6; ++c)
        out << GetCellU16(t, c, row);
    return out;
}

// The colour of colour row r in the four tables.
QList<int> RowColours(int r)
{
    return {CellColour(ttpanel->GridCtt, 6, r + 1), CellColour(tapanel->GridTa, 2, r + 1),
            CellColour(parapanel2->EditGridGroups, 2, r + 1),
            CellColour(parapanel2->EditGridHold, 2, r + 2)};
}

void SetColourMode(int automatic)
{
    Choose(tapanel->EditSetColor, automatic);
    QCOMPARE(tapanel->EditSetColor->currentIndex(), automatic);
}

} // namespace

class TestTeach : public QObject {
    Q_OBJECT

    sim::SimThread sim;
    std::unique_ptr<test::PopupScript> popups;
    std::unique_ptr<test::ProgramUnderTest> program;
    int palette[sicolarrSize];

    TeachPanel *tp() const { return teachpanel; }
    void Capture(int x, int y, int in)
    {
        Frame(100, 200, 300, x, y, in);
        Click(tp()->ButtonTpCapture);
    }

    // Runs GO (or whatever `start` runs) with `onFrame(n)` called after frame n; a loop that
    // does not end is stopped after 6 s so that a failing test cannot hang.
    int RunLoop(QWidget *start, const std::function<void(int)> &onFrame)
    {
        int frames = 0;
        SetFrameListener([&] { onFrame(++frames); });
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, [] { poll = 0; });
        safety.start(6000);
        Click(start);
        SetFrameListener({});
        return frames;
    }

private slots:
    void initTestCase()
    {
        std::copy(sicolarr, sicolarr + sicolarrSize, palette);
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
    }

    void init()
    {
        std::copy(palette, palette + sicolarrSize, sicolarr);
        popups = std::make_unique<test::PopupScript>();
        program = std::make_unique<test::ProgramUnderTest>();
        QVERIFY(program->ok);
        FillRamps();
        PaintAllRows();
        ShowChildPanel(3);
        sim.reset();
        sim.clearFaults();
        sim.setColour({2400, 1800, 900});
        sim.setNoise(0);
        comprotocol = 1;
        std::strcpy(ipBuf, "127.0.0.1");
        portNum = sim.port();
        QCOMPARE(InitTCP_IP(), 0);
        target = RAM;
    }

    void cleanup()
    {
        poll = 0;
        DisconnectTCP();
        program.reset();
        popups.reset();
    }

    void teachDataTo_data()
    {
        QTest::addColumn<int>("calc");
        QTest::addColumn<int>("eval");
        QTest::addColumn<int>("pmode");
        QTest::addColumn<int>("no");
        QTest::addColumn<bool>("inc");
        QTest::addColumn<int>("automatic");
        QTest::addColumn<Row>("want");
        QTest::addColumn<int>("noAfter");
        // The row holds 7 in every word before; X 1500, Y 1200 shown, INT 2222 in the frame.
        QTest::newRow("X/Y INT, EVAL 1, DYN, INC") << 0 << 1 << 1 << 4 << true << 1
                                                   << Row{1500, 1200, 200, 2222, 100} << 5;
        QTest::newRow("EVAL 0 STAT") << 0 << 0 << 0 << 0 << false << 0
                                     << Row{1500, 1200, 100, 2222, 100} << 0;
        QTest::newRow("EVAL 0 DYN") << 0 << 0 << 1 << 1 << false << 0
                                    << Row{1500, 1200, 100, 2222, 50} << 1;
        QTest::newRow("EVAL 2 STAT") << 0 << 2 << 0 << 2 << true << 0
                                     << Row{1500, 1200, 40, 2222, 200} << 3;
        QTest::newRow("EVAL 2 DYN") << 0 << 2 << 1 << 2 << false << 1
                                    << Row{1500, 1200, 40, 2222, 100} << 2;
        QTest::newRow("COL5 DYN") << 0 << 3 << 1 << 3 << false << 0
                                  << Row{1500, 1200, 100, 2222, 50} << 3;
        QTest::newRow("s/i M, EVAL 1 STAT: MTO 50") << 1 << 1 << 0 << 6 << false << 0
                                                    << Row{1500, 1200, 200, 2222, 50} << 6;
        QTest::newRow("s/i M, EVAL 2 DYN") << 1 << 2 << 1 << 6 << false << 1
                                           << Row{1500, 1200, 40, 2222, 50} << 6;
        QTest::newRow("X/Y/INT, EVAL 2: word 4 kept") << 2 << 2 << 0 << 7 << false << 0
                                                      << Row{1500, 1200, 2222, 40, 7} << 7;
        QTest::newRow("s/i/M, EVAL 1 DYN") << 3 << 1 << 1 << 8 << false << 0
                                           << Row{1500, 1200, 2222, 200, 7} << 8;
        QTest::newRow("row 30, INC stays 30, hold row 32") << 0 << 0 << 0 << 30 << true << 1
                                                          << Row{1500, 1200, 100, 2222, 100} << 30;
    }
    void teachDataTo()
    {
        QFETCH(int, calc);
        QFETCH(int, eval);
        QFETCH(int, pmode);
        QFETCH(int, no);
        QFETCH(bool, inc);
        QFETCH(int, automatic);
        QFETCH(Row, want);
        QFETCH(int, noAfter);
        SetModes(calc, eval, pmode);
        SetColourMode(automatic);
        popups->clear();
        SetTeachRow(no, {7, 7, 7, 7, 7});
        Type(ttpanel->EditNo, no);
        if (inc != ttpanel->RadioInc->isChecked()) // on the switch itself, not beside it
            QTest::mouseClick(ttpanel->RadioInc, Qt::LeftButton, {},
                              QPoint(6, ttpanel->RadioInc->height() / 2));
        QCOMPARE(ttpanel->RadioInc->isChecked(), inc);
        Frame(2400, 1800, 900, 1500, 1200, 2222);
        dataX = 1, dataY = 2; // the displays still show 1500 and 1200: those are taught
        const QList<int> coloursBefore = RowColours(no);
        const int before = sicolarr[no];

        Click(ttpanel->ButtonTeachDataTo);

        QCOMPARE(TeachRow(no), want);
        QCOMPARE(ttpanel->EditNo->value(), noAfter);
        QCOMPARE(dataX, uint16_t(1500));
        // The variables and the graphs follow at once: the row's circle around (X, Y).
        for (int c = 0; c < 5; ++c)
            QCOMPARE(int(paraTeachTable[5 * no + c]), want[c]);
        const int t = want[calc < 2 ? 2 : 3];
        CircleBox box{};
        QColor colour;
        QVERIFY(datagraphs->GraphData2->ellipseAt(3 * no, &box, &colour));
        QCOMPARE(box.x1, double(1500 - t));
        QCOMPARE(box.y2, double(1200 + t));
        // 2400 / 16, 1800 / 16, 900 / 16: the measured colour paints the row in automatic mode.
        const int measured = 0x967038;
        if (automatic) {
            QCOMPARE(sicolarr[no], measured);
            QCOMPARE(RowColours(no), QList<int>({measured, measured, measured, measured}));
            QCOMPARE(colour, QColor(measured));
        } else {
            QCOMPARE(sicolarr[no], before);
            QCOMPARE(RowColours(no), coloursBefore);
        }
        QCOMPARE(popups->messages().size(), 0);
    }

    void resetTableKeepsColours()
    {
        SetModes(2, 0, 0); // a space mode: the three-sides view carries circles too
        for (int r = 0; r < 31; ++r)
            SetTeachRow(r, {100 + r, 200 + r, 300, 40, 5});
        Type(ttpanel->EditNo, 12);
        GetPanelValues();
        InitGraphs();
        QVERIFY(datagraphs->GraphData2->circleCount() > 0);
        QVERIFY(sidesgraphs->GraphXINT->circleCount() > 0);
        QVERIFY(datagraphs->GraphIntBar->rectCount() > 0);
        QVERIFY(datagraphs->GraphData1->lineCount() > 0);
        sicolarr[5] = 0x123456;
        PaintRow(5, 0x123456);

        Click(ttpanel->ButtonResetTable);

        QCOMPARE(ttpanel->EditNo->value(), 0);
        for (int r = 0; r < 31; ++r) {
            QCOMPARE(TeachRow(r), Row({1, 1, 1, 1, 1}));
            QCOMPARE(CellColour(ttpanel->GridCtt, 6, r + 1), r == 5 ? 0x123456 : palette[r]);
        }
        QCOMPARE(sicolarr[5], 0x123456);
        for (PlaneGraph *g : {datagraphs->GraphData1, datagraphs->GraphData2,
                              datagraphs->GraphIntBar, sidesgraphs->GraphXY,
                              sidesgraphs->GraphXINT, sidesgraphs->GraphYINT})
            QVERIFY2(g->circleCount() == 0 && g->rectCount() == 0 && g->lineCount() == 0,
                     qPrintable(g->objectName()));
        // The variables take the reset values only with the next read of the panels.
        QCOMPARE(paraTeachTable[5 * 3], uint16_t(103));
    }

    void applyFromAllDuringGo_data()
    {
        QTest::addColumn<int>("calc");
        QTest::addColumn<int>("radiusWord");
        QTest::newRow("X/Y INT: CTO") << 0 << 2;
        QTest::newRow("X/Y/INT: TOL") << 2 << 3;
    }
    void applyFromAllDuringGo()
    {
        QFETCH(int, calc);
        QFETCH(int, radiusWord);
        SetModes(calc, 0, 0);
        for (int r = 0; r < 30; ++r) // row 30 keeps the reset value 1
            SetTeachRow(r, {1000 + 10 * r, 900 + r, 20 + r, 30 + r, 9});
        SetTeachRow(30, {1, 1, 1, 1, 1});
        for (int r = 0; r < 31; ++r)
            sicolarr[r] = 0x010000 * r + 0x40;

        const int frames = RunLoop(mainpanel->ButtonGo, [](int n) {
            if (n == 2)
                Click(ttpanel->ButtonApplyFromAll);
        });

        QCOMPARE(frames, 2); // the loop ended after the pass in progress
        QCOMPARE(poll, uint16_t(0));
        QVERIFY(!AcquisitionRunning());
        QVERIFY(mainpanel->ButtonGo->isEnabled());
        PlaneGraph *xy = datagraphs->GraphData1;
        QCOMPARE(xy->circleCount(), 31 * 3);
        for (int r = 0; r < 31; ++r) {
            const uint16_t *w = paraTeachTable + 5 * r;
            CircleBox b{};
            QColor c;
            QVERIFY(xy->ellipseAt(3 * r, &b, &c));
            QCOMPARE(c, QColor(0x010000 * r + 0x40));
            QCOMPARE(b.x1, double(w[0] - w[radiusWord]));
            QCOMPARE(b.x2, double(w[0] + w[radiusWord]));
            QCOMPARE(b.y1, double(w[1] - w[radiusWord]));
        }
        CircleBox last{};
        QColor c;
        xy->ellipseAt(90, &last, &c);
        QCOMPARE(last.x1, 0.0); // row 30: radius 1 around (1, 1)
        QCOMPARE(last.x2, 2.0);
    }

    void meanAndDeviation_data()
    {
        QTest::addColumn<int>("calc");
        QTest::addColumn<Row>("captures"); // X, Y, INT per capture
        QTest::addColumn<Row>("mean");     // X, Y, INT
        QTest::addColumn<int>("dist");
        QTest::addColumn<int>("dInt");
        QTest::newRow("1000 1002 1004") << 0 << Row{1000, 500, 800, 1002, 500, 800, 1004, 500, 800}
                                        << Row{1002, 500, 800} << 2 << 0;
        QTest::newRow("1000 1001 truncates") << 0 << Row{1000, 500, 800, 1001, 500, 800}
                                             << Row{1000, 500, 800} << 1 << 0;
        const Row spread{1000, 1000, 1000, 1006, 1008, 1024};
        QTest::newRow("3 4 12, X/Y INT") << 0 << spread << Row{1003, 1004, 1012} << 5 << 12;
        QTest::newRow("3 4 12, s/i M") << 1 << spread << Row{1003, 1004, 1012} << 5 << 12;
        QTest::newRow("3 4 12, X/Y/INT") << 2 << spread << Row{1003, 1004, 1012} << 13 << 12;
        QTest::newRow("3 4 12, s/i/M") << 3 << spread << Row{1003, 1004, 1012} << 13 << 12;
        QTest::newRow("word-range spread: square sum beyond 32 bits")
            << 2 << Row{0, 0, 0, 65535, 65535, 65535} << Row{32767, 32767, 32767} << 56755
            << 32768;
    }
    void meanAndDeviation()
    {
        QFETCH(int, calc);
        QFETCH(Row, captures);
        QFETCH(Row, mean);
        QFETCH(int, dist);
        QFETCH(int, dInt);
        SetModes(calc, 0, 0);
        tp()->show();
        for (int i = 0; i + 2 < captures.size(); i += 3)
            Capture(captures[i], captures[i + 1], captures[i + 2]);
        const int n = int(captures.size() / 3);
        QCOMPARE(tp()->DispTpCounter->value(), n);
        QCOMPARE(GridRow(tp()->GridTpValues, n),
                 Row({100, 200, 300, captures[3 * n - 3], captures[3 * n - 2], captures[3 * n - 1]}));
        QCOMPARE(GridRow(tp()->GridTpMean, 1), Row({100, 200, 300, mean[0], mean[1], mean[2]}));
        QCOMPARE(Row({meanr, meang, meanb, meanx, meany, meanint}),
                 Row({100, 200, 300, mean[0], mean[1], mean[2]}));
        QCOMPARE(tp()->DispTpMaxDeltaXY->value(), dist);
        QCOMPARE(tp()->DispTpMaxDeltaInt->value(), dInt);
    }

    void captureUndoReset()
    {
        SetModes(0, 0, 0);
        tp()->show();
        // 101 captures: the counter stops at 100 and the last capture overwrites row 100.
        for (int i = 0; i < 101; ++i)
            Capture(1000 + i, 500, 800);
        QCOMPARE(tp()->DispTpCounter->value(), 100);
        QCOMPARE(GridRow(tp()->GridTpValues, 100)[3], 1100);
        QCOMPARE(GridRow(tp()->GridTpValues, 99)[3], 1098);
        QCOMPARE(meanx, uint16_t(1049)); // (1000 + ... + 1098 + 1100) / 100, truncated
        QCOMPARE(tp()->GridTpValues->currentRow(), 99);

        // RESET: red while it works, light grey again, everything 0; the means stay.
        QColor whileWorking;
        QTimer::singleShot(0, this, [&] {
            whileWorking = tp()->ButtonTpResetTable->palette().color(QPalette::Button);
        });
        Click(tp()->ButtonTpResetTable);
        QCOMPARE(whileWorking, QColor(0xFF0000));
        QCOMPARE(tp()->ButtonTpResetTable->palette().color(QPalette::Button), QColor(0xE0E0E0));
        QCOMPARE(tp()->DispTpCounter->value(), 0);
        for (int r : {1, 50, 100})
            QCOMPARE(GridRow(tp()->GridTpValues, r), Row({0, 0, 0, 0, 0, 0}));
        QCOMPARE(GridRow(tp()->GridTpMean, 1), Row({0, 0, 0, 0, 0, 0}));
        QCOMPARE(tp()->DispTpMaxDeltaXY->value(), 0);
        QCOMPARE(tp()->GridTpValues->currentRow(), 0);
        QCOMPARE(meanx, uint16_t(1049));

        // UNDO with counter 10: counter 9, row 10 cleared, row 4 active, means of nine.
        for (int i = 0; i < 10; ++i)
            Capture(1000 + 10 * i, 500, 800 + i);
        Click(tp()->ButtonTpUndo);
        QCOMPARE(tp()->DispTpCounter->value(), 9);
        QCOMPARE(GridRow(tp()->GridTpValues, 10), Row({0, 0, 0, 0, 0, 0}));
        QCOMPARE(GridRow(tp()->GridTpValues, 9)[3], 1080);
        QCOMPARE(tp()->GridTpValues->currentRow(), 3);
        QCOMPARE(meanx, uint16_t(1040));
        QCOMPARE(tp()->DispTpMaxDeltaXY->value(), 40);
        QCOMPARE(tp()->DispTpMaxDeltaInt->value(), 4);
        // Down to nothing and once more: the counter stays 0, the grid and displays show 0,
        // the global means keep the last ones computed.
        for (int i = 0; i < 10; ++i)
            Click(tp()->ButtonTpUndo);
        QCOMPARE(tp()->DispTpCounter->value(), 0);
        QCOMPARE(GridRow(tp()->GridTpMean, 1), Row({0, 0, 0, 0, 0, 0}));
        QCOMPARE(tp()->DispTpMaxDeltaXY->value(), 0);
        QCOMPARE(tp()->GridTpValues->currentRow(), 0);
        QCOMPARE(meanx, uint16_t(1000));
    }

    void editingCapturedCellRecomputes()
    {
        SetModes(0, 0, 0);
        tp()->show();
        tp()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(tp()));
        Capture(1000, 500, 800);
        Capture(1002, 500, 800);
        QCOMPARE(meanx, uint16_t(1001));
        // The operator edits X of row 2 through the table's editor.
        QTableWidget *g = tp()->GridTpValues;
        g->setFocus();
        g->setCurrentCell(1, 3);
        QTest::keyClick(g, Qt::Key_F2);
        auto *editor = g->viewport()->findChild<QSpinBox *>();
        QVERIFY(editor && editor->isVisible());
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QStringLiteral("1010"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(GetCellU16(g, 4, 2), uint16_t(1010)); // the editor commits when idle
        QCOMPARE(GetCellU16(tp()->GridTpMean, 4, 1), uint16_t(1005));
        QCOMPARE(tp()->DispTpMaxDeltaXY->value(), 5);
    }

    void teachToTable_data()
    {
        QTest::addColumn<int>("calc");
        QTest::addColumn<int>("eval");
        QTest::addColumn<int>("ctoWith");
        QTest::addColumn<int>("valueCto");
        QTest::addColumn<int>("itoWith");
        QTest::addColumn<int>("valueIto");
        QTest::addColumn<Row>("want");
        QTest::addColumn<QString>("item2"); // caption of the colour-tolerance choice 2
        // Row 5 holds 11 ... 15. Captures (1000, 1000, 2000) and (1046, 1000, 2010): means
        // 1023, 1000, 2005; distance 23 (also in space: sqrt(23^2 + 5^2) = 23.5); INT deviation 5.
        QTest::newRow("d (X/Y)+VALUE CTO") << 0 << 0 << 2 << 50 << 0 << 300
                                           << Row{1023, 1000, 73, 2005, 300}
                                           << "d (X/Y)+VALUE CTO";
        QTest::newRow("both deviations") << 0 << 1 << 1 << 0 << 1 << 0
                                         << Row{1023, 1000, 23, 2005, 5} << "d (X/Y)+VALUE CTO";
        QTest::newRow("d INT+VALUE ITO") << 0 << 0 << 0 << 60 << 2 << 100
                                         << Row{1023, 1000, 60, 2005, 105} << "d (X/Y)+VALUE CTO";
        QTest::newRow("NO CHANGE both") << 0 << 0 << 3 << 60 << 3 << 100
                                        << Row{1023, 1000, 13, 2005, 15} << "d (X/Y)+VALUE CTO";
        QTest::newRow("EVALMODE 2: 40 whatever is chosen") << 0 << 2 << 2 << 500 << 1 << 0
                                                           << Row{1023, 1000, 40, 2005, 5}
                                                           << "d (X/Y)+VALUE CTO";
        QTest::newRow("sums held at 65535") << 0 << 0 << 2 << 65530 << 2 << 65535
                                            << Row{1023, 1000, 65535, 2005, 65535}
                                            << "d (X/Y)+VALUE CTO";
        QTest::newRow("s/i M") << 1 << 0 << 1 << 0 << 0 << 77 << Row{1023, 1000, 23, 2005, 77}
                               << "d (s/i)+VALUE siTO";
        QTest::newRow("X/Y/INT NO CHANGE keeps TOL") << 2 << 0 << 3 << 60 << 0 << 0
                                                     << Row{1023, 1000, 2005, 14, 15}
                                                     << "d (X/Y/INT)+VALUE TOL";
        QTest::newRow("X/Y/INT typed") << 2 << 0 << 0 << 60 << 0 << 0
                                       << Row{1023, 1000, 2005, 60, 15} << "d (X/Y/INT)+VALUE TOL";
        QTest::newRow("s/i/M EVALMODE 2") << 3 << 2 << 1 << 0 << 0 << 0
                                          << Row{1023, 1000, 2005, 40, 15}
                                          << "d (s/i/INT)+VALUE TOL";
    }
    void teachToTable()
    {
        QFETCH(int, calc);
        QFETCH(int, eval);
        QFETCH(int, ctoWith);
        QFETCH(int, valueCto);
        QFETCH(int, itoWith);
        QFETCH(int, valueIto);
        QFETCH(Row, want);
        QFETCH(QString, item2);
        SetModes(calc, eval, 0);
        tp()->show();
        SetTeachRow(5, {11, 12, 13, 14, 15});
        Capture(1000, 1000, 2000);
        Capture(1046, 1000, 2010);
        QCOMPARE(tp()->DispTpMaxDeltaXY->value(), 23);

        const bool fixed = eval == 2, plane = calc < 2;
        QCOMPARE(tp()->EditTpTeachCtoWith->isEnabled(), !fixed);
        QCOMPARE(tp()->EditTpValueCto->isEnabled(), !fixed);
        QCOMPARE(tp()->EditTpTeachCtoWith->itemText(2), item2);
        QCOMPARE(tp()->EditTpTeachItoWith->isVisibleTo(tp()), plane);
        QCOMPARE(tp()->DispTpMaxDeltaInt->isVisibleTo(tp()), plane);
        if (!fixed) {
            Choose(tp()->EditTpTeachCtoWith, ctoWith);
            Type(tp()->EditTpValueCto, valueCto);
        }
        if (plane) {
            Choose(tp()->EditTpTeachItoWith, itoWith);
            Type(tp()->EditTpValueIto, valueIto);
        }
        Type(tp()->EditTpRowNo, 5);

        Click(tp()->ButtonTpTeachToTable);

        QCOMPARE(TeachRow(5), want);
        for (int c = 0; c < 5; ++c) // the variables follow at once
            QCOMPARE(int(paraTeachTable[25 + c]), want[c]);
        QCOMPARE(TeachRow(4), Row({0, 0, 0, 0, 0}));
        QCOMPARE(datagraphs->GraphData2->circleCount(), 31 * 3);
    }

    // End to end: TEACH MEAN VAL starts GO; the operator captures three frames, closes the window
    // (GO keeps running), teaches the mean into row 4 and the single live frame into row 3, stops,
    // and sends. The sensor's RAM then holds both rows.
    void teachLiveColoursAndSend()
    {
        SetModes(0, 0, 0);
        sim.setScene(sim::Scene::Fixed);
        tp()->show();
        Type(tp()->EditTpRowNo, 4);
        Type(tp()->EditTpValueCto, 35);
        Type(tp()->EditTpValueIto, 45);
        bool runningAfterClose = false;
        const int frames = RunLoop(ttpanel->ButtonTeachMeanVal, [&](int n) {
            if (n == 1) {
                for (int i = 0; i < 3; ++i)
                    Click(tp()->ButtonTpCapture);
                Click(tp()->ButtonTpClose);
            } else if (n == 2) {
                runningAfterClose = AcquisitionRunning() && poll == 1 && !tp()->isVisible();
                Click(tp()->ButtonTpTeachToTable);
                Type(ttpanel->EditNo, 3);
                Click(ttpanel->ButtonTeachDataTo);
            } else if (n == 3) {
                Click(mainpanel->ButtonStop);
            }
        });
        QCOMPARE(frames, 3);
        QVERIFY(runningAfterClose);
        QCOMPARE(tp()->DispTpCounter->value(), 3);
        const int x = datapanel->DispX->text().toInt(), y = datapanel->DispY->text().toInt();
        QVERIFY(x > 0 && y > 0 && dataINT > 0);
        const Row row3{x, y, 100, dataINT, 100};
        const Row row4{x, y, 35, dataINT, 45}; // a steady colour: no deviation
        QCOMPARE(TeachRow(3), row3);
        QCOMPARE(TeachRow(4), row4);

        Click(mainpanel->SelectRAM);
        Click(mainpanel->ButtonSend);
        const auto img = sim.ramImage();
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(int(img[16 + 7 * 3 + c]), row3[c]);
            QCOMPARE(int(img[16 + 7 * 4 + c]), row4[c]);
        }
    }
};

QTEST_MAIN(TestTeach)
#include "tst_teach.moc"
