// Calibration panel: CALCULATE CALIBRATION FACTORS, SEND CF and GET CF.
#include "app/callbacks.h"
#include "app/startup.h"
#include "core/calib/calib.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/calibpanel.h"
#include "core/shell.h"
#include "link/platform.h"
#include "link/state.h"

#include <QPushButton>

namespace tintra {

namespace {
QString Text(const char *name) { return QString::fromUtf8(InfoText(name)); }
} // namespace

void CBF_ButtonCalcCF()
{
    if (ConfirmPopup(QStringLiteral("SEND POWER"), Text("InfoWhiteTarget")) != 1)
        return;
    SetButtonsDimmed(1);
    const CalcOutcome outcome = CalcCF();
    // Lost samples: the link has just failed and nothing was computed. Nothing is written to
    // the sensor for such a run and no loop is started on the failed link.
    if (outcome == CalcOutcome::SamplesLost) {
        SetButtonsDimmed(0);
        return;
    }
    // The fields are sent as they stand: the new factors after a pass, the previous ones else;
    // then the cube-root table.
    const WriteResult written = WriteCalibration(SendCF);
    if (written != WriteResult::Written) {
        // The factors or the table did not get through (the time-out reaction has run): a pass
        // is not reported as one, and no loop is started on the failed link.
        if (outcome == CalcOutcome::Passed)
            MessagePopup(QStringLiteral("ATTENTION!"), Text(written == WriteResult::TableNotSent
                                                                ? "RootTableNotSent"
                                                                : "CFNotSent"));
    } else if (!QuitRequested()) {
        // The pass is reported once the factors and the table are in the sensor. Closing the
        // main window during the sampling ends the program: no loop is started then, since
        // nothing could stop it any more.
        if (outcome == CalcOutcome::Passed)
            MessagePopup(QStringLiteral("CALIBRATION PASSED!"), Text("CalibrationPassed"));
        GetCalibData();
    }
    SetButtonsDimmed(0);
}

void CBF_ButtonSendCF()
{
    SetButtonsDimmed(1);
    SendCF();
    if (comecho == 1)
        Send3rdRoot();
    SetButtonsDimmed(0);
}

void CBF_ButtonGetCF()
{
    SetButtonsDimmed(1);
    GetCF();
    SetButtonsDimmed(0);
}

void ConnectCalibCallbacks()
{
    CalibPanel *c = calibpanel;
    if (!c)
        return;
    QObject::connect(c->ButtonCalcCF, &QPushButton::clicked, c, [] { CBF_ButtonCalcCF(); });
    QObject::connect(c->ButtonSendCF, &QPushButton::clicked, c, [] { CBF_ButtonSendCF(); });
    QObject::connect(c->ButtonGetCF, &QPushButton::clicked, c, [] { CBF_ButtonGetCF(); });
}

} // namespace tintra
