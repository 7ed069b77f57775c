// Calibration panel: CALCULATE CALIBRATION FACTORS, SEND CF and GET CF.
#include "app/callbacks.h"
#include "app/startup.h"
#include "core/calib/calib.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/shell.h"
#include "link/platform.h"
#include "link/state.h"

#include <QPushButton>

namespace tintra {

namespace {
constexpr double calibPause = 0.5; // after the factors are written, and after the table
} // namespace

void CBF_ButtonCalcCF()
{
    if (ConfirmPopup(QStringLiteral("SEND POWER"), QString::fromUtf8(InfoText("InfoWhiteTarget"))) !=
        1)
        return;
    SetButtonsDimmed(1);
    CalcCF();
    // The fields are sent as they stand: the new factors after a pass, the previous ones else.
    SendCF();
    WaitUntil(Timer(), calibPause, false);
    if (comecho == 1)
        Send3rdRoot();
    WaitUntil(Timer(), calibPause, false);
    // Closing the main window during the sampling ends the program: no loop is started then,
    // since nothing could stop it any more.
    if (!QuitRequested())
        GetCalibData();
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
