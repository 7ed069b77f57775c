// The simulated sensor's state and its side of the order table, without any I/O.
//
// A command frame goes in, the answer bytes come out; the link code (SensorSim) only moves bytes.
// Time is passed in by the caller (milliseconds since the sensor started), so scenes and the
// temperature drift are reproducible in tests.
#pragma once

#include "colourmath.h"

#include <QByteArray>
#include <array>
#include <deque>
#include <random>
#include <vector>

namespace tintra::sim {

enum class Scene { Fixed, Cycle };

class SensorModel {
public:
    SensorModel();

    // The sensor's memory. Orders 1 and 2 write `ram`; 6 and 8 copy between the two images.
    Image ram{};
    Image eeprom{};
    std::array<uint16_t, 3> cf{1024, 1024, 1024}; // calibration factors, 1024 = 1.0
    RootTable rootTable{};
    uint16_t rootBase = rootTableBase;            // address of root table entry 0 (order 180)
    QByteArray idText = "SIMULATED COLOUR SENSOR"; // answer to order 7, cut to 36 bytes

    // The simulated target.
    Scene scene = Scene::Cycle;
    Rgb colour{2400, 1800, 900}; // the target in the fixed scene
    // A white target as a real sensor sees it before calibration: red a little high, blue a
    // little low (spread 300). Calibrating on it passes with SET VALUE 2048.
    static constexpr Rgb whiteTarget{2150, 2000, 1850};
    int noise = 4;               // each raw channel varies by up to +- this many counts
    int cyclePeriodMs = 1500;    // the cycle scene shows each colour this long
    bool autoSend = false;       // set by order 50
    uint16_t frameCounter = 0;   // data frames produced, sent in word 15
    // Words 2 ... 17 of the next data frames, taken in turn in place of the measured ones (the
    // last stays), so a test knows every value a frame carries. Empty: measured frames.
    std::deque<std::array<uint16_t, 16>> scriptedData;

    // The colours of the cycle scene, in order; the last one is too dark to be recognised.
    static const std::vector<Rgb> &cycleColours();
    // The start-up parameter set: rows 0 ... 4 hold the cycle colours as taught in CALCMODE 0.
    static Image defaultImage();

    // Handles one 36-byte command frame; returns the answer (empty: the sensor stays silent).
    QByteArray handleFrame(const unsigned char *frame, qint64 nowMs);

    // A data frame (order 5 answer and automatic sending). `triggered` sets the trigger word.
    QByteArray dataFrame(qint64 nowMs, bool triggered = false);

    Rgb targetColour(qint64 nowMs) const;
    // Trigger word of the scene: in the cycle scene 1 during the first half of each colour.
    uint16_t triggerState(qint64 nowMs) const;
    // Temperature in degrees: drifts slowly between 30 and 40.
    uint16_t temperature(qint64 nowMs) const;
    // Number of teach rows compared: MAXCOL-No. (at most 31), 5 in EVALMODE COL5.
    int rowsChecked() const;

private:
    std::mt19937 rng_{20261207};
};

} // namespace tintra::sim
