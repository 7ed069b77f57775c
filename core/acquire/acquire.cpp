#include "acquire.h"

#include "core/acquire/paneldata.h"
#include "core/display/paintpace.h"
#include "core/graphs/graphs.h"
#include "core/params/panelvalues.h"
#include "core/shell.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QThread>
#include <cmath>
#include <sys/prctl.h>

namespace tintra {

namespace {

constexpr int loopSleepMs = 10;
int loopDepth = 0;
std::function<void()> frameListener;

// Sleeps without events for less than a millisecond, with the kernel's timer slack (50 us by
// default, a tenth of what is left here on average) lowered for just this sleep.
void SleepPrecisely(double seconds)
{
    // Read once: only the user-interface thread sleeps here, and nothing else changes its slack.
    static const int slack = prctl(PR_GET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL);
    prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
    QThread::usleep(static_cast<unsigned long>(seconds * 1e6) + 1);
    if (slack > 0)
        prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(slack), 0UL, 0UL, 0UL);
}

} // namespace

// The pause between two frames, spent in the event loop (the plots are drawn in it). Waits are
// asked for in whole milliseconds rounded down, and the last fraction of a millisecond is slept
// without events, so early wake-ups (a redraw, a paint) do not stretch the pause by rounding up.
// Repaints are held from the pause's last stretch over the next exchange and carried out at the
// pause's start: a repaint that began near the end of the pause, or while the answer is on its
// way, would lengthen the pass by its own duration.
void PauseBetweenFrames()
{
    const double end = Timer() + loopSleepMs / 1000.0;
    EndPaintHold();
    bool holding = false;
    for (;;) {
        const double left = end - Timer();
        if (left <= 0)
            return;
        if (!holding && left < 0.0015) {
            // Over the rest of the pause and a fast exchange; a slow link outlasts it.
            HoldPaintsFor(left * 1000.0 + 3.0);
            holding = true;
        }
        const double wholeMs = std::floor(left * 1000.0);
        if (wholeMs >= 1)
            WaitForEvents((wholeMs - 0.5) / 1000.0); // rounds up to wholeMs
        else
            SleepPrecisely(left);
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
