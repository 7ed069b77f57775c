// The rules between the sensor's modes. Each rule first reads the controls it depends on into
// their variables, then dims, forces, relabels or warns; a forced value changes silently.
#pragma once

namespace tintra {

struct CellPos {
    int col = 1;
    int row = 1;
};
extern CellPos activCell; // group table: cell the operator is on
extern CellPos oldCell;   // group table: cell of the last checked edit

// Remembers the group table's active cell as oldCell (start-up).
void RememberGroupCell();

// Colours of row labels: evaluated rows and rows that are not evaluated.
constexpr int rowEvaluatedColour = 0x008000;
constexpr int rowIgnoredColour = 0xFF0000;

void InitPowerMode();
void InitExteach();
void InitTrigger();
void InitColorGroups();
void InitEvalMode();
void InitCalcMode();
// The calculation mode the panels were last arranged for (by InitCalcMode). A GET that stopped
// half-way can leave paraCalcmode at the sensor's mode while the teach table still holds the
// arrangement of this one.
unsigned CalcModeShown();
void InitMaxVecNo();
// All of the above in their fixed order, then DispVis and InitTeachPanel.
void InitPanelCtrlAttr();

// The group table was edited (value change) at `col`, `row`: warn when the output mode allows
// only five groups and the value is above 4. The value stays.
void CheckGroupCell(int col, int row);

// RESET GROUP TABLE: every group cell 0. RESET HOLD TABLE: every hold cell, the 255 row
// included, takes the RESET HOLD value.
void ResetGroupTable();
void ResetHoldTable();

// Mean-value teach panel: colour-tolerance controls by EVALMODE, captions and visibility by
// CALCMODE (the variable as last read from the panels).
void InitTeachPanel();

} // namespace tintra
