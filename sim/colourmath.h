// The simulated sensor's arithmetic: calibration, colour coordinates and colour matching.
//
// Pure functions on words, so the formulas are tested without sockets or threads.
#pragma once

#include "link/codec.h"

#include <array>
#include <cstdint>

namespace tintra::sim {

using Image = std::array<uint16_t, anzpara>;           // the sensor's parameter image
using RootTable = std::array<uint16_t, rootTableSize>; // 1000 * cube root of 16 * i

struct Rgb {
    uint16_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb &) const = default;
};

// Colour coordinates as the data frame carries them: X, Y, INT in the X/Y modes, s, i, M in the
// s/i modes.
struct Coordinates {
    uint16_t c1 = 0, c2 = 0, c3 = 0;
    bool operator==(const Coordinates &) const = default;
};

// Upper ends of the s, i and M ranges.
constexpr int sMax = 10000;
constexpr int iMax = 4000;
constexpr int mMax = 1200;

// Colour and group number when no teach row matches.
constexpr uint16_t noColour = 255;

// 1000 * cube root of (16 * i), truncated, for i = 0 ... 255 (the table the PC downloads).
RootTable defaultRootTable();

// raw * cf / 1024, limited to 4095.
uint16_t calibrate(uint16_t raw, uint16_t cf);

// INT = (R + G + B) / 3, X = 4095 R / (R + G + B), Y = 4095 G / (R + G + B); X = Y = 0 for black.
Coordinates xyInt(Rgb c);

// s, i, M from the cube roots of the channels (looked up in `root`, entry value / 16):
//   M = 1200 (cR + cG + cB) / 48000,  s = 5000 + 5000 (cR - cG) / 16000,
//   i = 2000 + 2000 (cG - cB) / 16000,  each limited to its range.
Coordinates siM(Rgb c, const RootTable &root);

// Coordinates for a calculation mode (0 and 2: X/Y/INT, 1 and 3: s/i/M).
Coordinates coordinatesFor(uint16_t calcmode, Rgb c, const RootTable &root);

// The first teach row 0 ... rows - 1 of `image` whose tolerance holds `p`, or 255.
//   Plane modes (0, 1): distance in the (c1, c2) plane <= column 3, |c3 - column 4| <= column 5.
//   Space modes (2, 3): distance from (column 1, column 2, column 3) <= column 4.
uint16_t matchColour(const Image &image, uint16_t calcmode, Coordinates p, int rows);

} // namespace tintra::sim
