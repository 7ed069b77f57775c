// The serial-port list beside the COM number on the connection page, and the operator's words
// for a port that cannot be opened.
#pragma once

#include "link/serialports.h"

#include <QString>

namespace tintra {

// What to tell the operator about a failed opening; empty for kind None.
QString SerialOpenReason(const SerialOpenFacts &facts);

// Fills the port list afresh and selects the port the COM number means now (none selected when
// that device is not among them).
void FillSerialPortList();

// The operator chose entry `index` of the port list: the COM number now means that port, kept
// in "ComPorts.cfg". A number outside 1 ... 256 or a file that cannot be written is reported
// and changes nothing.
void ChooseSerialPort(int index);

// Shows why the last serial opening failed below the status line (hidden when nothing failed
// or TCP/IP is chosen).
void ShowSerialProblem();

} // namespace tintra
