// Two fixed ramps for the graphs: xramp[i] = i and yramp[i] = 4095 - i, i = 0 ... 4095.
#pragma once

#include <cstdint>

namespace tintra {

constexpr int rampSize = 4096;
extern int16_t xramp[rampSize];
extern int16_t yramp[rampSize];

void FillRamps();

} // namespace tintra
