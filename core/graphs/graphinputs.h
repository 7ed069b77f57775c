// What the graph operations read from the panels: the CALCMODE control, the "No.:" field and
// the cells of the COLOR TEACH TABLE, and the row indicator colours.
#pragma once

#include <QColor>
#include <cstdint>

namespace tintra {

uint16_t CalcmodeControl();
int SelectedTeachRow();                     // "No.:" field, 0 ... 30
uint16_t TeachCell(int col, int row);       // (column, row) from 1
QColor RowColour(int n);                    // indicator colour of colour row n

} // namespace tintra
