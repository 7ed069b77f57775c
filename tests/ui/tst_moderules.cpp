// Mode rules of the parameter panels on real widgets.
#include "common/popupscript.h"
#include "core/graphs/graphs.h"
#include "link/itemlists.h"
#include "core/params/moderules.h"
#include "core/params/panelvalues.h"
#include "core/params/unsent.h"
#include "link/fields.h"
#include "core/params/tolerance.h"
#include "core/shell.h"
#include "ui/paramfixture.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "core/panels/tapanel.h"
#include "core/panels/teachpanel.h"
#include "core/panels/p3sidesview.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using namespace tintra;
using namespace tintra::test;

class TstModeRules : public QObject {
    Q_OBJECT

private slots:
    void powerMode_data();
    void powerMode();
    void dynThenStatKeepsIntlimZero();
    void exteachShrinksAndRestoresTriggerList();
    void exteachPowerControls_data();
    void exteachPowerControls();
    void externalTriggerForcesExteachOff();
    void evalCol5ForcesValues();
    void evalModeToleranceColumn_data();
    void evalModeToleranceColumn();
    void calcModeCaptions_data();
    void calcModeCaptions();
    void threeSidesPlaneCaptions();
    void maxVecNoLabels_data();
    void maxVecNoLabels();
    void maxColWarning_data();
    void maxColWarning();
    void groupsTooHighWarnOnceAndShowPage();
    void resetTables();
    void panelValuesRoundTrip();
    void unknownCodesKept_data();
    void unknownCodesKept();
    void loadTailRestoresExtItemsBeforeTrigger();
    void sortTableTolerance_data();
    void sortTableTolerance();
    void teachPanelCaptions_data();
    void teachPanelCaptions();
    void builtInRowColours();
};

// ---- power mode ---------------------------------------------------------------------------

void TstModeRules::powerMode_data()
{
    QTest::addColumn<int>("led");
    QTest::addColumn<int>("pmode");
    QTest::addColumn<int>("exteach");
    QTest::addColumn<int>("wantExteach");
    QTest::addColumn<int>("wantPmode");
    QTest::addColumn<bool>("pmodeOn");
    QTest::addColumn<int>("wantPower");
    QTest::addColumn<bool>("powerOn");
    QTest::addColumn<bool>("dynOn");
    QTest::addColumn<int>("wantIntlim");
    QTest::addColumn<bool>("intlimOn");
    // LED OFF: INTLIM keeps value and state (it starts at 300 and dimmed in every row).
    QTest::newRow("led off, dyn1") << 3 << 1 << 3 << 0 << 0 << false << 0 << false << false << 300
                                   << false;
    QTest::newRow("led off, exteach on") << 3 << 0 << 1 << 1 << 0 << false << 0 << false << false
                                         << 300 << false;
    QTest::newRow("dc stat") << 0 << 0 << 0 << 0 << 0 << true << 700 << true << false << 300
                             << true;
    QTest::newRow("ac dyn") << 1 << 1 << 0 << 0 << 1 << true << 700 << false << true << 0 << false;
    QTest::newRow("pulse dyn, dyn1 kept") << 2 << 1 << 3 << 3 << 1 << true << 700 << false << true
                                          << 0 << false;
}

void TstModeRules::powerMode()
{
    QFETCH(int, led);
    QFETCH(int, pmode);
    QFETCH(int, exteach);
    ParamPanels panels;
    ParaPanel1 *p = parapanel1;
    p->SlidePower->setValue(700);
    p->EditIntlim->setValue(300);
    p->EditIntlim->setEnabled(false);
    SetRingValue(p->EditLedMode, led);
    SetRingValue(p->EditPmode, pmode);
    SetRingValue(p->EditExteach, exteach);

    InitPowerMode();

    QTEST(int(RingValue(p->EditExteach)), "wantExteach");
    QTEST(int(RingValue(p->EditPmode)), "wantPmode");
    QTEST(p->EditPmode->isEnabled(), "pmodeOn");
    QTEST(p->SlidePower->value(), "wantPower");
    QTEST(p->SlidePower->isEnabled(), "powerOn");
    QTEST(p->EditDynWinLo->isEnabled(), "dynOn");
    QTEST(p->EditDynWinHi->isEnabled(), "dynOn");
    QTEST(p->EditIntlim->value(), "wantIntlim");
    QTEST(p->EditIntlim->isEnabled(), "intlimOn");
    QTEST(int(paraPmode), "wantPmode");
}

