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

// The boundary of the X/Y plane: points (xramp[i], yramp[i]), i = 0 ... rampLen - 1.
constexpr int rampLen = 4096;
const uint16_t *RampX();
const uint16_t *RampY();

} // namespace tintra
