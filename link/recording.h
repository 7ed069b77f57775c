// The loops that read the sensor frame after frame, without any window: the live loop (GO), the
// timed recording and the triggered recording, and the writer of their record lines. The window
// and tintractl run these same functions; what each shows of a frame it installs as hooks.
#pragma once

#include "link/recordfile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace tintra {

// The pause between two frames of the live loop, seconds.
constexpr double loopSleep = 0.010;

// What the window does around the pause: `starts` runs first (it draws the frame's plots and
// lets repaints through), then pending events run once, then `rest` is told how many seconds of
// the pause are left before they are slept in the event loop (it holds repaints over them).
struct PauseHooks {
    std::function<void()> starts;
    std::function<void(double left)> rest;
};

// The pause between two frames, spent in the event loop and ending on time: a sleeping thread
// wakes somewhat late, so the pause aims that much earlier, as seen over the last pauses (a
// running mean, at most half a millisecond), and lasts 10 ms on average.
void PauseBetweenFrames(const PauseHooks &hooks);
// How much earlier than 10 ms the pause now aims (seconds).
double PauseLateness();

// The live loop: poll = 1 (the serial link flushed first); while it stays 1, one data request
// (order 5); a frame that came is in the measured values and goes to `frame`; no answer runs the
// time-out reaction, which ends the loop; every pass ends in the pause. False when it ended by a
// time-out.
bool RunDataLoop(const std::function<void()> &frame, const PauseHooks &pause = {});

// The lines of one recording: tried, not written, the reason of the first failure, and (triggered)
// the bytes of the stream that were no frame.
struct RecordTally {
    int tried = 0;
    int failed = 0;
    QString reason;
    qint64 dropped = 0;
};

// The eight values of a record line, from the measured values: dataR, dataG, dataB, dataX, dataY,
// dataINT, dataCOL, dataTemp.
void RecordedValues(uint16_t values[recordValues]);

// One data line with the current measured values and the clock's date and time, appended to
// `path` and counted in `tally`; false when it could not be written.
bool WriteRecordLine(const QString &path, RecordTally &tally);

struct RecordHooks {
    // Timed: a frame came (its values are in dataR ...). Triggered: each frame, before its line.
    std::function<void()> frame;
    // After each line: timed, after every cycle's line (a count may end the loop here);
    // triggered, after each frame's line.
    std::function<void()> line;
    // Triggered: seconds until the newest frame should be shown, and showing it. Without `show`
    // nothing is shown; without `showIn` it is shown after every read.
    std::function<double()> showIn;
    std::function<void()> show;
};

// Timed recording: poll = 1; while it stays 1, one cycle every zeitint seconds, start to start:
// a data request (order 5), the frame to `frame` (or the time-out reaction, which ends the loop),
// one line into `path` in either case (after a time-out with the last values), `line`, and the
// interval wait (SlowDown), which ends at once when poll is cleared. Cycles that start on time
// follow at whole intervals from the first; a late one (more than 20 ms) starts the count
// afresh. False when it ended by a time-out.
bool RecordTimed(const QString &path, RecordTally &tally, const RecordHooks &hooks);

// Triggered recording: poll = 1, the link keeps what the sensor sends, automatic sending on
// (order 50 with 1); while poll stays 1, every whole frame that arrives (first word 170, merged,
// split or among noise) gets `frame`, one line in `path` and `line`, in order; the lines of one
// read are written in one piece. Then automatic sending off (order 50 with 0), and what the
// sensor sent before it took that order is recorded too (until the link has been quiet for
// 0.1 s, at most 2 s). No time-out. False when there was no link (the time-out reaction ran).
bool RecordTriggered(const QString &path, RecordTally &tally, const RecordHooks &hooks);

} // namespace tintra
