#include "colourmath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tintra::sim {

RootTable defaultRootTable()
{
    RootTable t{};
    double x = 0.0;
    for (auto &e : t) {
        e = static_cast<uint16_t>(std::pow(x, 1.0 / 3.0) * 1000.0);
        x += 16.0;
    }
    return t;
}

uint16_t calibrate(uint16_t raw, uint16_t cf)
{
    const uint32_t v = uint32_t(raw) * cf / 1024u;
    return static_cast<uint16_t>(std::min<uint32_t>(v, 4095));
}

Coordinates xyInt(Rgb c)
{
    const uint32_t sum = uint32_t(c.r) + c.g + c.b;
    if (sum == 0)
        return {};
    return {static_cast<uint16_t>(4095u * c.r / sum), static_cast<uint16_t>(4095u * c.g / sum),
            static_cast<uint16_t>(sum / 3)};
}

Coordinates siM(Rgb c, const RootTable &root)
{
    auto cube = [&](uint16_t v) { return int(root[std::min<int>(v, 4095) >> 4]); };
    const int cr = cube(c.r), cg = cube(c.g), cb = cube(c.b);
    const int m = (cr + cg + cb) * mMax / 48000;
    const int s = sMax / 2 + (cr - cg) * (sMax / 2) / 16000;
    const int i = iMax / 2 + (cg - cb) * (iMax / 2) / 16000;
    return {static_cast<uint16_t>(std::clamp(s, 0, sMax)),
            static_cast<uint16_t>(std::clamp(i, 0, iMax)),
            static_cast<uint16_t>(std::clamp(m, 0, mMax))};
}

Coordinates coordinatesFor(uint16_t calcmode, Rgb c, const RootTable &root)
{
    return (calcmode == 1 || calcmode == 3) ? siM(c, root) : xyInt(c);
}

uint16_t matchColour(const Image &image, uint16_t calcmode, Coordinates p, int rows)
{
    const bool space = calcmode == 2 || calcmode == 3;
    rows = std::clamp(rows, 0, 31);
    for (int r = 0; r < rows; ++r) {
        const uint16_t *row = &image[16 + 7 * r];
        const double d1 = double(p.c1) - row[0];
        const double d2 = double(p.c2) - row[1];
        if (space) {
            const double d3 = double(p.c3) - row[2];
            if (std::sqrt(d1 * d1 + d2 * d2 + d3 * d3) <= row[3])
                return static_cast<uint16_t>(r);
        } else if (std::sqrt(d1 * d1 + d2 * d2) <= row[2] &&
                   std::abs(int(p.c3) - int(row[3])) <= row[4]) {
            return static_cast<uint16_t>(r);
        }
    }
    return noColour;
}

} // namespace tintra::sim
