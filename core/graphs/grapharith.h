// Arithmetic behind the live graphs: strip-chart buffers, intensity bands, the zoom of the
// zoomed X/Y graph and of the three-sides view, the history scale, tolerance-circle outlines,
// the colour patch and the COL5 lamps. No widgets here, so all of it is testable headless.
#pragma once

#include "link/codec.h"

#include <cstdint>

namespace tintra {

// Strip-chart buffers: 100 samples of three interleaved traces, oldest first.
constexpr int stripSamples = 100;
constexpr int stripTraces = 3;
constexpr int stripLen = stripSamples * stripTraces; // 300
constexpr int stripPointsPerScreen = stripSamples + 1;

extern double rawbuf[stripLen]; // R, G, B
extern double intbuf[stripLen]; // INT, upper band edge, lower band edge

// Drops the oldest sample and appends (a, b, c) as the newest. Works in place, allocates nothing.
void PushStripSample(double *buf, double a, double b, double c);

// Intensity band v - t ... v + t of a teach row, computed without overflow and clamped to
// 0 ... `top`. The strip chart cuts at 4095, the bar graph at 4096.
struct IntBand {
    int lo;
    int hi;
};
constexpr int stripBandTop = 4095;
constexpr int barBandTop = 4096;
IntBand IntensityBand(uint16_t v, uint16_t t, int top);

struct AxisRange {
    double lo;
    double hi;
    bool operator==(const AxisRange &o) const { return lo == o.lo && hi == o.hi; }
};

struct PlaneZoom {
    AxisRange h; // horizontal axis
    AxisRange v; // vertical axis
};

// Zoomed X/Y graph: a square window holding every taught circle (rows whose word 0 or word 1
// exceeds 10) and the current point (x, y), with a margin of 25. `k` is the teach word that
// holds the radius (2 in the plane modes, 3 in the space modes). `teach` is 31 rows of 5 words.
PlaneZoom ZoomPlane(const uint16_t *teach, int k, int x, int y);

// Three-sides view: the three plane graphs zoomed to every taught sphere (centre words 0, 1, 2,
// radius word 3) and the current point (x, y, in).
struct ThreeSidesZoom {
    PlaneZoom xy;
    PlaneZoom xint;
    PlaneZoom yint;
};
ThreeSidesZoom ZoomThreeSides(const uint16_t *teach, int x, int y, int in);

// Vertical range of the history strip chart: the values' whole-number extent (starting from
// 4096 and 0) widened by 15, not below 0.
AxisRange HistoryRange(const double *buf, int n);

// The outlines of one tolerance circle: the boxes (x1, y1, x2, y2) of the ellipses inscribed in
// them. The first is the exact box; the plane graphs draw the next two slightly offset ones as
// well so that a small circle stays visible.
struct CircleBox {
    double x1, y1, x2, y2;
};
int CircleOutlines(int cx, int cy, int t, int count, CircleBox *out);

// Display colour 0xRRGGBB of a measured R, G, B (12-bit values / 16, each limited to 255).
uint32_t PatchColor(uint16_t r, uint16_t g, uint16_t b);

// COL5 lamps for colour number v: lit[0] is weight 16, lit[4] weight 1.
void Col5Lamps(uint16_t v, bool lit[anzOut]);

} // namespace tintra
