// The acquisition loop: GO and STOP, one data frame after another into the measured values and
// on to the displays and graphs.
#pragma once

#include "link/recording.h"

#include <functional>

namespace tintra {

// The 10 ms pause between two frames (link/recording.h), spent in the event loop, where the
// frame's plots are drawn and the windows repainted; its mean length is 10 ms.
void PauseBetweenFrames();

// The live loop of link/recording.h (RunDataLoop) with the displays as its hook: data frames
// (order 5) until `poll` is cleared: STOP, a time-out, closing the main window, or any other
// operation that ends a running loop. Between frames pending events are handled (other
// callbacks run nested here) and the loop sleeps 10 ms in the event loop.
void GetData();

// GO: dim the long-operation controls, read the panels into the variables (when
// `readPanelValues`), prepare the graphs, run the loop, undim. Does nothing while a loop of
// GO already runs or another long operation (SetButtonsDimmed) is in progress.
void RunGo(bool readPanelValues = true);

// True while GetData runs.
bool AcquisitionRunning();

// Called after each frame that reached the displays (nothing by default). Whoever needs to follow
// the frames without changing the loop installs one, e.g. the benchmark to count them.
void SetFrameListener(std::function<void()> listener);

void CBF_ButtonGo();   // RunGo(true)
void CBF_ButtonStop(); // clears poll: the loop ends after the pass in progress

} // namespace tintra