void TstModeRules::dynThenStatKeepsIntlimZero()
{
    ParamPanels panels;
    ParaPanel1 *p = parapanel1;
    p->EditIntlim->setValue(250);
    SetRingValue(p->EditPmode, PmodeDyn);
    InitPowerMode();
    QCOMPARE(p->EditIntlim->value(), 0);
    QVERIFY(!p->EditIntlim->isEnabled());
    SetRingValue(p->EditPmode, PmodeStat);
    InitPowerMode();
    QVERIFY(p->EditIntlim->isEnabled());
    QCOMPARE(p->EditIntlim->value(), 0);
}

// ---- external teach and trigger -------------------------------------------------------------

void TstModeRules::exteachShrinksAndRestoresTriggerList()
{
    ParamPanels panels;
    ParaPanel1 *p = parapanel1;
    SetRingValue(p->EditTrigger, 4); // EXT3
    SetRingValue(p->EditExteach, ExteachOn);
    InitExteach();
    QCOMPARE(ringCodes(p->EditTrigger), (QList<int>{0, 1}));
    QCOMPARE(int(RingValue(p->EditTrigger)), 0);

    // Running the rule again with ON must not touch the two remaining items.
    SetRingValue(p->EditTrigger, 1);
    InitExteach();
    QCOMPARE(ringCodes(p->EditTrigger), (QList<int>{0, 1}));
    QCOMPARE(int(RingValue(p->EditTrigger)), 1);

    SetRingValue(p->EditTrigger, 0);
    SetRingValue(p->EditExteach, ExteachOff);
    InitExteach();
    QCOMPARE(ringCodes(p->EditTrigger), (QList<int>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(p->EditTrigger->itemText(5), QStringLiteral("EXT4"));
    QCOMPARE(int(RingValue(p->EditTrigger)), 0);
    // A second OFF does not append the EXT items twice.
    InitExteach();
    QCOMPARE(p->EditTrigger->count(), 6);
}

void TstModeRules::exteachPowerControls_data()
{
    QTest::addColumn<int>("exteach");
    QTest::addColumn<int>("led");
    QTest::addColumn<bool>("pmodeOn");
    QTest::addColumn<bool>("powerOn");
    QTest::addColumn<bool>("dynOn");
    QTest::newRow("stat1") << 2 << 0 << false << true << false;
    QTest::newRow("dyn1") << 3 << 0 << false << false << true;
    QTest::newRow("on, pmode dyn") << 1 << 0 << true << false << true;
    // LED OFF: the rule stops after the TRIGGER list; the controls keep their state.
    QTest::newRow("stat1, led off") << 2 << 3 << true << true << true;
}

void TstModeRules::exteachPowerControls()
{
    QFETCH(int, exteach);
    QFETCH(int, led);
    ParamPanels panels;
    ParaPanel1 *p = parapanel1;
    SetRingValue(p->EditPmode, PmodeDyn);
    SetRingValue(p->EditLedMode, led);
    SetRingValue(p->EditExteach, exteach);
    InitExteach();
    QTEST(p->EditPmode->isEnabled(), "pmodeOn");
    QTEST(p->SlidePower->isEnabled(), "powerOn");
    QTEST(p->EditDynWinLo->isEnabled(), "dynOn");
    QTEST(p->EditDynWinHi->isEnabled(), "dynOn");
    if (led != LedmodeOff && exteach >= ExteachStat1)
        QCOMPARE(int(RingValue(p->EditPmode)), int(PmodeStat));
}

void TstModeRules::externalTriggerForcesExteachOff()
{
    ParamPanels panels;
    ParaPanel1 *p = parapanel1;
    SetRingValue(p->EditTrigger, TriggerExt1);
    SetRingValue(p->EditExteach, ExteachStat1); // as if read before the list changed
    InitTrigger();
    QCOMPARE(int(RingValue(p->EditExteach)), int(ExteachOff));
    QVERIFY(!p->EditExteach->isEnabled());
    SetRingValue(p->EditTrigger, TriggerSelf);
    InitTrigger();
    QVERIFY(p->EditExteach->isEnabled());
}

// ---- evaluation and calculation modes ------------------------------------------------------

void TstModeRules::evalCol5ForcesValues()
{
    ParamPanels panels;
    PopupScript popups;
    ParaPanel1 *p1 = parapanel1;
    ParaPanel2 *p2 = parapanel2;
    p1->EditMaxcolNo->setValue(20);
    SetRingValue(p1->EditOutmode, OutDirectLo);
    p2->EditColorGroups->setChecked(true);
    SetRingValue(p1->Evalmode, EvalCol5);
    InitEvalMode();
    QCOMPARE(p1->EditMaxcolNo->value(), 5);
    QVERIFY(!p1->EditMaxcolNo->isEnabled());
    QCOMPARE(int(RingValue(p1->EditOutmode)), int(OutBinary));
    QVERIFY(!p1->EditOutmode->isEnabled());
    QVERIFY(!p2->EditColorGroups->isChecked());
    QVERIFY(!p2->EditColorGroups->isEnabled());
    QVERIFY(!p2->EditGridGroups->isEnabled());
    QVERIFY(!p2->ButtonResetGroupTable->isEnabled());
    QVERIFY(popups.messages().isEmpty());
    // Rows 0 ... 4 are evaluated now.
    QCOMPARE(RowLabelColour(ttpanel->GridCtt, 5), Rgb(rowEvaluatedColour));
    QCOMPARE(RowLabelColour(ttpanel->GridCtt, 6), Rgb(rowIgnoredColour));

    SetRingValue(p1->Evalmode, 1);
    InitEvalMode();
    QVERIFY(p1->EditMaxcolNo->isEnabled());
    QVERIFY(p1->EditOutmode->isEnabled());
    QVERIFY(p2->EditColorGroups->isEnabled());
    QVERIFY(p2->EditGridGroups->isEnabled());
    QVERIFY(p2->ButtonResetGroupTable->isEnabled());
    QCOMPARE(p1->EditMaxcolNo->value(), 5); // forced values stay
}

void TstModeRules::evalModeToleranceColumn_data()
{
    QTest::addColumn<int>("eval");
    QTest::addColumn<int>("calc");
    QTest::addColumn<bool>("col3");
    QTest::addColumn<bool>("col4");
    QTest::newRow("eval 2, X/Y INT") << 2 << 0 << false << true;
    QTest::newRow("eval 2, s/i M") << 2 << 1 << false << true;
    QTest::newRow("eval 2, X/Y/INT") << 2 << 2 << true << false;
    QTest::newRow("eval 2, s/i/M") << 2 << 3 << true << false;
    QTest::newRow("eval 1") << 1 << 0 << true << true;
    QTest::newRow("eval 0, space") << 0 << 3 << true << true;
}

void TstModeRules::evalModeToleranceColumn()
{
    QFETCH(int, eval);
    QFETCH(int, calc);
    ParamPanels panels;
    QTableWidget *t = ttpanel->GridCtt;
    // A previous run left the other column out of use: the rule resets both.
    SetColumnInUse(t, 3, false);
    SetColumnInUse(t, 4, false);
    SetRingValue(parapanel1->Evalmode, eval);
    SetRingValue(parapanel1->Calcmode, calc);
    InitEvalMode();
    QTEST(ColumnInUse(t, 3), "col3");
    QTEST(ColumnInUse(t, 4), "col4");
    QTEST(bool(t->item(0, 2)->flags() & Qt::ItemIsEditable), "col3");
    QTEST(bool(t->item(30, 3)->flags() & Qt::ItemIsEditable), "col4");
    for (int c : {1, 2, 5}) {
        QVERIFY(ColumnInUse(t, c));
        QVERIFY(t->item(10, c - 1)->flags() & Qt::ItemIsEditable);
    }
}

void TstModeRules::calcModeCaptions_data()
{
    QTest::addColumn<int>("calc");
    QTest::addColumn<QStringList>("cols");
    QTest::addColumn<bool>("threeSides");
    QTest::newRow("0") << 0 << QStringList{"X", "Y", "CTO", "INT", "ITO"} << false;
    QTest::newRow("1") << 1 << QStringList{"s", "i", "siTO", "M", "MTO"} << false;
    QTest::newRow("2") << 2 << QStringList{"X", "Y", "INT", "TOL", ""} << true;
    QTest::newRow("3") << 3 << QStringList{"s", "i", "M", "TOL", ""} << true;
}

void TstModeRules::calcModeCaptions()
{
    QFETCH(int, calc);
    QFETCH(QStringList, cols);
    ParamPanels panels;
    p3sidesview->setVisible(calc < 2); // the rule must switch it
    SetRingValue(parapanel1->Calcmode, calc);
    InitCalcMode();
    QStringList got;
    for (int c = 1; c <= 5; ++c)
        got << ColumnCaption(ttpanel->GridCtt, c);
    QCOMPARE(got, cols);
    QTEST(p3sidesview->isVisible(), "threeSides");
    // The names COMPARE and tintractl give the fields are the captions the panels show: the
    // control's caption, or the table's, row header's and column's.
    for (int w = 0; w < anzpara; ++w) {
        const ParaField f = FieldOf(w);
        QString shown;
        if (auto *box = qobject_cast<QCheckBox *>(f.control))
            shown = box->text();
        else if (f.control)
            shown = Caption(f.control);
        else
            shown = QStringLiteral("%1 %2: %3")
                        .arg(f.table == ttpanel->GridCtt           ? "COLOR TEACH TABLE"
                             : f.table == parapanel2->EditGridGroups ? "GROUP TABLE"
                                                                     : "HOLD TABLE",
                             f.table->verticalHeaderItem(f.row - 1)->text(), ColumnCaption(f.table, f.col));
        QCOMPARE(FieldName(w, CalcModeShown()), shown);
    }
}

void TstModeRules::threeSidesPlaneCaptions()
{
    ParamPanels panels;
    CreateGraphs(nullptr, p3sidesview);
    QVERIFY(sidesgraphs);
    // The caption the operator reads above each plane graph, in each calculation mode (the
    // plane modes leave the last ones standing).
    const struct {
        int calc;
        QStringList captions;
    } modes[] = {{3, {"s/i", "s/M", "i/M"}},
                 {2, {"X/Y", "X/INT", "Y/INT"}},
                 {1, {"X/Y", "X/INT", "Y/INT"}},
                 {3, {"s/i", "s/M", "i/M"}},
                 {0, {"s/i", "s/M", "i/M"}}};
    p3sidesview->show();
    for (const auto &m : modes) {
        SetRingValue(parapanel1->Calcmode, m.calc);
        InitCalcMode();
        for (int k = 0; k < 3; ++k) {
            QWidget *plane = sidesgraphs->plane(k);
            QLabel *caption = LabelOf(plane);
            QVERIFY(caption);
            QCOMPARE(caption->text(), m.captions[k]);
            // Shown whenever its graph is, right above it.
            QVERIFY(plane->isVisibleTo(p3sidesview));
            QVERIFY(caption->isVisibleTo(p3sidesview));
            const QRect c(caption->mapTo(p3sidesview, QPoint()), caption->size());
            const QRect g(plane->mapTo(p3sidesview, QPoint()), plane->size());
            QVERIFY(c.bottom() <= g.top() && g.top() - c.bottom() < 20);
            QVERIFY(c.left() < g.center().x() && c.right() > g.center().x());
        }
    }
}

// ---- MAXCOL-No. ---------------------------------------------------------------------------

void TstModeRules::maxVecNoLabels_data()
{
    QTest::addColumn<int>("maxcol");
    QTest::newRow("0") << 0;
    QTest::newRow("1") << 1;
    QTest::newRow("5") << 5;
    QTest::newRow("30") << 30;
    QTest::newRow("31") << 31;
}

void TstModeRules::maxVecNoLabels()
{
    QFETCH(int, maxcol);
    ParamPanels panels;
    PopupScript popups;
    const QColor green = Rgb(rowEvaluatedColour), red = Rgb(rowIgnoredColour);
    const QColor before(Qt::blue);
    SetRowLabelColour(parapanel2->EditGridHold, 1, before);
    parapanel1->EditMaxcolNo->setValue(maxcol);
    InitMaxVecNo();
    QCOMPARE(int(paraMaxVecNo), maxcol);
    for (int r = 1; r <= 31; ++r) {
        const QColor want = r <= maxcol ? green : red;
        QCOMPARE(RowLabelColour(ttpanel->GridCtt, r), want);
        QCOMPARE(RowLabelColour(tapanel->GridTa, r), want);
        QCOMPARE(RowLabelColour(parapanel2->EditGridGroups, r), want);
        QCOMPARE(RowLabelColour(parapanel2->EditGridHold, r + 1), want);
    }
    // The 255 row is green as soon as one row is evaluated, else it keeps its colour.
    QCOMPARE(RowLabelColour(parapanel2->EditGridHold, 1), maxcol == 0 ? before : green);
}

void TstModeRules::maxColWarning_data()
{
    QTest::addColumn<int>("maxcol");
    QTest::addColumn<int>("outmode");
    QTest::addColumn<bool>("groups");
    QTest::addColumn<bool>("warn");
    QTest::newRow("6, direct lo") << 6 << int(OutDirectLo) << false << true;
    QTest::newRow("6, direct hi") << 6 << int(OutDirectHi) << false << true;
    QTest::newRow("5, direct lo") << 5 << int(OutDirectLo) << false << false;
    QTest::newRow("31, binary") << 31 << int(OutBinary) << false << false;
    QTest::newRow("6, direct lo, groups") << 6 << int(OutDirectLo) << true << false;
}

void TstModeRules::maxColWarning()
{
    QFETCH(int, maxcol);
    QFETCH(int, outmode);
    QFETCH(bool, groups);
    QFETCH(bool, warn);
    ParamPanels panels;
    PopupScript popups;
    parapanel1->EditMaxcolNo->setValue(maxcol);
    SetRingValue(parapanel1->EditOutmode, outmode);
    parapanel2->EditColorGroups->setChecked(groups);
    InitMaxVecNo();
    const QList<ShownPopup> shown = popups.messages();
    QCOMPARE(shown.size(), warn ? 1 : 0);
    if (warn) {
        QCOMPARE(shown[0].title, QStringLiteral("INFO!"));
        QCOMPARE(shown[0].text,
                 QStringLiteral(" ATTENTION! \n \n MAXCOL-No. IS TOO HIGH \n DECREASE MAXCOL-No. OR "
                                            "SWITCH TO OUTMODE=BINARY"));
    }
    QCOMPARE(parapanel1->EditMaxcolNo->value(), maxcol); // advisory only
}

void TstModeRules::groupsTooHighWarnOnceAndShowPage()
{
    ParamPanels panels;
    PopupScript popups;
    parapanel1->show();
    parapanel2->hide();
    parapanel1->EditMaxcolNo->setValue(10);
    SetRingValue(parapanel1->EditOutmode, OutDirectHi);
    parapanel2->EditColorGroups->setChecked(true);
    SetCellU16(parapanel2->EditGridGroups, 1, 3, 5);
    SetCellU16(parapanel2->EditGridGroups, 1, 31, 9);
    InitMaxVecNo();
    QVERIFY(parapanel2->isVisible()); // sensor parameters 2 is shown
    QVERIFY(!parapanel1->isVisible());
    QCOMPARE(popups.messages().size(), 1);
    QCOMPARE(popups.messages()[0].text,
             QStringLiteral(" ATTENTION! \n If OUTMODE=DIRECT HI or DIRECT LO: \n 5 groups are "
                            "possible! GROUP 0,1,2,3,4. \n If OUTMODE=BINARY: \n 31 groups are "
                            "possible. GROUP 0,1,2.....30."));
    QCOMPARE(GetCellU16(parapanel2->EditGridGroups, 1, 3), uint16_t(5));

    // With groups 0 ... 4 only, nothing is said.
    popups.clear();
    SetCellU16(parapanel2->EditGridGroups, 1, 3, 4);
    SetCellU16(parapanel2->EditGridGroups, 1, 31, 0);
    InitMaxVecNo();
    QVERIFY(popups.messages().isEmpty());
}

void TstModeRules::resetTables()
{
    ParamPanels panels;
    for (int r = 1; r <= 32; ++r)
        SetCellU16(parapanel2->EditGridHold, 1, r, 7);
    for (int r = 1; r <= 31; ++r)
        SetCellU16(parapanel2->EditGridGroups, 1, r, 3);
    parapanel2->EditResetHold->setValue(20);
    ResetHoldTable();
    for (int r = 1; r <= 32; ++r)
        QCOMPARE(GetCellU16(parapanel2->EditGridHold, 1, r), uint16_t(20));
    ResetGroupTable();
    for (int r = 1; r <= 31; ++r)
        QCOMPARE(GetCellU16(parapanel2->EditGridGroups, 1, r), uint16_t(0));
}

// ---- panel values ---------------------------------------------------------------------------

void TstModeRules::panelValuesRoundTrip()
{
    ParamPanels panels;
    // Codes each ring holds, so every value can be shown.
    const uint16_t scalars[16] = {812, 1, 16, 2, 77, 345, 17, 2, 3, 0, 3, 1111, 2222, 1, 2, 6};
    for (int i = 0; i < 16; ++i)
        *paraScalars[i] = scalars[i];
    for (int i = 0; i < anzVec * 5; ++i)
        paraTeachTable[i] = uint16_t(1000 + i);
    for (int r = 0; r < anzVec; ++r) {
        paraGroupBuf[r] = uint16_t(r);
        paraHoldBuf[r] = uint16_t(500 + r);
    }
    SetPanelValues();
    QCOMPARE(GetCellU16(parapanel2->EditGridHold, 1, 1), uint16_t(77));
    QCOMPARE(GetCellU16(parapanel2->EditGridHold, 1, 2), uint16_t(500));
    QCOMPARE(GetCellU16(ttpanel->GridCtt, 5, 31), uint16_t(1000 + 154));

    for (int i = 0; i < 16; ++i)
        *paraScalars[i] = 0;
    std::fill(std::begin(paraTeachTable), std::end(paraTeachTable), 0);
    std::fill(std::begin(paraGroupBuf), std::end(paraGroupBuf), 0);
    std::fill(std::begin(paraHoldBuf), std::end(paraHoldBuf), 0);
    GetPanelValues();
    for (int i = 0; i < 16; ++i)
        QCOMPARE(*paraScalars[i], scalars[i]);
    for (int i = 0; i < anzVec * 5; ++i)
        QCOMPARE(paraTeachTable[i], uint16_t(1000 + i));
    for (int r = 0; r < anzVec; ++r) {
        QCOMPARE(paraGroupBuf[r], uint16_t(r));
        QCOMPARE(paraHoldBuf[r], uint16_t(500 + r));
    }
}

void TstModeRules::unknownCodesKept_data()
{
    QTest::addColumn<QString>("ring");
    QTest::addColumn<int>("word"); // place in the parameter set
    QTest::addColumn<int>("code");
    QTest::newRow("PMODE") << "EditPmode" << 1 << 65535;
    QTest::newRow("AVERAGE") << "EditAverage" << 2 << 3;
    QTest::newRow("EVALMODE") << "Evalmode" << 3 << 65535;
    QTest::newRow("OUTMODE") << "EditOutmode" << 7 << 65535;
    QTest::newRow("TRIGGER") << "EditTrigger" << 8 << 9;
    QTest::newRow("EXTEACH") << "EditExteach" << 9 << 65535;
    QTest::newRow("CALCMODE") << "Calcmode" << 10 << 65535;
    QTest::newRow("LED MODE") << "EditLedMode" << 14 << 65535;
    QTest::newRow("GAIN") << "EditGain" << 15 << 77;
}

void TstModeRules::unknownCodesKept()
{
    QFETCH(QString, ring);
    QFETCH(int, word);
    QFETCH(int, code);
    ParamPanels panels;
    PopupScript popups;
    auto *c = parapanel1->findChild<QComboBox *>(ring);
    QVERIFY(c);
    const int known = c->count();
    GetPanelValues();
    *paraScalars[word] = uint16_t(code);
    ShowLoadedParameters(); // as after GET or a file load
    *paraScalars[word] = 0;
    GetPanelValues();
    QCOMPARE(int(*paraScalars[word]), code); // goes back as read
    QCOMPARE(c->currentText(), QStringLiteral("? %1").arg(code)); // marked, with its number
    QCOMPARE(c->count(), known + 1);
    // Shown again: still one marked item. A known code read later removes it.
    ShowLoadedParameters();
    QCOMPARE(c->count(), known + 1);
    *paraScalars[word] = uint16_t(c->itemData(1).toInt());
    ShowLoadedParameters();
    QCOMPARE(c->count(), known);
    QCOMPARE(c->currentIndex(), 1);
}

void TstModeRules::loadTailRestoresExtItemsBeforeTrigger()
{
    ParamPanels panels;
    PopupScript popups;
    SetRingValue(parapanel1->EditExteach, ExteachOn);
    InitExteach();
    QCOMPARE(parapanel1->EditTrigger->count(), 2);
    GetPanelValues();
    paraExteach = ExteachOff;
    paraTrigger = 3;
    ShowLoadedParameters();
    QCOMPARE(parapanel1->EditTrigger->currentText(), QStringLiteral("EXT2"));
    QCOMPARE(int(RingValue(parapanel1->EditTrigger)), 3);
    // The trigger rule then dims EXTEACH.
    QVERIFY(!parapanel1->EditExteach->isEnabled());
}

// ---- teach table columns ------------------------------------------------------------------

void TstModeRules::sortTableTolerance_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("row");
    QTest::addColumn<QList<int>>("want");
    const QList<int> row{1000, 2000, 150, 3000, 80};
    QTest::newRow("0 -> 2") << 0 << 2 << row << QList<int>{1000, 2000, 3000, 150, 1};
    QTest::newRow("1 -> 3") << 1 << 3 << row << QList<int>{1000, 2000, 3000, 150, 1};
    QTest::newRow("2 -> 0") << 2 << 0 << QList<int>{1000, 2000, 3000, 150, 1}
                            << QList<int>{1000, 2000, 150, 3000, 150};
    QTest::newRow("3 -> 1") << 3 << 1 << QList<int>{1000, 2000, 3000, 150, 1}
                            << QList<int>{1000, 2000, 150, 3000, 150};
    QTest::newRow("0 -> 1") << 0 << 1 << row << row;
    QTest::newRow("2 -> 3") << 2 << 3 << row << row;
}

void TstModeRules::sortTableTolerance()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, row);
    QFETCH(QList<int>, want);
    ParamPanels panels;
    for (int r = 1; r <= 31; ++r)
        for (int c = 1; c <= 5; ++c)
            SetCellU16(ttpanel->GridCtt, c, r, uint16_t(row[c - 1] + (r == 31 ? 1 : 0)));
    paraCalcmode = uint16_t(from);
    SetRingValue(parapanel1->Calcmode, to);
    SortTableTolerance();
    QCOMPARE(int(paraCalcmode), to);
    for (int c = 1; c <= 5; ++c) {
        QCOMPARE(int(GetCellU16(ttpanel->GridCtt, c, 1)), want[c - 1]);
        // Every row moves, the last one too (its words differ by one, the constant 1 stays 1).
        const int last = want[c - 1] == 1 && from < 2 && to >= 2 ? 1 : want[c - 1] + 1;
        QCOMPARE(int(GetCellU16(ttpanel->GridCtt, c, 31)), last);
    }
}

