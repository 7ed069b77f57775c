// Re-arranging the teach table when the calculation mode moves between the plane modes
// (X/Y INT, s/i M) and the space modes (X/Y/INT, s/i/M).
#pragma once

namespace tintra {

// Precondition: paraCalcmode still holds the mode before the change; the CALCMODE control
// already shows the new one. Plane -> space: each row w0 w1 w2 w3 w4 becomes w0 w1 w3 w2 1;
// space -> plane: w0 w1 w3 w2 w3. Within the plane or the space modes nothing moves.
void SortTableTolerance();

} // namespace tintra
