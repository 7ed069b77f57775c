// The callbacks of the parameter controls: info texts on right click, commits that run the
// rules, operator edits of the tables.
#include "app/callbacks.h"
#include "app/cb_params.h"
#include "common/popupscript.h"
#include "link/itemlists.h"
#include "core/params/panelvalues.h"
#include "link/state.h"
#include "ui/paramfixture.h"
#include "ui/uitestutil.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "core/panels/teachpanel.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOptionSpinBox>
#include <QtTest>

using namespace tintra;
using namespace tintra::test;

class TstParamCallbacks : public QObject {
    Q_OBJECT

    std::unique_ptr<ParamPanels> panels;

    QWidget *control(const QString &name) const
    {
        for (QWidget *panel : std::initializer_list<QWidget *>{parapanel1, parapanel2, ttpanel,
                                                                teachpanel, mainpanel})
            if (auto *w = panel->findChild<QWidget *>(name))
                return w;
        return nullptr;
    }

    static QWidget *focusOn(QWidget *w) { return FocusOn(w); }
    // Moves the focused ring to the item with `code` by the arrow keys (each step commits).
    static bool choose(QComboBox *ring, int code)
    {
        QWidget *keys = focusOn(ring);
        const int index = ring->findData(code);
        for (int i = 0; keys && index >= 0 && i < ring->count() && ring->currentIndex() != index; ++i)
            QTest::keyClick(keys, ring->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
        return RingValue(ring) == code;
    }
    // Replaces the field's text by `text` and presses Enter.
    static void typeValue(QWidget *keys, const char *text)
    {
        QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(keys, QString::fromLatin1(text));
        QTest::keyClick(keys, Qt::Key_Return);
    }

private slots:
    void init()
    {
        mainpanel = new MainPanel;
        panels = std::make_unique<ParamPanels>();
        ConnectParamsCallbacks();
        InitPanelCtrlAttr();
    }
    void cleanup()
    {
        panels.reset();
        delete mainpanel;
        mainpanel = nullptr;
    }

    void infoTexts_data();
    void infoTexts();
    void groupCellEditWarns_data();
    void groupCellEditWarns();
    void teachTableEditStopsGo();
    void commitsRunRules();
    void calcModeChangeAfterHalfGet();
};

void TstParamCallbacks::infoTexts_data()
{
    QTest::addColumn<QString>("name");
    const char *rows[] = {
        "SlidePower",         "EditPmode",          "EditAverage",           "Evalmode",
        "EditIntlim",         "EditMaxcolNo",       "EditOutmode",           "EditTrigger",
        "EditExteach",        "Calcmode",           "EditDynWinLo",          "EditDynWinHi",
        "EditLedMode",        "EditGain",           "EditColorGroups",       "EditGridHold",
        "EditResetHold",      "ButtonResetGroupTable", "ButtonResetHoldTable", "EditNo",
        "RadioInc",           "GridTpValues",       "GridTpMean",            "DispTpMaxDeltaXY",
        "DispTpMaxDeltaInt",  "EditTpTeachCtoWith", "EditTpTeachItoWith",    "EditTpValueCto",
        "EditTpValueIto",
    };

    for (const char *r : rows)
        QTest::newRow(r) << QString::fromLatin1(r);
}

void TstParamCallbacks::infoTexts()
{
    QFETCH(QString, name);
    PopupScript popups;
    QWidget *w = control(name);
    QVERIFY2(w, qPrintable(name));
    target = RAM;
    const uint16_t ord = order;
    // The menu key and a right mouse click (where the pointer is: a spin box's text field, a
    // table's viewport) show the same text; the texts word for word are the control-table test's.
    MenuKey(w);
    MouseRightClick(w);

    QCOMPARE(popups.shown.size(), 2);
    for (const auto &p : popups.shown)
        QCOMPARE(p.title, QStringLiteral("INFO!"));
    QVERIFY(!popups.shown[0].text.trimmed().isEmpty());
    QCOMPARE(popups.shown[1].text, popups.shown[0].text);
    QCOMPARE(order, ord); // nothing was sent
}

void TstParamCallbacks::groupCellEditWarns_data()
{
    QTest::addColumn<int>("outmode");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("warn");
    QTest::newRow("direct hi, 5") << int(OutDirectHi) << 5 << true;
    QTest::newRow("direct lo, 4") << int(OutDirectLo) << 4 << false;
    QTest::newRow("binary, 30") << int(OutBinary) << 30 << false;
}

void TstParamCallbacks::groupCellEditWarns()
{
    QFETCH(int, outmode);
    QFETCH(int, value);
    QFETCH(bool, warn);
    PopupScript popups;
    QVERIFY(choose(parapanel1->EditOutmode, outmode));
    popups.clear();
    QTableWidget *t = parapanel2->EditGridGroups;
    QVERIFY(TypeIntoCell(t, 6, 0, QString::number(value)));
    QCOMPARE(activCell.row, 7);
    QCOMPARE(popups.messages().size(), warn ? 1 : 0);
    if (warn) {
        QCOMPARE(popups.messages()[0].title, QStringLiteral("INFO!"));
        QCOMPARE(popups.messages()[0].text,
                 QStringLiteral(" ATTENTION! \n If OUTMODE=DIRECT HI or DIRECT LO: \n 5 groups are "
                                "possible! GROUP 0,1,2,3,4. \n If OUTMODE=BINARY: \n 31 groups are "
                                "possible. GROUP 0,1,2.....30."));
    }
    QCOMPARE(int(GetCellU16(t, 1, 7)), value);
    QCOMPARE(oldCell.row, 7);
    QCOMPARE(oldCell.col, 1);
}

void TstParamCallbacks::teachTableEditStopsGo()
{
    QTableWidget *t = ttpanel->GridCtt;
    poll = 1;
    SetPanelValues(); // the program's own writes leave a running loop alone
    SetCellU16(t, 2, 3, 44);
    QCOMPARE(int(poll), 1);
    QVERIFY(TypeIntoCell(t, 2, 1, QStringLiteral("45")));
    QCOMPARE(int(GetCellU16(t, 2, 3)), 45);
    QCOMPARE(int(poll), 0);
}

void TstParamCallbacks::commitsRunRules()
{
    PopupScript popups;
    ParaPanel1 *p1 = parapanel1;
    // EXTEACH: the list shrinks and the power rule runs.
    SetRingValue(p1->EditTrigger, 3);
    QVERIFY(choose(p1->EditExteach, ExteachOn));
    QCOMPARE(p1->EditTrigger->count(), 2);

    // MAXCOL-No. by the keyboard on the focused field: Enter commits, and so does every step by
    // arrow key or arrow button.
    QSpinBox *maxcol = p1->EditMaxcolNo;
    QWidget *keys = focusOn(maxcol);
    QVERIFY(keys);
    typeValue(keys, "2");
    QCOMPARE(RowLabelColour(ttpanel->GridCtt, 3), Rgb(rowIgnoredColour));
    QCOMPARE(RowLabelColour(ttpanel->GridCtt, 2), Rgb(rowEvaluatedColour));
    SetRingValue(p1->EditOutmode, OutDirectHi);
    typeValue(keys, "5");
    popups.clear();
    QTest::keyClick(keys, Qt::Key_Up); // 6 with DIRECT HI: the warning at once
    QCOMPARE(maxcol->value(), 6);
    QCOMPARE(popups.messages().size(), 1);
    QCOMPARE(popups.messages()[0].text, QStringLiteral(" ATTENTION! \n \n MAXCOL-No. IS TOO HIGH "
                                                       "\n DECREASE MAXCOL-No. OR SWITCH TO "
                                                       "OUTMODE=BINARY"));
    QCOMPARE(RowLabelColour(ttpanel->GridCtt, 6), Rgb(rowEvaluatedColour));
    // Leaving the field without a new value (as the popup does) is no second commit.
    QTest::keyClick(keys, Qt::Key_Return);
    p1->EditIntlim->setFocus();
    QCOMPARE(popups.messages().size(), 1);
    // The arrow button, clicked with the mouse, steps and commits too.
    QStyleOptionSpinBox opt;
    opt.initFrom(maxcol);
    opt.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
    opt.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    const QRect up = maxcol->style()->subControlRect(QStyle::CC_SpinBox, &opt,
                                                     QStyle::SC_SpinBoxUp, maxcol);
    QTest::mouseClick(maxcol, Qt::LeftButton, {}, up.center());
    QCOMPARE(maxcol->value(), 7);
    QCOMPARE(popups.messages().size(), 2);
    QCOMPARE(RowLabelColour(ttpanel->GridCtt, 7), Rgb(rowEvaluatedColour));

    // 9 committed, 2 loaded (GET or file), 9 typed again: the rule runs for 9.
    SetRingValue(p1->EditOutmode, OutBinary);
    keys = focusOn(maxcol);
    typeValue(keys, "9");
    GetPanelValues();
    paraMaxVecNo = 2;
    ShowLoadedParameters();
    QCOMPARE(maxcol->value(), 2);
    QCOMPARE(RowLabelColour(ttpanel->GridCtt, 9), Rgb(rowIgnoredColour));
    keys = focusOn(maxcol);
    typeValue(keys, "9");
    QCOMPARE(RowLabelColour(ttpanel->GridCtt, 9), Rgb(rowEvaluatedColour));
    typeValue(keys, "2");

    // EVALMODE 2: tolerance column and teach panel follow.
    QVERIFY(choose(p1->Evalmode, 2));
    QVERIFY(!ColumnInUse(ttpanel->GridCtt, 3));
    QVERIFY(!teachpanel->EditTpValueCto->isEnabled());

    // PMODE DYN committed.
    QVERIFY(choose(p1->EditPmode, PmodeDyn));
    QVERIFY(!p1->EditIntlim->isEnabled());

    // RESET HOLD TABLE with 20.
    TypeInto(parapanel2->EditResetHold, 20);
    QTest::mouseClick(parapanel2->ButtonResetHoldTable, Qt::LeftButton);
    QCOMPARE(int(GetCellU16(parapanel2->EditGridHold, 1, 1)), 20);
    QCOMPARE(int(GetCellU16(parapanel2->EditGridHold, 1, 32)), 20);
    SetCellU16(parapanel2->EditGridGroups, 1, 9, 3);
    QTest::mouseClick(parapanel2->ButtonResetGroupTable, Qt::LeftButton);
    QCOMPARE(int(GetCellU16(parapanel2->EditGridGroups, 1, 9)), 0);

    // Colour groups on with DIRECT LO and a group 7: warning once.
    SetRingValue(p1->EditOutmode, OutDirectLo);
    SetCellU16(parapanel2->EditGridGroups, 1, 1, 7);
    popups.clear();
    QTest::keyClick(focusOn(parapanel2->EditColorGroups), Qt::Key_Space);
    QVERIFY(parapanel2->EditColorGroups->isChecked());
    QCOMPARE(popups.messages().size(), 1);
}

void TstParamCallbacks::calcModeChangeAfterHalfGet()
{
    PopupScript popups;
    comprotocol = 2; // no link: the send after the change fails at once
    for (int r = 1; r <= 31; ++r)
        for (int c = 1; c <= 5; ++c)
            SetCellU16(ttpanel->GridCtt, c, r, uint16_t(10 * c));
    // A GET read the parameters (the sensor is in mode 2) and then stopped: the panels still
    // show mode 0 and its arrangement.
    paraCalcmode = 2;
    QVERIFY(choose(parapanel1->Calcmode, 2));
    const int want[5] = {10, 20, 40, 30, 1};
    for (int c = 1; c <= 5; ++c)
        QCOMPARE(int(GetCellU16(ttpanel->GridCtt, c, 12)), want[c - 1]);
    QCOMPARE(CalcModeShown(), 2u);
}

QTEST_MAIN(TstParamCallbacks)
#include "tst_paramcallbacks.moc"
