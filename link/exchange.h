// The parameter exchanges with the sensor, without any window: the echo check, one parameter
// read, reading the whole set and sending it. The window's SEND, GET and COMPARE and the
// command-line tool call these same functions, so both speak to the sensor identically. The
// set moves through the parameter variables and the image pp (link/paraimage.h); what the
// panels show is the caller's business.
#pragma once

#include <functional>

namespace tintra {

// Called after each answered frame of ReadParaFromSensor and SendParaToSensor with the frames
// done and the frames of the whole exchange (nothing by default), e.g. to show progress.
void SetExchangeProgress(std::function<void(int done, int total)> progress);

// Waits for the answer to the frame just written and checks that it starts with 0x00 0xAA and
// repeats words 1 ... n-1 of the frame. Sets comecho; a failed check runs the time-out reaction.
void CheckEcho(int n);

// One parameter read for the frame in szWriteBuf (order 3 or 4). A complete answer is unpacked
// into the variables (an answer without the 170 header changes nothing); no complete answer
// runs the time-out reaction.
void Befehl3plus4();

// Words 2 ... 17 of databuf into the measured values dataR ... dataFrei16.
void CopyDatatoVars();

// One data frame: order 5 written, the answer awaited (flushing first on the serial link), its
// words 2 ... 17 into databuf and the measured values; the header and order word are not
// checked. False when no complete frame came: the caller decides about the time-out reaction.
bool RequestDataFrame();

// Sensor -> variables: for the EEPROM (target) order 8 first, then order 3 and order 4 for rows
// 0 ... 30. Ends a running loop first. True when all 32 answers (33 with the EEPROM load) came.
bool ReadParaFromSensor();

// Variables -> sensor: order 1 with the sixteen parameters, order 2 for rows 0 ... 30, and for
// the EEPROM (target) order 6 followed by a 0.5 s pause. Stops at the first failed exchange;
// comecho says whether the whole set got through.
void SendParaToSensor();

} // namespace tintra
