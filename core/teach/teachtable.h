// Operations on the COLOR TEACH TABLE as a whole or one row of it: teaching the current
// measurement, showing all taught colours, resetting the table. They write table cells; the
// parameter variables follow with the next GetPanelValues.
#pragma once

namespace tintra {

// The current measurement (X and Y as the data panel shows them, INT of the last frame) with the
// default tolerances into the row of the "No.:" field; with INC on, "No.:" moves on (up to 30).
// In automatic colour mode the row is painted with the measured colour.
void TeachDataTo();

// Ends a running acquisition loop, refreshes the variables and graphs, then draws the tolerance
// circles of all 31 rows on the X/Y graph in the row colours.
void ApplyFromAll();

// Every teach cell 1, "No.:" 0, the taught colours removed from the graphs. Row colours stay.
void ResetTable();

} // namespace tintra
