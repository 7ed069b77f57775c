// Captions and colours of the live displays that follow the calculation mode, and which displays
// and graphs the SOURCE selector shows.
#pragma once

#include <cstdint>

class QWidget;

namespace tintra {

extern uint16_t source; // SOURCE selector value 0 ... 3

// A control of the data panel by its object name; nullptr when the panel or control is missing.
QWidget *DataControl(const char *name);

// Captions "X", "Y", "INT" or "s", "i", "M" and the colours of the first two value displays,
// after the CALCMODE control (0 and 2 alike, 1 and 3 alike); also the SIGNAL items 3 ... 5 of
// the signal graph panel.
void SetDispNames();

// Reads SOURCE into `source` and shows the displays and graphs of that source. SOURCE 3 in a
// space calculation mode also brings up the three-sides view. Values outside 0 ... 3 change
// nothing.
void DispVis();

} // namespace tintra
