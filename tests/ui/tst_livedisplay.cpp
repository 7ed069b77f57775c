// The live displays on real widgets (offscreen): numbers, bars, colour patch, COL5 lamps, the big
// windows, the calibration panel's raw values, and the info texts of the graphs.
#include "core/acquire/paneldata.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/calibpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/controls.h"
#include "link/paraimage.h"
#include "link/state.h"
#include "tests/common/popupscript.h"
#include "ui/uitestutil.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace tintra;

class TestLiveDisplay : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramUnderTest> program;

    static void setData(uint16_t r, uint16_t g, uint16_t b)
    {
        dataR = r, dataG = g, dataB = b;
    }
    static QList<bool> lamps()
    {
        return {datapanel->LedCol16->isOn(), datapanel->LedCol8->isOn(),
                datapanel->LedCol4->isOn(), datapanel->LedCol2->isOn(),
                datapanel->LedCol1->isOn()};
    }

private slots:
    void init()
    {
        program = std::make_unique<test::ProgramUnderTest>();
        QVERIFY(program->ok);
        paraEvalmode = 0;
    }
    void cleanup() { program.reset(); }

    void numbersAndBars()
    {
        setData(100, 200, 300);
        dataX = 1111, dataY = 2222, dataINT = 333, dataCOL = 7, dataTemp = 41, dataGroup = 3;
        dataTrigger = 1;
        SetPanelData();
        QCOMPARE(datapanel->DispRED->text(), QStringLiteral("100"));
        QCOMPARE(datapanel->DispGREEN->text(), QStringLiteral("200"));
        QCOMPARE(datapanel->DispBLUE->text(), QStringLiteral("300"));
        QCOMPARE(datapanel->BarGREEN->value(), 200);
        QCOMPARE(datapanel->DispX->text(), QStringLiteral("1111"));
        QCOMPARE(datapanel->DispY->text(), QStringLiteral("2222"));
        QCOMPARE(datapanel->DispINT->text(), QStringLiteral("333"));
        QCOMPARE(datapanel->DispCOL->text(), QStringLiteral("7"));
        QCOMPARE(datapanel->DispTemp->text(), QStringLiteral("41"));
        QCOMPARE(datapanel->DispGroup->text(), QStringLiteral("3"));
        QVERIFY(datapanel->LedTrig->isOn());
        dataTrigger = 0;
        SetPanelData();
        QVERIFY(!datapanel->LedTrig->isOn());
        // A value above the bar's top shows a full bar, not the previous value.
        setData(5000, 0, 4095);
        SetPanelData();
        QCOMPARE(datapanel->BarRED->value(), 4095);
        QCOMPARE(datapanel->BarGREEN->value(), 0);
        QCOMPARE(datapanel->DispRED->text(), QStringLiteral("5000"));
    }

    void patchColour_data()
    {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("4095 2048 0") << 4095 << 2048 << 0 << QColor(255, 128, 0);
        QTest::newRow("above 4095 limited") << 4096 << 8191 << 65535 << QColor(255, 255, 255);
        QTest::newRow("dark") << 16 << 32 << 15 << QColor(1, 2, 0);
    }
    void patchColour()
    {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QFETCH(QColor, colour);
        setData(uint16_t(r), uint16_t(g), uint16_t(b));
        SetPanelData();
        QCOMPARE(QColor::fromRgb(rgbcolor), colour);
        QCOMPARE(datapanel->ColorPatch->palette().color(QPalette::Window), colour);
    }

    void col5Lamps()
    {
        paraEvalmode = EvalCol5;
        dataCOL = 5;
        SetPanelData();
        QCOMPARE(lamps(), (QList<bool>{false, false, true, false, true}));
        dataCOL = 255;
        SetPanelData();
        QCOMPARE(lamps(), (QList<bool>{true, true, true, true, true}));
        dataCOL = 18;
        SetPanelData();
        QCOMPARE(lamps(), (QList<bool>{true, false, false, true, false}));
        // Outside COL5 the lamps are left as they are.
        paraEvalmode = 0;
        dataCOL = 0;
        SetPanelData();
        QCOMPARE(lamps(), (QList<bool>{true, false, false, true, false}));
    }

    void bigWindowsFollowEvenWhileHidden()
    {
        QVERIFY(!colbigpanel->isVisible());
        dataCOL = 12, dataGroup = 4;
        SetPanelData();
        QCOMPARE(colbigpanel->DispBigCOL->text(), QStringLiteral("12"));
        QCOMPARE(grpbigpanel->DispBigGroup->text(), QStringLiteral("4"));
        mainpanel->show();
        QTest::mouseDClick(datapanel->DispCOL, Qt::LeftButton);
        QVERIFY(colbigpanel->isVisible());
        dataCOL = 255;
        SetPanelData();
        QCOMPARE(colbigpanel->DispBigCOL->text(), QStringLiteral("255"));
        test::RightClick(colbigpanel);
        QVERIFY(!colbigpanel->isVisible());
    }

    void calibrationRawValuesAndDelta_data()
    {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("delta");
        QTest::newRow("spread 200") << 100 << 300 << 200 << 200;
        QTest::newRow("equal") << 2048 << 2048 << 2048 << 0;
        QTest::newRow("blue lowest") << 4000 << 3990 << 5 << 3995;
    }
    void calibrationRawValuesAndDelta()
    {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QFETCH(int, delta);
        mainpanel->show();
        ShowChildPanel(6);
        dataRawR = uint16_t(r), dataRawG = uint16_t(g), dataRawB = uint16_t(b);
        SetPanelCalibData();
        QCOMPARE(int(deltaraw), delta);
        QCOMPARE(calibpanel->DispRawDelta->text(), QString::number(delta));
        QCOMPARE(calibpanel->DispRawR->text(), QString::number(r));
        QCOMPARE(calibpanel->DispRawG->text(), QString::number(g));
        QCOMPARE(calibpanel->DispRawB->text(), QString::number(b));
        QCOMPARE(calibpanel->BarRawB->value(), b);
    }

    void calibrationPageCatchesUpWhenShown()
    {
        mainpanel->show();
        ShowChildPanel(2);
        dataRawR = 700, dataRawG = 900, dataRawB = 800;
        SetPanelCalibData();
        QCOMPARE(deltaraw, uint16_t(200)); // computed also while the page is hidden
        ShowChildPanel(6);
        QCOMPARE(calibpanel->DispRawG->text(), QStringLiteral("900"));
        QCOMPARE(calibpanel->BarRawR->value(), 700);
        QCOMPARE(calibpanel->DispRawDelta->text(), QStringLiteral("200"));
    }

    void graphsRightClickShowInfo()
    {
        test::PopupScript popups;
        for (const char *name : {"GraphRGB", "GraphData1", "GraphInt", "GraphData2",
                                 "GraphIntBar"}) {
            auto *g = datapanel->findChild<QWidget *>(QString::fromLatin1(name));
            QVERIFY2(g, name);
            test::RightClick(g);
        }
        test::RightClick(sidesgraphs->GraphYINT);
        test::RightClick(calibpanel->DispRawDelta);
        const QList<test::ShownPopup> shown = popups.messages();
        QCOMPARE(shown.size(), 7);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(shown[i].title, QStringLiteral("INFO!"));
            QCOMPARE(shown[i].text, QStringLiteral(" Displays a signal selected with SOURCE."));
        }
        QCOMPARE(shown[5].text,
                 QStringLiteral("The four graph display a 3 sides view of the color/intensity sphere \n"
                                " plus the intensity in an extra graph."));
        QCOMPARE(shown[6].text,
                 QStringLiteral(" Displays the delta of the raw values of RED, GREEN and BLUE. \n"
                                " Delta is the peak to peak value of the lowest number of RED, GREEN or BLUE \n"
                                " and the highest number of RED, GREEN or BLUE of the RAW-DATAS."));
    }
};

QTEST_MAIN(TestLiveDisplay)
#include "tst_livedisplay.moc"
