#include "acquire.h"

#include "core/acquire/paneldata.h"
#include "core/graphs/graphs.h"
#include "core/params/panelvalues.h"
#include "core/shell.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QThread>
#include <cmath>

namespace tintra {

namespace {

constexpr int loopSleepMs = 10;
int loopDepth = 0;
std::function<void()> frameListener;

} // namespace

// The pause between two frames, spent in the event loop (the plots are drawn in it). Waits are
// asked for in whole milliseconds rounded down, and the last fraction of a millisecond is slept
// without events, so early wake-ups (a redraw, a paint) do not stretch the pause by rounding up.
void PauseBetweenFrames()
{
    const double end = Timer() + loopSleepMs / 1000.0;
    for (;;) {
        const double left = end - Timer();
        if (left <= 0)
            return;
        const double wholeMs = std::floor(left * 1000.0);
        if (wholeMs >= 1)
            WaitForEvents((wholeMs - 0.5) / 1000.0); // rounds up to wholeMs
        else
            QThread::usleep(static_cast<unsigned long>(left * 1e6) + 1);
    }
}

void CopyDatatoVars()
{
    for (int i = 0; i < anzdata; ++i)
        *dataValues[i] = databuf[2 + i];
}

bool AcquisitionRunning() { return loopDepth > 0; }

void SetFrameListener(std::function<void()> listener) { frameListener = std::move(listener); }

void GetData()
{
    ++loopDepth;
    if (comprotocol == 0)
        FlushQueues();
    poll = 1;
    while (poll == 1) {
        order = OrderData;
        FillTxBuf(order, 0, 0, 0);
        if (GetDataFrame() == 0) {
            // Used as it came: header and order word are not checked.
            GetRxBufData();
            CopyDatatoVars();
            SetPanelCalibData();
            SetPanelData();
            ShowGraph();
            if (frameListener)
                frameListener();
        } else {
            SetPopupTimeout(); // clears poll; the displays keep the last good frame
        }
        // Pending events (STOP, other callbacks, the repaints of this frame) run inside the
        // pause, so drawing the frame does not lengthen the pass.
        PauseBetweenFrames();
    }
    --loopDepth;
}

void RunGo(bool readPanelValues)
{
    if (AcquisitionRunning())
        return;
    SetButtonsDimmed(1);
    if (readPanelValues)
        GetPanelValues();
    InitGraphs();
    GetData();
    SetButtonsDimmed(0);
}

void CBF_ButtonGo() { RunGo(true); }

void CBF_ButtonStop() { poll = 0; }

} // namespace tintra
