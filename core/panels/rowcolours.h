// Row indicator colours: one per colour row, shown in the row-colour cells of the teach table,
// the table-attributes table, the group table and the hold table.
#pragma once

namespace tintra {

constexpr int sicolarrSize = 45;
// RGB 0xRRGGBB; entries 0 ... 30 belong to colour rows 0 ... 30, 31 ... 44 are kept, not shown.
// Starts with a palette of 15 colours repeated three times.
extern int sicolarr[sicolarrSize];

// Paints colour row r (0 ... 30) with `rgb` in all four tables.
void PaintRow(int r, int rgb);
// Paints rows 0 ... 30 from sicolarr.
void PaintAllRows();

} // namespace tintra
