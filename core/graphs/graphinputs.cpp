#include "graphinputs.h"

#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/ttpanel.h"
#include "core/panels/cells.h"
#include "core/panels/rowcolours.h"

#include <QComboBox>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

uint16_t CalcmodeControl() { return parapanel1 ? RingValue(parapanel1->Calcmode) : 0; }

int SelectedTeachRow() { return ttpanel ? ttpanel->EditNo->value() : 0; }

uint16_t TeachCell(int col, int row) { return ttpanel ? GetCellU16(ttpanel->GridCtt, col, row) : 0; }

QColor RowColour(int n) { return Rgb(sicolarr[n]); }

} // namespace tintra
