// The arithmetic of teaching, without any window: default tolerances, the words a taught row
// receives, the mean of captured frames and their largest deviations, and the tolerance choices
// of the mean-value teach window.
#pragma once

#include <cstdint>

namespace tintra {

// Default tolerances of TEACH DATA TO: the colour tolerance (CTO, siTO or TOL) by EVALMODE, and
// the intensity tolerance written into word 4 in the plane modes (CALCMODE 0: by EVALMODE and
// PMODE; CALCMODE 1: always 50).
struct DefaultTolerance {
    uint16_t colour;
    uint16_t intensity;
};
DefaultTolerance DefaultTolerances(uint16_t evalmode, uint16_t pmode, uint16_t calcmode);

// The five words of a row taught with the measured point (x, y, in) and the default tolerances.
// In the space modes word 4 keeps what `row` held.
void TeachRowWords(uint16_t calcmode, uint16_t evalmode, uint16_t pmode, uint16_t x, uint16_t y,
                   uint16_t in, uint16_t row[5]);

// Captured frames: up to 100 rows of R, G, B, X, Y, INT.
constexpr int tpRows = 100;
constexpr int tpCols = 6;

// Column means of rows 0 ... n-1, each the integer sum divided by n (truncating). n > 0.
void ColumnMeans(const uint16_t rows[][tpCols], int n, uint16_t mean[tpCols]);

// Largest distance of a captured point (columns 3, 4 and in the space modes 5) from the mean
// point, and largest intensity deviation. The distance is the square root of the integer sum of
// squares, truncated; a distance beyond the word range shows as 65535.
struct MaxDelta {
    uint16_t dist;
    uint16_t intensity;
};
MaxDelta MaxDeltas(const uint16_t rows[][tpCols], int n, uint16_t meanx, uint16_t meany,
                   uint16_t meanint, uint16_t calcmode);

// Tolerance choices of the teach window.
enum TolChoice { TolTyped = 0, TolDelta = 1, TolTypedPlusDelta = 2, TolNoChange = 3 };
// The typed value, the deviation, their sum (held at 65535 rather than wrapping round to a
// small tolerance), or `present` for NO CHANGE (and any choice the ring does not know).
uint16_t ChosenTolerance(int choice, uint16_t typed, uint16_t delta, uint16_t present);

// The fixed colour tolerance of EVALMODE 2.
constexpr uint16_t fixedColourTolerance = 40;

// The row taught with the means: plane modes X, Y, colour tolerance, INT, intensity tolerance;
// space modes X, Y, INT, tolerance, word 4 unchanged. In EVALMODE 2 the colour tolerance is 40.
void MeanRowWords(uint16_t calcmode, uint16_t evalmode, uint16_t mx, uint16_t my, uint16_t mi,
                  uint16_t colourTol, uint16_t intensityTol, uint16_t row[5]);

} // namespace tintra
