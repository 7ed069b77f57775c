// The white-light calibration on the calibration panel.
#include "calib.h"

#include "core/acquire/acquire.h"
#include "core/acquire/paneldata.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/calibpanel.h"
#include "core/panels/controls.h"
#include "core/params/unsent.h"
#include "core/shell.h"
#include "core/transfer/transfer.h"
#include "link/codec.h"
#include "link/exchange.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QPushButton>
#include <QSpinBox>

namespace tintra {

namespace {

constexpr unsigned blinkColour = 0xFF0000;

const char *const titleConfirm = "CONFIRM CALCULATION!";
const char *const titleAttention = "ATTENTION!";
const char *const textDeclined =
    "Please insert the right values and press \n CALCULATE CALIBRATION FACTORS again.";

QString Text(const char *name) { return QString::fromUtf8(InfoText(name)); }

uint16_t FieldValue(QSpinBox *s) { return s ? static_cast<uint16_t>(s->value()) : 0; }

// The factors as the sensor last held them (a good SEND CF or GET CF): fields that differ are
// marked as unsent.
uint16_t keptFactors[3] = {};

QSpinBox *FactorField(int i)
{
    QSpinBox *const fields[3] = {calibpanel->EditCFR, calibpanel->EditCFG, calibpanel->EditCFB};
    return fields[i];
}

void KeepFactors()
{
    if (!calibpanel)
        return;
    for (int i = 0; i < 3; ++i)
        keptFactors[i] = FieldValue(FactorField(i));
    ScheduleUnsentMarks();
}

bool MarkUnsentFactors()
{
    if (!calibpanel)
        return false;
    bool any = false;
    for (int i = 0; i < 3; ++i) {
        const bool changed = FieldValue(FactorField(i)) != keptFactors[i];
        SetControlMarked(FactorField(i), changed);
        any = any || changed;
    }
    return any;
}

void ShowFactors()
{
    if (!calibpanel)
        return;
    calibpanel->EditCFR->setValue(cfrot);
    calibpanel->EditCFG->setValue(cfgruen);
    calibpanel->EditCFB->setValue(cfblau);
}

} // namespace

CalcOutcome CalcCF()
{
    EndLoop();
    if (comprotocol == 0)
        FlushQueues();
    if (ConfirmPopup(QString::fromLatin1(titleConfirm), Text("ConfirmCalculation")) != 1) {
        MessagePopup(QString::fromUtf8(InfoTitle), QString::fromLatin1(textDeclined));
        return CalcOutcome::Declined;
    }
    QWidget *button = calibpanel ? calibpanel->ButtonCalcCF : nullptr;
    SampleHooks hooks;
    // Five samples red, five grey; the last group leaves the button grey.
    hooks.before = [button](int i) {
        if (button && i % 5 == 0)
            SetButtonColour(button, i / 5 % 2 == 0 ? blinkColour : neutralButtonColour);
    };
    hooks.arrived = [] { SetPanelCalibData(); };
    // Pending events (repaints, STOP, which may clear poll: the sampling still runs to its end)
    // are handled inside the pause, as in the GO loop.
    hooks.pause = [] { PauseBetweenFrames(); };
    const int received = TakeCalibSamples(hooks);
    if (received < calibSamples) {
        if (button)
            SetButtonColour(button, neutralButtonColour);
        MessagePopup(QString::fromLatin1(titleAttention),
                     QString::fromUtf8(samplesLostText).arg(calibSamples - received));
        return CalcOutcome::SamplesLost;
    }
    switch (SetCF()) {
    case CFResult::SpreadTooHigh:
        return CalcOutcome::SpreadTooHigh;
    case CFResult::OutOfRange:
        return CalcOutcome::OutOfRange;
    case CFResult::Passed:
        break;
    }
    return CalcOutcome::Passed;
}

CFResult SetCF()
{
    if (calibpanel) {
        setvalue = FieldValue(calibpanel->EditSetValue);
        maxdelta = FieldValue(calibpanel->EditMaxDelta);
    }
    const CFResult r = FactorsFromMeans();
    switch (r) {
    case CFResult::SpreadTooHigh:
        MessagePopup(QString::fromLatin1(titleAttention), QString::fromUtf8(maximumDeltaText));
        return r;
    case CFResult::OutOfRange:
        MessagePopup(QString::fromLatin1(titleAttention), QString::fromUtf8(cfOutOfRangeText));
        return r;
    case CFResult::Passed:
        break;
    }
    ShowFactors();
    return r;
}

void SendCF()
{
    if (calibpanel) {
        cfrot = FieldValue(calibpanel->EditCFR);
        cfgruen = FieldValue(calibpanel->EditCFG);
        cfblau = FieldValue(calibpanel->EditCFB);
    }
    SendFactors();
    if (comecho == 1)
        KeepFactors();
}

void GetCF()
{
    EndLoop();
    if (comprotocol == 0)
        FlushQueues();
    order = OrderGetCF;
    FillTxBuf(order, 0, 0, 0);
    WriteFrame();
    if (WaitForAnswer(answerWait) != 0) {
        SetPopupTimeout();
        return;
    }
    GetRxBufPara();
    cfrot = pp[2];
    cfgruen = pp[3];
    cfblau = pp[4];
    ShowFactors();
    KeepFactors();
}

void WatchFactorChanges()
{
    if (!calibpanel)
        return;
    KeepFactors(); // the fields' start values are the reference until the first SEND CF or GET CF
    AddUnsentKind([] { return MarkUnsentFactors(); });
    for (int i = 0; i < 3; ++i)
        QObject::connect(FactorField(i), &QSpinBox::valueChanged, calibpanel,
                         [] { ScheduleUnsentMarks(); });
}

void GetCalibData() { GetData(); }

} // namespace tintra
