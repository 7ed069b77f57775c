#include "acquire.h"

#include "core/acquire/paneldata.h"
#include "core/display/paintpace.h"
#include "core/graphs/graphs.h"
#include "core/graphs/liveplot.h"
#include "core/params/panelvalues.h"
#include "core/shell.h"
#include "link/codec.h"
#include "link/exchange.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "widgets/numberdisplay.h"

#include <algorithm>

namespace tintra {

namespace {

constexpr double loopSleep = 0.010;
// A sleeping thread wakes somewhat after the moment it asked for (a tenth of a millisecond or
// two under a virtual machine), and every pass would pay that on top of its 10 ms. The pause ends
// that much earlier, as seen over the last passes (a running mean, at most `maxLateness`), so it
// lasts 10 ms on average.
constexpr double maxLateness = 0.0005;
double lateness = 0;
int loopDepth = 0;
std::function<void()> frameListener;

} // namespace

// The pause between two frames, spent in the event loop. The frame's plots are drawn and the
// windows repainted at its start (those whose refresh period is over, the others at the start of
// a later pause); from then on repaints are held over the rest of the pause and the next exchange,
// so the loop wakes only for the answer and the end of the pause (and for whatever the operator
// does meanwhile) and a repaint never delays the reading of an answer.
void PauseBetweenFrames()
{
    const double start = Timer();
    LivePlot::drawPending(false); // plots that wait are drawn at the start of a later pause
    EndPaintHold();
    ProcessSystemEvents();
    const double aim = loopSleep - lateness;
    const double left = aim - (Timer() - start);
    // Over the rest of the pause and a fast exchange; a slow link outlasts it.
    HoldPaintsFor(std::max(0.0, left) * 1000.0 + 3.0);
    WaitUntil(start, aim);
    // Only a pause that slept tells how late the system wakes (a long repaint does not).
    if (left > 0)
        lateness += (std::min(Timer() - start - aim, maxLateness) - lateness) / 8;
}

double PauseLateness() { return lateness; }

bool AcquisitionRunning() { return loopDepth > 0; }

void SetFrameListener(std::function<void()> listener) { frameListener = std::move(listener); }

void GetData()
{
    ++loopDepth;
    // The displays draw each frame's numbers; their line edits get the last ones at the end.
    NumberDisplay::letNumbersWait(true);
    if (comprotocol == 0)
        FlushQueues();
    poll = 1;
    while (poll == 1) {
        if (RequestDataFrame()) {
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
    if (--loopDepth == 0)
        NumberDisplay::letNumbersWait(false);
    LivePlot::drawPending(); // what still waits is drawn when its window is repainted
}

void RunGo(bool readPanelValues)
{
    // No loop inside another operation: a calibration's sampling or a transfer runs with poll
    // at 0, and a GO started inside it would run nested and undim the controls at its end.
    if (AcquisitionRunning() || LongOperationRunning())
        return;
    SetButtonsDimmed(1);
    if (readPanelValues)
        GetPanelValues();
    InitGraphs();
    GetData();
    SetButtonsDimmed(0);
}

void CBF_ButtonGo() { RunGo(true); }

void CBF_ButtonStop() { EndLoop(); }

} // namespace tintra
