// Arithmetic of the white-light calibration and the cube-root table, without any window or link:
// means of the calibration samples, the factors and their checks, the table and its chunks.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace tintra {

constexpr int calibSamples = 100;     // samples averaged by a calibration
constexpr uint32_t cfMin = 750;       // smallest factor accepted (1024 = 1.0)
constexpr uint32_t cfMax = 1300;      // largest factor accepted
constexpr int rootChunks = 19;        // order-182 frames that carry the table
constexpr int rootChunkEntries = 14;  // entries in every chunk but the last

// Sums of the raw values and their spread over the calibration samples; a lost sample adds
// nothing, so it counts as zero in the means.
struct CalibSums {
    uint32_t r = 0, g = 0, b = 0, d = 0;
    void add(uint16_t rawR, uint16_t rawG, uint16_t rawB, uint16_t delta)
    {
        r += rawR;
        g += rawG;
        b += rawB;
        d += delta;
    }
};

// Largest minus smallest of the three raw values.
inline uint16_t RawSpread(uint16_t r, uint16_t g, uint16_t b)
{
    return static_cast<uint16_t>(std::max({r, g, b}) - std::min({r, g, b}));
}

// Sum divided by the full sample count (truncating), whether or not every sample arrived.
uint16_t MeanOfSamples(uint32_t sum);

enum class CFResult { Passed, SpreadTooHigh, OutOfRange };

// Factors for `setvalue` from the three means: spread check (meanD above maxdelta fails, equal
// passes), a mean of 0 taken as 1 (the means are changed in place), then per channel
// setvalue * 1024 / mean in 32 bits, each judged 750 ... 1300 on the full quotient, red first.
// `cf` is written only when all three pass.
CFResult ComputeCF(uint16_t setvalue, uint16_t maxdelta, uint16_t meanD,
                   std::array<uint16_t, 3> &means, std::array<uint16_t, 3> &cf);

// Cube-root table entry i: 1000 * cube root of (16 * i), truncated.
void FillRootTable(uint16_t *table); // 256 entries

// Chunk b (0 ... 18) of the table download: first entry, number of entries, sensor address.
struct RootChunk {
    int first;
    uint16_t count;
    uint16_t address;
};
RootChunk RootChunkOf(int b);

} // namespace tintra
