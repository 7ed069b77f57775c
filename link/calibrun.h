// The white-light calibration without any window: the 100 samples and their means, the factors
// and their checks, writing the factors (order 30) and the cube-root table (orders 180, 182).
// The calibration panel and `tintractl calibrate` call these same functions; what the panel
// shows while it runs (the blinking button, the raw values) comes in through hooks.
#pragma once

#include "calibarith.h"

#include <functional>

namespace tintra {

extern uint16_t setvalue;  // target raw value for all three channels (SET VALUE)
extern uint16_t maxdelta;  // largest permitted mean spread of the raw values (MAXIMUM DELTA)
extern uint16_t meanR, meanG, meanB, meanD; // means over the calibration samples

// The ranges SET VALUE and MAXIMUM DELTA accept. The floor of SET VALUE keeps a run without any
// sample (means 0, taken as 1) from passing.
constexpr int setValueMin = 100, setValueMax = 4095;
constexpr int maxDeltaMin = 0, maxDeltaMax = 4095;

// Why a calculation was refused, word for word as the operator reads it ("ATTENTION!"): the
// mean spread is above MAXIMUM DELTA; a factor is outside 750 ... 1300; samples did not arrive
// (%1 of the 100).
inline constexpr char maximumDeltaText[] =
    " The maximum delta of the raw data values RED,GREEN and BLUE is to high. \n Calibration is not possible. \n Verify, that the sensor shines on a WHITE target! \n Increase MAXIMUM DELTA OF RAW DATAS! ";
inline constexpr char cfOutOfRangeText[] =
    " One of the calibration factor is out of range. \n Calibration is not possible. \n Verify, that the senor shines on a WHITE target! \n Choose a proper POWER value. ";
inline constexpr char samplesLostText[] =
    " %1 of the 100 samples were lost. \n Calibration is not possible. \n Nothing was sent to the EEPROM of the sensor. \n Verify the connection to the sensor! ";

// What happens around each sample; every hook may be left empty.
struct SampleHooks {
    std::function<void(int i)> before; // sample i (0 ... 99) is about to be requested
    std::function<void()> arrived;     // a sample is in the measured values
    std::function<void()> pause;       // between two samples; empty: a plain 10 ms wait
};

// 100 data frames (order 5), each followed by the pause; the raw values and their spread are
// summed. A sample that does not arrive ends the sampling there (the time-out reaction has run
// once): means with holes in them would give wrong factors. Returns the samples received; only
// when all 100 came are meanR ... meanD set (sum / 100, truncating).
int TakeCalibSamples(const SampleHooks &hooks);

// ComputeCF on setvalue, maxdelta and the means (a mean of 0 becomes 1 in place); passed factors
// go into cfrot, cfgruen, cfblau.
CFResult FactorsFromMeans();

// cfrot, cfgruen, cfblau to the sensor: order 30, echo check over 5 words (sets comecho).
void SendFactors();

// Fills data3rdRoot: 1000 * cube root of 16 * i, truncated.
void Calc3rdRoot();

// Recomputes the table and downloads it: order 180 with the base address (echo over 2 words),
// a 0.2 s pause, then 19 order-182 chunks, each echo-checked over count + 4 words. Stops at the
// first bad echo (comecho 0).
void Send3rdRoot();

enum class WriteResult { Written, FactorsNotSent, TableNotSent };

// The end of a calibration run: the factors (`sendFactors`, by default SendFactors; the panel
// first takes them from its fields), 0.5 s, after a good echo the cube-root table, 0.5 s. The
// pauses are plain waits: nothing else runs during them.
WriteResult WriteCalibration(const std::function<void()> &sendFactors = SendFactors);

} // namespace tintra
