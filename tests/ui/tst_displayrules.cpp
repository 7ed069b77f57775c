// What the mode rules change on the data panel: the trigger lamp, the group and colour-number
// displays, the COL5 lamps, captions and colours after CALCMODE, and the SOURCE selection.
#include "common/popupscript.h"
#include "core/graphs/dispnames.h"
#include "core/panels/controls.h"
#include "link/itemlists.h"
#include "ui/paramfixture.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/datapanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/p3sidesview.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace tintra;
using namespace tintra::test;

namespace {

bool shown(const QWidget *w) { return !w->isHidden(); }

} // namespace

class TstDisplayRules : public QObject {
    Q_OBJECT

private slots:
    void triggerLamp_data();
    void triggerLamp();
    void groupDisplays();
    void col5Lamps();
    void dispNames_data();
    void dispNames();
    void sourceItemsFollowCalcMode();
    void dispVis_data();
    void dispVis();
};

void TstDisplayRules::triggerLamp_data()
{
    QTest::addColumn<int>("trigger");
    QTest::addColumn<bool>("lamp");
    QTest::newRow("CONT") << 0 << false;
    QTest::newRow("SELF") << 1 << true;
    QTest::newRow("EXT1") << 2 << true;
    QTest::newRow("EXT4") << 5 << true;
}

void TstDisplayRules::triggerLamp()
{
    QFETCH(int, trigger);
    ParamPanels panels;
    datapanel->LedTrig->setVisible(trigger == 0);
    SetRingValue(parapanel1->EditTrigger, trigger);
    InitTrigger();
    QTEST(shown(datapanel->LedTrig), "lamp");
}

void TstDisplayRules::groupDisplays()
{
    ParamPanels panels;
    grpbigpanel->show();
    parapanel2->EditColorGroups->setChecked(false);
    InitColorGroups();
    QVERIFY(!shown(datapanel->DispGroup));
    QVERIFY(!shown(LabelOf(datapanel->DispGroup)));
    QVERIFY(!grpbigpanel->isVisible());

    parapanel2->EditColorGroups->setChecked(true);
    InitColorGroups();
    QVERIFY(shown(datapanel->DispGroup));
    QVERIFY(shown(LabelOf(datapanel->DispGroup)));
    QVERIFY(!grpbigpanel->isVisible()); // the big window opens by double click only

    // COL5 switches the groups off and hides both displays.
    grpbigpanel->show();
    SetRingValue(parapanel1->Evalmode, EvalCol5);
    InitEvalMode();
    QVERIFY(!shown(datapanel->DispGroup));
    QVERIFY(!grpbigpanel->isVisible());
}

void TstDisplayRules::col5Lamps()
{
    ParamPanels panels;
    PopupScript popups;
    SetRingValue(parapanel1->Evalmode, EvalCol5);
    InitEvalMode();
    QVERIFY(!shown(datapanel->DispCOL));
    QVERIFY(!shown(LabelOf(datapanel->DispCOL)));
    QVERIFY(shown(datapanel->Col5Lamps));
    for (QWidget *l : std::initializer_list<QWidget *>{datapanel->LedCol16, datapanel->LedCol8,
                                                        datapanel->LedCol4, datapanel->LedCol2,
                                                        datapanel->LedCol1})
        QVERIFY(shown(l));

    SetRingValue(parapanel1->Evalmode, 0);
    InitEvalMode();
    QVERIFY(shown(datapanel->DispCOL));
    QVERIFY(!shown(datapanel->Col5Lamps));
    QVERIFY(!shown(datapanel->LedCol1));
}

void TstDisplayRules::dispNames_data()
{
    QTest::addColumn<int>("calc");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("xBack");
    QTest::addColumn<int>("xText");
    QTest::addColumn<int>("yBack");
    QTest::addColumn<int>("yText");
    const QStringList xy{"X", "Y", "INT"}, si{"s", "i", "M"};
    QTest::newRow("0") << 0 << xy << 0xFF0000 << 0xE0E0E0 << 0x00FF00 << 0xE0E0E0;
    QTest::newRow("1") << 1 << si << 0xFF0000 << 0x00FF00 << 0xFFFF00 << 0x80FFFF;
    QTest::newRow("2") << 2 << xy << 0xFF0000 << 0xE0E0E0 << 0x00FF00 << 0xE0E0E0;
    QTest::newRow("3") << 3 << si << 0xFF0000 << 0x00FF00 << 0xFFFF00 << 0x80FFFF;
}

