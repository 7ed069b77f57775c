// Moving the parameter set between the panels and the sensor's RAM or EEPROM. The exchanges
// themselves (echo check, reads, the send sequence) are window-free: link/exchange.h.
#pragma once

#include "link/exchange.h"

namespace tintra {

// Panels -> sensor: order 1 with the sixteen parameters, order 2 for rows 0 ... 30, and for the
// EEPROM order 6 followed by a 0.5 s pause. Stops at the first failed exchange.
void SendPara();

// Sensor -> panels: for the EEPROM order 8 first, then order 3 and order 4 for rows 0 ... 30;
// only a complete read is shown on the panels (all mode rules run again).
void GetPara();

// The place selectors (one always on; RAM is the fallback). `on` is the selector's new state.
void SelectTarget(int which, bool on);
// RAM on, EEPROM and FILE off, target RAM.
void SelectRamTarget();

} // namespace tintra
