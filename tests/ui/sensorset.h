// A parameter set for the simulated sensor that every ring can show and the mode rules keep as
// it is (EVALMODE 1, PMODE STAT, CALCMODE 0, colour groups on, OUTMODE BINARY), all values apart:
// row r holds 100 r + 1, + 11, + 21, + 31, + 41, group r % 5, hold 700 + r. And the image words
// whose fields the panels mark as unsent.
#pragma once

#include "core/params/unsent.h"
#include "sim/colourmath.h"

#include <QList>
#include <algorithm>

namespace tintra::test {

inline sim::Image SensorSet()
{
    sim::Image img{};
    const uint16_t scalars[16] = {640, 0, 32, 1, 90, 410, 12, 1, 1, 0, 0, 1200, 3400, 1, 1, 4};
    std::copy(scalars, scalars + 16, img.begin());
    for (int r = 0; r < 31; ++r) {
        for (int c = 0; c < 5; ++c)
            img[size_t(16 + 7 * r + c)] = uint16_t(100 * r + 10 * c + 1);
        img[size_t(16 + 7 * r + 5)] = uint16_t(r % 5);
        img[size_t(16 + 7 * r + 6)] = uint16_t(700 + r);
    }
    return img;
}

inline QList<int> MarkedWords()
{
    QList<int> out;
    for (int w = 0; w < 233; ++w)
        if (IsMarked(w))
            out << w;
    return out;
}

} // namespace tintra::test
