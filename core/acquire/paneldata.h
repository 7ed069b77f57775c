// The live displays fed by every data frame: the data panel's numbers, bars, lamps and colour
// patch, the two big number windows, and the calibration panel's raw values and their spread.
#pragma once

#include <cstdint>

namespace tintra {

extern uint32_t rgbcolor;  // measured colour 0xRRGGBB (each 12-bit value / 16, at most 255)
extern uint16_t deltaraw;  // spread of the raw values: largest minus smallest of R, G, B

// Measured values to the data panel and the big windows (also while those are hidden), the
// colour patch, the COL5 lamps in EVALMODE COL5, then the sample into the strip-chart buffers.
void SetPanelData();

// deltaraw from the raw values; the raw values and deltaraw to the calibration panel.
void SetPanelCalibData();

} // namespace tintra