// ---- mean-value teach panel ---------------------------------------------------------------

void TstModeRules::teachPanelCaptions_data()
{
    QTest::addColumn<int>("calc");
    QTest::addColumn<QString>("col4");
    QTest::addColumn<QString>("firstDist");
    QTest::addColumn<QString>("secondDist");
    QTest::addColumn<QString>("ctoValue");
    QTest::addColumn<QString>("ctoItem2");
    QTest::addColumn<bool>("itoVisible");
    QTest::newRow("0") << 0 << "X" << "d (X/Y)" << "d INT" << "VALUE CTO" << "d (X/Y)+VALUE CTO"
                       << true;
    QTest::newRow("1") << 1 << "s" << "d (s/i)" << "d M" << "VALUE siTO"
                       << "d (s/i)+VALUE siTO" << true;
    // Mode 2 leaves the second distance caption as the previous mode (1) set it.
    QTest::newRow("2") << 2 << "X" << "d (X/Y/INT)" << "d M" << "VALUE TOL"
                       << "d (X/Y/INT)+VALUE TOL" << false;
    QTest::newRow("3") << 3 << "s" << "d (s/i/INT)" << "d M" << "VALUE TOL"
                       << "d (s/i/INT)+VALUE TOL" << false;
}

void TstModeRules::teachPanelCaptions()
{
    QFETCH(int, calc);
    ParamPanels panels;
    teachpanel->show();
    paraCalcmode = 1;
    InitTeachPanel();
    paraCalcmode = uint16_t(calc);
    InitTeachPanel();
    TeachPanel *t = teachpanel;
    QTEST(ColumnCaption(t->GridTpValues, 4), "col4");
    QTEST(ColumnCaption(t->GridTpMean, 4), "col4");
    QTEST(Caption(t->DispTpMaxDeltaXY), "firstDist");
    QTEST(Caption(t->DispTpMaxDeltaInt), "secondDist");
    QTEST(Caption(t->EditTpValueCto), "ctoValue");
    QTEST(t->EditTpTeachCtoWith->itemText(2), "ctoItem2");
    QCOMPARE(t->EditTpTeachCtoWith->itemText(3), QStringLiteral("NO CHANGE"));
    QCOMPARE(t->EditTpTeachCtoWith->itemData(2).toInt(), 2);
    QTEST(t->EditTpValueIto->isVisible(), "itoVisible");
    QTEST(t->EditTpTeachItoWith->isVisible(), "itoVisible");
    QTEST(t->DispTpMaxDeltaInt->isVisible(), "itoVisible");

    SetRingValue(parapanel1->Evalmode, 2);
    InitTeachPanel();
    QVERIFY(!t->EditTpTeachCtoWith->isEnabled());
    QVERIFY(!t->EditTpValueCto->isEnabled());
    SetRingValue(parapanel1->Evalmode, 0);
    InitTeachPanel();
    QVERIFY(t->EditTpTeachCtoWith->isEnabled());
    QVERIFY(t->EditTpValueCto->isEnabled());
}

// ---- row colours --------------------------------------------------------------------------

void TstModeRules::builtInRowColours()
{
    ParamPanels panels;
    PaintAllRows();
    for (int r : {0, 15, 30}) {
        QCOMPARE(CellColour(ttpanel->GridCtt, 6, r + 1), 0xFF0000);
        QCOMPARE(CellColour(tapanel->GridTa, 2, r + 1), 0xFF0000);
        QCOMPARE(CellColour(parapanel2->EditGridGroups, 2, r + 1), 0xFF0000);
        QCOMPARE(CellColour(parapanel2->EditGridHold, 2, r + 2), 0xFF0000);
    }
    QCOMPARE(CellColour(ttpanel->GridCtt, 6, 15), 0x800000);  // entry 14
    QCOMPARE(CellColour(parapanel2->EditGridHold, 2, 4), 0x0000FF); // row 2
    for (int k = 0; k < 15; ++k) {
        QCOMPARE(sicolarr[k + 15], sicolarr[k]);
        QCOMPARE(sicolarr[k + 30], sicolarr[k]);
    }
}

QTEST_MAIN(TstModeRules)
#include "tst_moderules.moc"
