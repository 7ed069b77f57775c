#include "calibarith.h"

#include "codec.h"

#include <cmath>

namespace tintra {

uint16_t MeanOfSamples(uint32_t sum) { return static_cast<uint16_t>(sum / calibSamples); }

CFResult ComputeCF(uint16_t setvalue, uint16_t maxdelta, uint16_t meanD,
                   std::array<uint16_t, 3> &means, std::array<uint16_t, 3> &cf)
{
    if (meanD > maxdelta)
        return CFResult::SpreadTooHigh;
    for (uint16_t &m : means)
        if (m == 0)
            m = 1;
    std::array<uint32_t, 3> q{};
    for (int c = 0; c < 3; ++c) {
        // At most 65535 * 1024 = 67,107,840: fits 32 bits; judged before any narrowing.
        q[c] = uint32_t(setvalue) * 1024u / means[c];
        if (q[c] < cfMin || q[c] > cfMax)
            return CFResult::OutOfRange;
    }
    for (int c = 0; c < 3; ++c)
        cf[c] = static_cast<uint16_t>(q[c]);
    return CFResult::Passed;
}

void FillRootTable(uint16_t *table)
{
    const double third = 1.0 / 3.0;
    double x = 0.0;
    for (int i = 0; i < rootTableSize; ++i) {
        const double y = std::pow(x, third) * 1000.0;
        table[i] = static_cast<uint16_t>(static_cast<int>(y));
        x += 16.0;
    }
}

RootChunk RootChunkOf(int b)
{
    const int first = rootChunkEntries * b;
    const uint16_t count = b < rootChunks - 1 ? rootChunkEntries : rootTableSize - first;
    return {first, count, static_cast<uint16_t>(rootTableBase + first)};
}

} // namespace tintra
