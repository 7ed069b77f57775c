#include "ramps.h"

namespace tintra {

int16_t xramp[rampSize];
int16_t yramp[rampSize];

void FillRamps()
{
    for (int i = 0; i < rampSize; ++i) {
        xramp[i] = int16_t(i);
        yramp[i] = int16_t(rampSize - 1 - i);
    }
}

} // namespace tintra
