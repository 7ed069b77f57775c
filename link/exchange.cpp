#include "exchange.h"

#include "codec.h"
#include "paraimage.h"
#include "platform.h"
#include "receive.h"
#include "state.h"
#include "transport.h"

namespace tintra {

namespace {

constexpr double eepromStorePause = 0.5;
std::function<void(int, int)> progressHook;

void progress(int done, int total)
{
    if (progressHook)
        progressHook(done, total);
}

void writeOrder(uint16_t ord, uint16_t index = 0)
{
    order = ord;
    FillTxBuf(order, index, 0, 0);
    WriteFrame();
}

} // namespace

void SetExchangeProgress(std::function<void(int, int)> p) { progressHook = std::move(p); }

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

void CopyDatatoVars()
{
    for (int i = 0; i < anzdata; ++i)
        *dataValues[i] = databuf[2 + i];
}

bool RequestDataFrame()
{
    order = OrderData;
    FillTxBuf(order, 0, 0, 0);
    if (GetDataFrame() != 0)
        return false;
    GetRxBufData();
    CopyDatatoVars();
    return true;
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

void SendParaToSensor()
{
    CopyVarsToPP();
    FlushQueues();

    const int total = 1 + anzVec + (target == EEPROM ? 1 : 0);
    writeOrder(OrderSendPara);
    CheckEcho(anzframe);
    if (comecho == 0)
        return;
    progress(1, total);

    for (uint16_t r = 0; r < anzVec; ++r) {
        ProcessSystemEvents();
        writeOrder(OrderSendRow, r);
        CheckEcho(9);
        if (comecho == 0)
            return;
        progress(2 + r, total);
    }

    if (target == EEPROM) {
        writeOrder(OrderStoreEeprom);
        CheckEcho(2);
        if (comecho == 1)
            progress(total, total);
        tstart = Timer();
        tdiff = 0.0;
        while (eepromStorePause > tdiff) {
            WaitForEvents(eepromStorePause - tdiff);
            tdiff = Timer() - tstart;
        }
    }
}

bool ReadParaFromSensor()
{
    EndLoop();
    comecho = 1;
    FlushQueues();

    const int first = target == EEPROM ? 1 : 0, total = first + 1 + anzVec;
    if (target == EEPROM) {
        writeOrder(OrderLoadEeprom);
        CheckEcho(2);
        if (comecho == 0)
            return false;
        progress(1, total);
    }

    order = OrderGetPara;
    FillTxBuf(order, 0, 0, 0);
    Befehl3plus4();
    if (comecho == 0)
        return false;
    progress(first + 1, total);

    order = OrderGetRow;
    for (uint16_t r = 0; r < anzVec; ++r) {
        FillTxBuf(order, r, 0, 0);
        Befehl3plus4();
        if (comecho == 0)
            return false;
        progress(first + 2 + r, total);
    }
    return true;
}

} // namespace tintra