void TstDisplayRules::dispNames()
{
    QFETCH(int, calc);
    QFETCH(QStringList, captions);
    ParamPanels panels;
    // Start from the other family so that every caption and colour has to change.
    SetRingValue(parapanel1->Calcmode, calc % 2 ? 0 : 1);
    SetDispNames();
    SetRingValue(parapanel1->Calcmode, calc);
    InitEvalMode(); // ends with SetDispNames
    QCOMPARE((QStringList{datapanel->CaptionX->text(), datapanel->CaptionY->text(),
                          datapanel->CaptionINT->text()}),
             captions);
    QTEST(RgbOf(datapanel->DispX->palette().color(QPalette::Base)), "xBack");
    QTEST(RgbOf(datapanel->DispX->palette().color(QPalette::Text)), "xText");
    QTEST(RgbOf(datapanel->DispY->palette().color(QPalette::Base)), "yBack");
    QTEST(RgbOf(datapanel->DispY->palette().color(QPalette::Text)), "yText");
}

void TstDisplayRules::sourceItemsFollowCalcMode()
{
    ParamPanels panels;
    QComboBox *src = datapanel->SelectSource;
    const QString item0 = src->itemText(0);
    const char *want[4][3] = {{"X/Y", "INT", "X/Y INT"},
                              {"s/i", "M", "s/i M"},
                              {"X/Y", "INT", "X/Y/INT"},
                              {"s/i", "M", "s/i/M"}};
    for (int calc : {3, 1, 2, 0}) {
        SetRingValue(parapanel1->Calcmode, calc);
        InitCalcMode();
        QCOMPARE(src->itemText(0), item0);
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(src->itemText(k + 1), QString::fromLatin1(want[calc][k]));
            QCOMPARE(src->itemData(k + 1).toInt(), k + 1);
        }
    }
}

void TstDisplayRules::dispVis_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("calc");
    QTest::addColumn<bool>("bars");
    QTest::addColumn<bool>("values");
    QTest::addColumn<bool>("threeSides");
    QTest::newRow("0") << 0 << 2 << true << false << false;
    QTest::newRow("1") << 1 << 0 << false << true << false;
    QTest::newRow("3, plane mode") << 3 << 0 << false << true << false;
    QTest::newRow("3, space mode") << 3 << 2 << false << true << true;
}

void TstDisplayRules::dispVis()
{
    QFETCH(int, source);
    QFETCH(int, calc);
    ParamPanels panels;
    SetRingValue(parapanel1->Calcmode, calc);
    SetRingValue(datapanel->SelectSource, source);
    DispVis();
    QCOMPARE(int(tintra::source), source);
    QTEST(datapanel->BarRED->isVisibleTo(datapanel), "bars");
    QTEST(datapanel->BarBLUE->isVisibleTo(datapanel), "bars");
    QTEST(datapanel->findChild<QWidget *>("DispRGB")->isVisibleTo(datapanel), "bars");
    QTEST(datapanel->DispX->isVisibleTo(datapanel), "values");
    QTEST(datapanel->CaptionINT->isVisibleTo(datapanel), "values");
    QTEST(p3sidesview->isVisible(), "threeSides");
    // The numeric RGB, colour-number and temperature displays do not follow SOURCE.
    QVERIFY(datapanel->DispRED->isVisibleTo(datapanel));
    QVERIFY(datapanel->DispBLUE->isVisibleTo(datapanel));
    QVERIFY(datapanel->DispTemp->isVisibleTo(datapanel));
}

QTEST_MAIN(TstDisplayRules)
#include "tst_displayrules.moc"
