#include "teacharith.h"

#include <cmath>
#include <cstdlib>

namespace tintra {

namespace {

bool spaceMode(uint16_t calc) { return calc >= 2; }

} // namespace

DefaultTolerance DefaultTolerances(uint16_t evalmode, uint16_t pmode, uint16_t calcmode)
{
    const bool stat = pmode == 0;
    DefaultTolerance d{};
    switch (evalmode) {
    case 1: d = {200, uint16_t(stat ? 200 : 100)}; break;
    case 2: d = {40, uint16_t(stat ? 200 : 100)}; break;
    default: d = {100, uint16_t(stat ? 100 : 50)}; break;
    }
    if (calcmode == 1)
        d.intensity = 50;
    return d;
}

void TeachRowWords(uint16_t calcmode, uint16_t evalmode, uint16_t pmode, uint16_t x, uint16_t y,
                   uint16_t in, uint16_t row[5])
{
    const DefaultTolerance d = DefaultTolerances(evalmode, pmode, calcmode);
    row[0] = x;
    row[1] = y;
    if (spaceMode(calcmode)) {
        row[2] = in;
        row[3] = d.colour;
    } else {
        row[2] = d.colour;
        row[3] = in;
        row[4] = d.intensity;
    }
}

void ColumnMeans(const uint16_t rows[][tpCols], int n, uint16_t mean[tpCols])
{
    for (int c = 0; c < tpCols; ++c) {
        int32_t sum = 0; // at most 100 x 65535
        for (int r = 0; r < n; ++r)
            sum += rows[r][c];
        mean[c] = uint16_t(sum / n);
    }
}

MaxDelta MaxDeltas(const uint16_t rows[][tpCols], int n, uint16_t meanx, uint16_t meany,
                   uint16_t meanint, uint16_t calcmode)
{
    MaxDelta m{0, 0};
    for (int r = 0; r < n; ++r) {
        const int64_t dx = int64_t(rows[r][3]) - meanx;
        const int64_t dy = int64_t(rows[r][4]) - meany;
        const int64_t di = std::llabs(int64_t(rows[r][5]) - meanint);
        if (di > m.intensity)
            m.intensity = uint16_t(di);
        // 64-bit sum: three squares of word differences do not fit 32 bits.
        int64_t sq = dx * dx + dy * dy;
        if (spaceMode(calcmode))
            sq += di * di;
        const int64_t d = int64_t(std::sqrt(double(sq)));
        const uint16_t dw = d > 65535 ? uint16_t(65535) : uint16_t(d);
        if (dw > m.dist)
            m.dist = dw;
    }
    return m;
}

uint16_t ChosenTolerance(int choice, uint16_t typed, uint16_t delta, uint16_t present)
{
    switch (choice) {
    case TolTyped: return typed;
    case TolDelta: return delta;
    case TolTypedPlusDelta: {
        const unsigned sum = unsigned(typed) + delta;
        return sum > 65535 ? uint16_t(65535) : uint16_t(sum);
    }
    default: return present;
    }
}

void MeanRowWords(uint16_t calcmode, uint16_t evalmode, uint16_t mx, uint16_t my, uint16_t mi,
                  uint16_t colourTol, uint16_t intensityTol, uint16_t row[5])
{
    const uint16_t c = evalmode == 2 ? fixedColourTolerance : colourTol;
    row[0] = mx;
    row[1] = my;
    if (spaceMode(calcmode)) {
        row[2] = mi;
        row[3] = c;
    } else {
        row[2] = c;
        row[3] = mi;
        row[4] = intensityTol;
    }
}

} // namespace tintra
