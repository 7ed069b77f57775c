// Copies between the parameter panels and the parameter variables.
#pragma once

namespace tintra {

// Panels -> variables, the whole set: POWER, PMODE, AVERAGE, EVALMODE, HOLD 255, INTLIM,
// MAXCOL-No., OUTMODE, TRIGGER, EXTEACH, CALCMODE, DYN WIN LO, DYN WIN HI, colour groups,
// LED MODE, GAIN; then per colour row its group, its hold time and its five teach words.
void GetPanelValues();
// Variables -> panels, in the same order. A ring code the ring does not hold leaves the ring
// as it is; numeric controls keep to their own limits.
void SetPanelValues();

// The tail of every parameter load (sensor or file): EXTEACH, PMODE and LED MODE to their
// controls, the EXTEACH rule (it rebuilds the TRIGGER list before TRIGGER is written), all
// values to the panels, all mode rules.
void ShowLoadedParameters();

} // namespace tintra
