// White-light calibration on the calibration panel: the measurement with its popups and
// displays, the CF fields, reading the factors, the closing measurement loop. The run itself
// (samples, checks, writing the factors and the cube-root table) is window-free:
// link/calibrun.h.
#pragma once

#include "link/calibrun.h"

#include <cstdint>

namespace tintra {

// How a calculation ended.
enum class CalcOutcome {
    Declined,      // "CONFIRM CALCULATION!" answered no
    SamplesLost,   // a sample did not arrive: refused, nothing computed
    SpreadTooHigh, // the mean spread is above MAXIMUM DELTA
    OutOfRange,    // a factor outside 750 ... 1300
    Passed,        // new factors in cfrot/cfgruen/cfblau and the CF fields
};

// Asks "CONFIRM CALCULATION!", then takes 100 data frames (the CALCULATE button blinks; STOP
// does not end the sampling), forms the means and runs SetCF. Declined: an "INFO!" message and
// nothing else. A sample that does not arrive ends the sampling there (the time-out reaction has
// run once) and the run is refused with an "ATTENTION!" message that says how many of the 100
// samples were lost: means with holes in them would give wrong factors.
CalcOutcome CalcCF();

// SET VALUE and MAXIMUM DELTA into the variables, spread check, factors and their range check;
// passed factors go to cfrot/cfgruen/cfblau and the CF fields. A failed check is reported in an
// "ATTENTION!" popup; a pass is reported by the caller once the factors are in the sensor.
CFResult SetCF();

// CF fields into cfrot/cfgruen/cfblau, then SendFactors (order 30, echo check over 5 words,
// sets comecho).
void SendCF();

// Order 31; the reply goes into pp, the factors from its words 2 ... 4 into the variables and
// the CF fields. No complete reply: the time-out reaction, fields unchanged.
void GetCF();

// CF fields changed since the last good SEND CF or GET CF are marked and count as unsent
// values. Call once after the panels exist.
void WatchFactorChanges();

// The loop after a calibration: data frames until STOP or a time-out (the GO loop without GO's
// preparation of panels and graphs).
void GetCalibData();

} // namespace tintra
