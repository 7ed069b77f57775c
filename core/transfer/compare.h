// Compare: the panels' parameter set against a parameter file or the sensor's RAM or EEPROM.
// Reading only: nothing is written to the sensor, the panels or the parameter variables.
#pragma once

#include "core/params/unsent.h"

#include <QList>
#include <QString>

namespace tintra {

enum CompareSource { CompareFile = 0, CompareRam = 1, CompareEeprom = 2 };

// Reads the set to compare with: a chosen parameter file (with GET's checks and message), or
// the sensor's RAM or EEPROM with GET's frames (order 8 first for the EEPROM, then 3 and 4).
// The parameter variables, the image and the SEND/GET place are put back afterwards. *what
// names the source for the operator. False when nothing complete was read.
bool ReadCompareSet(CompareSource source, ParaImage *other, QString *what);

} // namespace tintra
