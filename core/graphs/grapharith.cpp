#include "grapharith.h"

#include "link/state.h"

#include <algorithm>
#include <cmath>

namespace tintra {

double rawbuf[stripLen];
double intbuf[stripLen];

void PushStripSample(double *buf, double a, double b, double c)
{
    Shift(buf, stripLen, -stripTraces, buf);
    buf[stripLen - 3] = a;
    buf[stripLen - 2] = b;
    buf[stripLen - 1] = c;
}

IntBand IntensityBand(uint16_t v, uint16_t t, int top)
{
    // 32-bit arithmetic: a 16-bit sum would wrap for large values and put the band at 0.
    IntBand b{int(v) - int(t), int(v) + int(t)};
    if (b.hi > top)
        b.hi = top;
    if (b.lo < 0)
        b.lo = 0;
    return b;
}

namespace {

constexpr int boxStart = 10000;
constexpr int margin = 25;
constexpr int untaughtLimit = 10;

struct Extent {
    int min = boxStart;
    int max = 0;

    void include(int centre, int t)
    {
        min = std::min(min, centre - t);
        max = std::max(max, centre + t);
    }
};

struct SpanCentre {
    int span;
    int centre;
};

// Span and centre of the taught extent widened to hold the current value v.
SpanCentre WithPoint(Extent e, int v)
{
    if (e.max < e.min) // nothing counted: the whole 0 ... 10000
        std::swap(e.min, e.max);
    int span;
    int centre;
    if (v > e.max) {
        span = v - e.min;
        centre = e.min + span / 2;
    } else if (v < e.min) {
        span = e.max - v;
        centre = v + span / 2;
    } else {
        span = e.max - e.min;
        centre = e.min + span / 2;
    }
    return {span, centre};
}

bool Taught(const uint16_t *row) { return row[0] > untaughtLimit || row[1] > untaughtLimit; }

PlaneZoom Square(SpanCentre a, SpanCentre b)
{
    const int h = std::max(a.span, b.span) / 2;
    return {{double(a.centre - h - margin), double(a.centre + h + margin)},
            {double(b.centre - h - margin), double(b.centre + h + margin)}};
}

} // namespace

PlaneZoom ZoomPlane(const uint16_t *teach, int k, int x, int y)
{
    Extent ex, ey;
    for (int n = 0; n < anzVec; ++n) {
        const uint16_t *row = teach + 5 * n;
        if (!Taught(row))
            continue;
        ex.include(row[0], row[k]);
        ey.include(row[1], row[k]);
    }
    return Square(WithPoint(ex, x), WithPoint(ey, y));
}

ThreeSidesZoom ZoomThreeSides(const uint16_t *teach, int x, int y, int in)
{
    Extent ex, ey, ei;
    for (int n = 0; n < anzVec; ++n) {
        const uint16_t *row = teach + 5 * n;
        if (!Taught(row))
            continue;
        ex.include(row[0], row[3]);
        ey.include(row[1], row[3]);
        ei.include(row[2], row[3]);
    }
    const SpanCentre sx = WithPoint(ex, x), sy = WithPoint(ey, y), si = WithPoint(ei, in);
    return {Square(sx, sy), Square(sx, si), Square(sy, si)};
}

AxisRange HistoryRange(const double *buf, int n)
{
    double lo = 4096, hi = 0;
    for (int i = 0; i < n; ++i) {
        lo = std::min(lo, buf[i]);
        hi = std::max(hi, buf[i]);
    }
    const int ilo = int(std::trunc(lo)), ihi = int(std::trunc(hi));
    return {double(std::max(ilo - 15, 0)), double(ihi + 15)};
}

int CircleOutlines(int cx, int cy, int t, int count, CircleBox *out)
{
    const double x1 = cx - t, y1 = cy - t, x2 = cx + t, y2 = cy + t;
    const CircleBox all[3] = {{x1, y1, x2, y2},
                              {x1 + 0.025, y1 + 0.025, x2 + 0.025, y2 + 0.025},
                              {x1 + 0.05, y1 + 0.05, x2 + 0.005, y2 + 0.005}};
    count = std::clamp(count, 0, 3);
    std::copy(all, all + count, out);
    return count;
}

uint32_t PatchColor(uint16_t r, uint16_t g, uint16_t b)
{
    const auto comp = [](uint16_t v) { return uint32_t(std::min(v / 16, 255)); };
    return comp(r) << 16 | comp(g) << 8 | comp(b);
}

void Col5Lamps(uint16_t v, bool lit[anzOut])
{
    static constexpr int weights[anzOut] = {16, 8, 4, 2, 1};
    int rest = v;
    for (int i = 0; i < anzOut; ++i) {
        lit[i] = rest >= weights[i];
        if (lit[i])
            rest -= weights[i];
    }
}

} // namespace tintra
