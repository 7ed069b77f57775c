#include "calibpanel.h"

#include "controls.h"
#include "core/info.h"
#include "widgets/colourbar.h"

#include <QGridLayout>
#include <QLabel>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tintra {

namespace {

QSpinBox *field(QWidget *parent, const char *name, int lo, int hi, int start, const char *info)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(lo, hi);
    s->setValue(start);
    s->setFont(NumericFont(11));
    s->setAlignment(Qt::AlignRight);
    SetInfo(s, info);
    return s;
}


// A named container for three bars stacked like the rows beside them.
QWidget *barColumn(QWidget *parent, const char *name, const char *info)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    SetInfo(w, info);
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    return w;
}

} // namespace

CalibPanel::CalibPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("calibpanel"));
    auto *outer = new QVBoxLayout(this);

    // Raw values of the current frame: numbers, bars and the spread between them; beside the raw
    // bars the calibrated values of the same frame.
    auto *rawBox = new QGroupBox(QStringLiteral("RAW DATA"), this);
    auto *grid = new QGridLayout(rawBox);
    DispBarsRAW = barColumn(rawBox, "DispBarsRAW", "InfoDispBarsRAW");
    DispBars = barColumn(rawBox, "DispBars", "InfoDispCalibBars");
    struct Row {
        QLineEdit *CalibPanel::*disp;
        ColourBar *CalibPanel::*raw;
        ColourBar *CalibPanel::*cal;
        const char *dispName, *rawName, *calName, *caption, *colour;
    };
    const Row rows[] = {
        {&CalibPanel::DispRawR, &CalibPanel::BarRawR, &CalibPanel::BarCalR, "DispRawR", "BarRawR",
         "BarCalR", "RAW R", "#e02020"},
        {&CalibPanel::DispRawG, &CalibPanel::BarRawG, &CalibPanel::BarCalG, "DispRawG", "BarRawG",
         "BarCalG", "RAW G", "#20b020"},
        {&CalibPanel::DispRawB, &CalibPanel::BarRawB, &CalibPanel::BarCalB, "DispRawB", "BarRawB",
         "BarCalB", "RAW B", "#2040e0"},
    };
    int r = 0;
    for (const Row &row : rows) {
        QLineEdit *d = MakeDisplay(rawBox, row.dispName, 5);
        SetInfo(d, "InfoDispBarsRAW");
        this->*row.disp = d;
        this->*row.raw = MakeColourBar(DispBarsRAW, row.rawName, row.colour, "InfoDispBarsRAW", 110);
        this->*row.cal = MakeColourBar(DispBars, row.calName, row.colour, "InfoDispCalibBars", 110);
        DispBarsRAW->layout()->addWidget(this->*row.raw);
        DispBars->layout()->addWidget(this->*row.cal);
        grid->addWidget(MakeCaption(rawBox, nullptr, QString::fromLatin1(row.caption), d), r, 0);
        grid->addWidget(d, r, 1);
        ++r;
    }
    // The bar columns are named below the bars, in the row of DELTA: a row of captions above
    // them would cost the page its fit on a small screen with the taller fonts.
    grid->addWidget(DispBarsRAW, 0, 2, 3, 1);
    grid->addWidget(DispBars, 0, 3, 3, 1);
    grid->addWidget(MakeCaption(rawBox, nullptr, QStringLiteral("RAW"), DispBarsRAW), 3, 2,
                    Qt::AlignHCenter);
    grid->addWidget(MakeCaption(rawBox, nullptr, QStringLiteral("CALIBRATED"), DispBars), 3, 3,
                    Qt::AlignHCenter);
    DispRawDelta = MakeDisplay(rawBox, "DispRawDelta", 5);
    SetInfo(DispRawDelta, "InfoDispRawDelta");
    grid->addWidget(MakeCaption(rawBox, nullptr, QStringLiteral("DELTA"), DispRawDelta), 3, 0);
    grid->addWidget(DispRawDelta, 3, 1);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);
    outer->addWidget(rawBox);

    // What the calibration aims at and how far apart the raw values may be.
    auto *calcBox = new QGroupBox(QStringLiteral("WHITE LIGHT CALIBRATION"), this);
    auto *calc = new QGridLayout(calcBox);
    EditSetValue = field(calcBox, "EditSetValue", 100, 4095, 2048, "InfoEditSetValue");
    EditMaxDelta = field(calcBox, "EditMaxDelta", 0, 4095, 400, "InfoEditMaxDelta");
    calc->addWidget(MakeCaption(calcBox, nullptr, QStringLiteral("SET VALUE"), EditSetValue), 0, 0);
    calc->addWidget(EditSetValue, 0, 1);
    calc->addWidget(MakeCaption(calcBox, nullptr, QStringLiteral("MAXIMUM DELTA"), EditMaxDelta),
                    1, 0);
    calc->addWidget(EditMaxDelta, 1, 1);
    ButtonCalcCF = MakeButton(calcBox, "ButtonCalcCF", QStringLiteral("CALCULATE CALIBRATION FACTORS"));
    SetInfo(ButtonCalcCF, "InfoButtonCalcCF");
    SetButtonColour(ButtonCalcCF, 0xE0E0E0); // light grey, as after the blinking of a calibration
    calc->addWidget(ButtonCalcCF, 2, 0, 1, 3);
    calc->setColumnStretch(2, 1);
    outer->addWidget(calcBox);

    // The factors the sensor applies, and writing or reading them by hand.
    auto *cfBox = new QGroupBox(QStringLiteral("CALIBRATION FACTORS"), this);
    auto *cfGrid = new QGridLayout(cfBox);
    struct CfRow {
        QSpinBox *CalibPanel::*edit;
        const char *name, *caption;
    };
    const CfRow cfRows[] = {{&CalibPanel::EditCFR, "EditCFR", "CF R"},
                            {&CalibPanel::EditCFG, "EditCFG", "CF G"},
                            {&CalibPanel::EditCFB, "EditCFB", "CF B"}};
    r = 0;
    for (const CfRow &row : cfRows) {
        QSpinBox *e = field(cfBox, row.name, 0, 65535, 1024, "InfoEditCF");
        this->*row.edit = e;
        cfGrid->addWidget(MakeCaption(cfBox, nullptr, QString::fromLatin1(row.caption), e), r, 0);
        cfGrid->addWidget(e, r, 1);
        ++r;
    }
    ButtonSendCF = MakeButton(cfBox, "ButtonSendCF", QStringLiteral("SEND CF"));
    SetInfo(ButtonSendCF, "InfoButtonSendCF");
    ButtonGetCF = MakeButton(cfBox, "ButtonGetCF", QStringLiteral("GET CF"));
    SetInfo(ButtonGetCF, "InfoButtonGetCF");
    cfGrid->addWidget(ButtonSendCF, 0, 2);
    cfGrid->addWidget(ButtonGetCF, 1, 2);
    cfGrid->setColumnStretch(3, 1);
    outer->addWidget(cfBox);

    // Captions in one column width, so the values of the three boxes line up.
    const int captionWidth =
        fontMetrics().horizontalAdvance(QStringLiteral("MAXIMUM DELTA")) + 12;
    for (QGridLayout *g : {grid, calc, cfGrid})
        g->setColumnMinimumWidth(0, captionWidth);
    // Tighter from top to bottom than the style's margins, as on the data panel: the page fits
    // a small screen also with fonts of a larger line height.
    for (QGroupBox *box : {rawBox, calcBox, cfBox}) {
        const QMargins m = box->layout()->contentsMargins();
        box->layout()->setContentsMargins(m.left(), compactBoxMargin, m.right(), compactBoxMargin);
    }
    outer->addStretch(1);
}

} // namespace tintra
