#include "parapanel1.h"

#include "controls.h"
#include "core/info.h"
#include "core/panels/cells.h"
#include "link/itemlists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

namespace tintra {

namespace {

QComboBox *ring(QWidget *parent, const char *name, std::span<const RingItem> items)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    FillRing(c, items);
    return c;
}

QSpinBox *numeric(QWidget *parent, const char *name, int max)
{
    auto *s = new StepSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, max);
    return s;
}

// The POWER slider with its number beside it. The number follows every change of the value,
// also one the program makes with the slider's signals blocked (GET, file load, mode rules).
class PowerSlider : public QSlider {
public:
    PowerSlider(QLabel *number, QWidget *parent) : QSlider(Qt::Horizontal, parent), number(number)
    {
    }

protected:
    void sliderChange(SliderChange change) override
    {
        QSlider::sliderChange(change);
        if (change == SliderValueChange)
            number->setNum(value());
    }

private:
    QLabel *number;
};

} // namespace

ParaPanel1::ParaPanel1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("parapanel1"));

    auto *powerValue = new QLabel(QStringLiteral("0"), this);
    powerValue->setObjectName(QStringLiteral("DispPower"));
    powerValue->setMinimumWidth(powerValue->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    SlidePower = new PowerSlider(powerValue, this);
    SlidePower->setObjectName(QStringLiteral("SlidePower"));
    SlidePower->setRange(0, 1000);

    EditPmode = ring(this, "EditPmode", pmodeItems);
    EditAverage = ring(this, "EditAverage", averageItems);
    Evalmode = ring(this, "Evalmode", evalmodeItems);
    EditIntlim = numeric(this, "EditIntlim", 65535);
    EditMaxcolNo = numeric(this, "EditMaxcolNo", 31);
    EditOutmode = ring(this, "EditOutmode", outmodeItems);
    EditTrigger = ring(this, "EditTrigger", triggerItems);
    EditExteach = ring(this, "EditExteach", exteachItems);
    Calcmode = ring(this, "Calcmode", calcmodeItems);
    EditDynWinLo = numeric(this, "EditDynWinLo", 65535);
    EditDynWinHi = numeric(this, "EditDynWinHi", 65535);
    EditLedMode = ring(this, "EditLedMode", ledmodeItems);
    EditGain = ring(this, "EditGain", gainItems);

    // Start values of a fresh panel: a usable set before any sensor is reached.
    SlidePower->setValue(500);
    SetRingValue(EditOutmode, 1);
    SetRingValue(EditGain, 1);
    EditMaxcolNo->setValue(31);
    EditDynWinLo->setValue(1000);
    EditDynWinHi->setValue(3000);

    auto *g = new QGridLayout(this);
    int row = 0;
    auto add = [&](const char *caption, QWidget *w, const char *info, QWidget *extra = nullptr) {
        SetInfo(w, info);
        g->addWidget(NewCaption(QString::fromUtf8(caption), w, this), row, 0);
        g->addWidget(w, row, 1);
        if (extra)
            g->addWidget(extra, row, 2);
        ++row;
    };
    SetInfo(powerValue, "InfoEditPower");
    add("POWER", SlidePower, "InfoEditPower", powerValue);
    add("PMODE", EditPmode, "InfoEditPmod");
    add("DYN WIN LO", EditDynWinLo, "InfoEditDynWinLoHi");
    add("DYN WIN HI", EditDynWinHi, "InfoEditDynWinLoHi");
    add("LED MODE", EditLedMode, "InfoEditLedMode");
    add("GAIN", EditGain, "InfoEditGain");
    add("AVERAGE", EditAverage, "InfoEditAverage");
    add("INTLIM", EditIntlim, "InfoEditIntlim");
    add("EVALMODE", Evalmode, "InfoEditEvalmode");
    add("CALCMODE", Calcmode, "InfoEditCalcMode");
    add("MAXCOL-No.", EditMaxcolNo, "InfoEditMaxcolNo");
    add("OUTMODE", EditOutmode, "InfoEditOutmode");
    add("TRIGGER", EditTrigger, "InfoEditTrigger");
    add("EXTEACH", EditExteach, "InfoEditExteach");
    g->setRowStretch(row, 1);
}

} // namespace tintra
