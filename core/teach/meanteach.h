// The mean-value teach window: captured frames, their mean and largest deviations, and teaching
// the mean into a row of the COLOR TEACH TABLE.
#pragma once

#include <cstdint>

namespace tintra {

// Means of the captured columns (kept when the capture is emptied).
extern uint16_t meanr, meang, meanb, meanx, meany, meanint;

void ResetTpTable();   // counter 0, every captured and mean cell 0, both deviations 0
void CaptureFrame();   // the last frame's R, G, B, X, Y, INT into the next row (row 100 at most)
void UndoCapture();    // removes the last captured row
void CalcMeanValues(); // column means, then CalcMaxDelta
void CalcMaxDelta();   // largest distance from the mean point and largest INT deviation
void TeachToTable();   // the mean with the chosen tolerances into the row of ROW No.

// TEACH MEAN VAL: shows the window and, when no acquisition loop runs, runs one until it ends.
void CBF_ButtonTeachMeanVal();

} // namespace tintra
