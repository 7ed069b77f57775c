#include "calibrun.h"

#include "codec.h"
#include "exchange.h"
#include "platform.h"
#include "state.h"
#include "transport.h"

namespace tintra {

uint16_t setvalue = 0;
uint16_t maxdelta = 0;
uint16_t meanR = 0, meanG = 0, meanB = 0, meanD = 0;

namespace {
constexpr double samplePause = 0.010;  // between two samples, as between two frames of GO
constexpr double rootStartPause = 0.2; // the sensor prepares the table after order 180
constexpr double writePause = 0.5;     // after the factors are written, and after the table
} // namespace

int TakeCalibSamples(const SampleHooks &hooks)
{
    CalibSums sums;
    int received = 0;
    for (int i = 0; i < calibSamples; ++i) {
        if (hooks.before)
            hooks.before(i);
        // A sensor that stopped answering would cost a time-out for every sample left.
        if (!RequestDataFrame()) {
            SetPopupTimeout();
            break;
        }
        if (hooks.arrived)
            hooks.arrived();
        sums.add(dataRawR, dataRawG, dataRawB, RawSpread(dataRawR, dataRawG, dataRawB));
        ++received;
        if (hooks.pause)
            hooks.pause();
        else
            WaitUntil(Timer(), samplePause, false);
    }
    if (received == calibSamples) {
        meanR = MeanOfSamples(sums.r);
        meanG = MeanOfSamples(sums.g);
        meanB = MeanOfSamples(sums.b);
        meanD = MeanOfSamples(sums.d);
    }
    return received;
}

CFResult FactorsFromMeans()
{
    std::array<uint16_t, 3> means{meanR, meanG, meanB};
    std::array<uint16_t, 3> cf{};
    const CFResult r = ComputeCF(setvalue, maxdelta, meanD, means, cf);
    meanR = means[0];
    meanG = means[1];
    meanB = means[2];
    if (r == CFResult::Passed) {
        cfrot = cf[0];
        cfgruen = cf[1];
        cfblau = cf[2];
    }
    return r;
}

void SendFactors()
{
    if (comprotocol == 0)
        FlushQueues();
    order = OrderSendCF;
    FillTxBuf(order, 0, 0, 0);
    WriteFrame();
    CheckEcho(5);
}

void Calc3rdRoot() { FillRootTable(data3rdRoot); }

void Send3rdRoot()
{
    Calc3rdRoot();
    if (comprotocol == 0)
        FlushQueues();
    order = OrderRootStart;
    FillTxBuf(order, 0, rootTableBase, 0);
    WriteFrame();
    CheckEcho(2);
    if (comecho == 0)
        return;
    WaitUntil(Timer(), rootStartPause, false);

    order = OrderRootBlock;
    for (int b = 0; b < rootChunks; ++b) {
        const RootChunk c = RootChunkOf(b);
        FillTxBuf(order, uint16_t(c.first), c.address, c.count);
        WriteFrame();
        CheckEcho(c.count + 4);
        if (comecho == 0)
            return;
    }
}

WriteResult WriteCalibration(const std::function<void()> &sendFactors)
{
    sendFactors();
    const bool factorsSent = comecho == 1;
    WaitUntil(Timer(), writePause, false);
    if (factorsSent)
        Send3rdRoot();
    WaitUntil(Timer(), writePause, false);
    if (!factorsSent)
        return WriteResult::FactorsNotSent;
    return comecho == 1 ? WriteResult::Written : WriteResult::TableNotSent;
}

} // namespace tintra
