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
#include "link/recording.h"
#include "link/state.h"
#include "link/transport.h"
#include "widgets/numberdisplay.h"

namespace tintra {

namespace {

int loopDepth = 0;
std::function<void()> frameListener;

PauseHooks WindowPause()
{
    PauseHooks hooks;
    hooks.starts = [] {
        LivePlot::drawPending(false); // plots that wait are drawn at the start of a later pause
        EndPaintHold();
    };
    // Over the rest of the pause and a fast exchange; a slow link outlasts it.
    hooks.rest = [](double left) { HoldPaintsFor(left * 1000.0 + 3.0); };
    return hooks;
}

} // namespace

// The pause between two frames (link/recording.h), spent in the event loop. The frame's plots
// are drawn and the windows repainted at its start (those whose refresh period is over, the
// others at the start of a later pause); from then on repaints are held over the rest of the
// pause and the next exchange, so the loop wakes only for the answer and the end of the pause (and
// for whatever the operator does meanwhile) and a repaint never delays the reading of an answer.
void PauseBetweenFrames()
{
    tintra::PauseBetweenFrames(WindowPause());
}

bool AcquisitionRunning() { return loopDepth > 0; }

void SetFrameListener(std::function<void()> listener) { frameListener = std::move(listener); }

void GetData()
{
    ++loopDepth;
    // The displays draw each frame's numbers; their line edits get the last ones at the end.
    NumberDisplay::letNumbersWait(true);
    RunDataLoop([] {
        SetPanelCalibData();
        SetPanelData();
        ShowGraph();
        if (frameListener)
            frameListener();
    }, WindowPause());
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
