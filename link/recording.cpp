#include "recording.h"

#include "codec.h"
#include "exchange.h"
#include "framesplitter.h"
#include "platform.h"
#include "recordfile.h"
#include "state.h"
#include "transport.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tintra {

namespace {

constexpr double maxLateness = 0.0005;
double lateness = 0;

// A timed cycle that starts later than this after its time starts the schedule afresh.
constexpr double onTimeSlack = 0.02;

// After the order that stops the sensor's sending, frames it sent before are still on their way:
// they are taken until the link has been quiet this long (seconds), at most for drainLimit.
constexpr double drainQuiet = 0.1;
constexpr double drainLimit = 2.0;

QByteArray CurrentLine(const QString &date, const QString &time)
{
    uint16_t values[recordValues];
    RecordedValues(values);
    return RecordLine(date, time, values);
}

// Appends the lines of one read to the record file in one write. When that fails, each line is
// tried on its own, so as many whole lines as fit are kept and the missing ones are counted.
void BlockToFile(const QString &path, RecordTally &tally, const QByteArray &block,
                 const std::vector<qsizetype> &ends)
{
    QString reason;
    tally.tried += int(ends.size());
    if (AppendToRecordFile(path, block, &reason))
        return;
    qsizetype from = 0;
    for (const qsizetype end : ends) {
        if (!AppendToRecordFile(path, block.mid(from, end - from), &reason) && tally.failed++ == 0)
            tally.reason = reason;
        from = end;
    }
}

// Every whole frame among `bytes` (and what earlier reads left unfinished) to the hooks and one
// record line each, in order; the lines written in one piece, with the date and time taken once
// (they are written at the same moment). True when a frame came.
bool RecordSentBytes(FrameSplitter &frames, const QByteArray &bytes, const QString &path,
                     RecordTally &tally, const RecordHooks &hooks)
{
    frames.add(bytes.constData(), bytes.size());
    QByteArray block;
    std::vector<qsizetype> ends;
    QString date, time;
    while (const unsigned char *frame = frames.next()) {
        std::memcpy(szReadBuf, frame, frameBytes);
        GetRxBufData();
        CopyDatatoVars();
        if (hooks.frame)
            hooks.frame();
        if (ends.empty()) {
            date = DateStr();
            time = TimeStr();
        }
        block += CurrentLine(date, time);
        ends.push_back(block.size());
        if (hooks.line)
            hooks.line();
    }
    if (ends.empty())
        return false;
    BlockToFile(path, tally, block, ends);
    return true;
}

} // namespace

void PauseBetweenFrames(const PauseHooks &hooks)
{
    const double start = Timer();
    if (hooks.starts)
        hooks.starts();
    ProcessSystemEvents();
    const double aim = loopSleep - lateness;
    const double left = aim - (Timer() - start);
    if (hooks.rest)
        hooks.rest(std::max(0.0, left));
    WaitUntil(start, aim);
    // Only a pause that slept tells how late the system wakes (a long repaint does not).
    if (left > 0)
        lateness += (std::min(Timer() - start - aim, maxLateness) - lateness) / 8;
}

double PauseLateness() { return lateness; }

bool RunDataLoop(const std::function<void()> &frame, const PauseHooks &pause)
{
    poll = 1;
    if (comprotocol == 0)
        FlushQueues();
    bool answered = true;
    while (poll == 1) {
        if (RequestDataFrame()) {
            if (frame)
                frame();
        } else {
            SetPopupTimeout(); // clears poll; the measured values keep the last good frame
            answered = false;
        }
        PauseBetweenFrames(pause);
    }
    return answered;
}

void RecordedValues(uint16_t values[recordValues])
{
    const uint16_t *const from[recordValues] = {&dataR, &dataG,   &dataB,   &dataX,
                                                &dataY, &dataINT, &dataCOL, &dataTemp};
    for (int i = 0; i < recordValues; ++i)
        values[i] = *from[i];
}

bool WriteRecordLine(const QString &path, RecordTally &tally)
{
    QString reason;
    ++tally.tried;
    if (AppendToRecordFile(path, CurrentLine(DateStr(), TimeStr()), &reason))
        return true;
    if (tally.failed++ == 0)
        tally.reason = reason;
    return false;
}

bool RecordTimed(const QString &path, RecordTally &tally, const RecordHooks &hooks)
{
    poll = 1;
    bool first = true, answered = true;
    while (poll == 1) {
        // Cycles that start on time follow each other at whole intervals from the first one, so
        // the wake-up delays of the waits do not add up. A late cycle (a popup held open, a slow
        // answer) starts the count afresh, so no two cycles come closer than the interval.
        const double now = Timer();
        if (first || now - (recstart + zeitint) > onTimeSlack)
            recstart = now;
        else
            recstart += zeitint;
        first = false;
        if (RequestDataFrame()) {
            if (hooks.frame)
                hooks.frame();
        } else {
            SetPopupTimeout(); // clears poll; the line below repeats the last values
            answered = false;
        }
        WriteRecordLine(path, tally);
        if (hooks.line)
            hooks.line();
        SlowDown();
    }
    return answered;
}

bool RecordTriggered(const QString &path, RecordTally &tally, const RecordHooks &hooks)
{
    poll = 1; // set first, so that a STOP while the sending is switched on is kept
    FrameSplitter frames;
    KeepSentBytes(true);
    StartAutoSend();
    auto showNow = [&] { return !hooks.showIn || hooks.showIn() <= 0; };
    bool linked = true, shown = true;
    QByteArray bytes;
    while (poll == 1) {
        // With newer values than are shown, the wait for bytes ends when they should be shown.
        bytes.clear();
        const double limit = shown || !hooks.showIn ? -1.0 : std::max(0.0, hooks.showIn());
        if (ReadSentFrames(bytes, limit) < 0) {
            SetPopupTimeout(); // no link: nothing can arrive, and the operator is told so
            linked = false;
            break;
        }
        shown = !RecordSentBytes(frames, bytes, path, tally, hooks) && shown;
        if (!shown && showNow()) {
            if (hooks.show)
                hooks.show();
            shown = true;
        }
    }
    EndLoop();
    StopAutoSend();
    // What the sensor sent before it took the order is recorded too.
    const double stopped = Timer();
    while (linked && Timer() - stopped < drainLimit) {
        bytes.clear();
        if (ReadSentFrames(bytes, drainQuiet) <= 0)
            break;
        shown = !RecordSentBytes(frames, bytes, path, tally, hooks) && shown;
    }
    if (!shown && hooks.show)
        hooks.show();
    KeepSentBytes(false);
    frames.finish();
    tally.dropped = frames.dropped();
    return linked;
}

} // namespace tintra
