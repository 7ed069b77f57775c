// Moving the parameter set between the panels and the sensor's RAM or EEPROM.
#pragma once

namespace tintra {

// Panels -> sensor: order 1 with the sixteen parameters, order 2 for rows 0 ... 30, and for the
// EEPROM order 6 followed by a 0.5 s pause. Stops at the first failed exchange.
void SendPara();

// Sensor -> panels: for the EEPROM order 8 first, then order 3 and order 4 for rows 0 ... 30;
// only a complete read is shown on the panels (all mode rules run again).
void GetPara();

// The reading part of GetPara, without showing anything: the values land in the parameter
// variables. True when all 32 answers (33 with the EEPROM load) came.
bool ReadParaFromSensor();

// One parameter read for the frame in szWriteBuf (order 3 or 4). A complete answer is unpacked
// into the variables (an answer without the 170 header changes nothing); no complete answer
// runs the time-out reaction.
void Befehl3plus4();

// Waits for the answer to the frame just written and checks that it starts with 0x00 0xAA and
// repeats words 1 ... n-1 of the frame. Sets comecho; a failed check runs the time-out reaction.
void CheckEcho(int n);

// The place selectors (one always on; RAM is the fallback). `on` is the selector's new state.
void SelectTarget(int which, bool on);
// RAM on, EEPROM and FILE off, target RAM.
void SelectRamTarget();

} // namespace tintra
