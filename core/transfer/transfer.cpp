#include "transfer.h"

#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/params/panelvalues.h"
#include "core/params/unsent.h"
#include "link/codec.h"
#include "link/paraimage.h"
#include "link/platform.h"
#include "link/receive.h"
#include "link/state.h"
#include "link/transport.h"

#include <QPushButton>
#include <QSignalBlocker>

namespace tintra {

namespace {

constexpr double eepromStorePause = 0.5;

void writeOrder(uint16_t ord, uint16_t index = 0)
{
    order = ord;
    FillTxBuf(order, index, 0, 0);
    WriteFrame();
}

void setChecked(QPushButton *b, bool on)
{
    if (!b)
        return;
    const QSignalBlocker block(b);
    b->setChecked(on);
}

} // namespace

void CheckEcho(int n)
{
    const int missing = WaitForAnswer(answerWait);
    if (missing != 0) {
        SetPopupTimeout();
        return;
    }
    comecho = AnswerEchoes(n) ? 1 : 0;
    if (comecho == 0)
        SetPopupTimeout();
}

void Befehl3plus4()
{
    FlushQueues();
    WriteFrame();
    if (WaitForAnswer(answerWait) != 0) {
        SetPopupTimeout();
        return;
    }
    GetRxBufPara();
    CopyPPtoVars();
}

void SendPara()
{
    GetPanelValues();
    CopyVarsToPP();
    FlushQueues();

    writeOrder(OrderSendPara);
    CheckEcho(anzframe);
    if (comecho == 0)
        return;

    for (uint16_t r = 0; r < anzVec; ++r) {
        ProcessSystemEvents();
        writeOrder(OrderSendRow, r);
        CheckEcho(9);
        if (comecho == 0)
            return;
    }

    if (target == EEPROM) {
        writeOrder(OrderStoreEeprom);
        CheckEcho(2);
        tstart = Timer();
        tdiff = 0.0;
        while (eepromStorePause > tdiff) {
            WaitForEvents(eepromStorePause - tdiff);
            tdiff = Timer() - tstart;
        }
    }
    if (comecho == 1)
        MarkPanelsSynced();
}

bool ReadParaFromSensor()
{
    EndLoop();
    comecho = 1;
    FlushQueues();

    if (target == EEPROM) {
        writeOrder(OrderLoadEeprom);
        CheckEcho(2);
        if (comecho == 0)
            return false;
    }

    order = OrderGetPara;
    FillTxBuf(order, 0, 0, 0);
    Befehl3plus4();
    if (comecho == 0)
        return false;

    order = OrderGetRow;
    for (uint16_t r = 0; r < anzVec; ++r) {
        FillTxBuf(order, r, 0, 0);
        Befehl3plus4();
        if (comecho == 0)
            return false;
    }
    return true;
}

void GetPara()
{
    if (!ReadParaFromSensor())
        return;
    ShowLoadedParameters();
    MarkPanelsSynced();
}

void SelectTarget(int which, bool on)
{
    MainPanel *m = mainpanel;
    if (!on || which == RAM) {
        SelectRamTarget();
        return;
    }
    target = static_cast<uint16_t>(which);
    setChecked(m->SelectRAM, false);
    setChecked(m->SelectEEPROM, which == EEPROM);
    setChecked(m->SelectFILE, which == DATFILE);
}

void SelectRamTarget()
{
    target = RAM;
    if (!mainpanel)
        return;
    setChecked(mainpanel->SelectRAM, true);
    setChecked(mainpanel->SelectEEPROM, false);
    setChecked(mainpanel->SelectFILE, false);
}

} // namespace tintra
