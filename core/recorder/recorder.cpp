#include "recorder.h"

#include "core/acquire/acquire.h"
#include "core/acquire/paneldata.h"
#include "core/display/paintpace.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/controls.h"
#include "core/panels/cells.h"
#include "core/recorder/signalgraph.h"
#include "core/settings/paths.h"
#include "core/shell.h"
#include "link/codec.h"
#include "link/exchange.h"
#include "link/framesplitter.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cstring>
#include <vector>

namespace tintra {

uint16_t anzwerte = 0;
uint16_t otcrec = 0;
RecordTime reczeit = {0, 0, 0, 0};

namespace {

const QString attention = QStringLiteral("ATTENTION!");
const QString notOpenedElsewhere =
    QStringLiteral(" Make sure, that the file is not opened by any other program.");
const QString otherwiseNotSaved = QStringLiteral("\n Otherwise it can not be saved.");
const QString rightFileName =
    QStringLiteral("Are you sure, that you have selected the right file name?");

enum class Running { None, Timed, Triggered };
Running running = Running::None;
double framecounter = 0;
std::function<void()> recordListener;

// Lines that could not be written during the current recording, and why the first one failed.
struct WriteErrors {
    int failed = 0;
    int tried = 0;
    QString reason;
} writeErrors;
// The record file whose failure the last MANUAL RECORD reported: later presses that fail on it
// stay silent until a line is written again or the mode or file changes.
QString manualFailedPath;

// The triggered recording's byte stream, taken apart into frames; its dropped bytes are reported.
FrameSplitter sentFrames;
// After the order that stops the sensor's sending, frames it sent before are still on their way:
// they are taken until the link has been quiet this long (seconds), at most for drainLimit.
constexpr double drainQuiet = 0.1;
constexpr double drainLimit = 2.0;

// A cycle that starts later than this after its time starts the schedule afresh.
constexpr double onTimeSlack = 0.02;

void SetNumber(QLineEdit *e, double v) { e->setText(QString::number(v, 'f', 0)); }

int RecordMode() { return recpanel ? RingValue(recpanel->EditSelectDataRec) : 0; }

// Reads the record file's path from the box (its first line). With no file chosen the operator is
// told so and false returned: nothing is to be recorded.
bool TakeFileName()
{
    file_name = recpanel->DispRecFile->text().section(QLatin1Char('\n'), 0, 0);
    if (!file_name.trimmed().isEmpty())
        return true;
    MessagePopup(attention,
                 QStringLiteral("No filename was choosen! \nRecording will not be done! "));
    return false;
}

void ShowWriteError(const QString &reason, int failed = 0, int tried = 0,
                    const QString &tally = QString())
{
    QString text = QStringLiteral(" The record file could not be written: \n %1 \n Reason: %2 ")
                       .arg(file_name.isEmpty() ? QStringLiteral("(no file chosen)") : file_name,
                            reason);
    if (tried > 0)
        text += QStringLiteral("\n %1 of %2 lines are missing from it. ").arg(failed).arg(tried);
    MessagePopup(attention, text + tally);
}

// The end of a timed or triggered recording: its write errors once, else the usual message. A
// triggered recording adds the lines written and the bytes of the stream that were no frame.
void ReportRecording(bool triggered = false)
{
    const qint64 dropped = triggered ? sentFrames.dropped() : 0;
    const QString tally = triggered ? QStringLiteral("\n%1 lines written, %2 bytes dropped")
                                          .arg(writeErrors.tried - writeErrors.failed)
                                          .arg(dropped)
                                    : QString();
    if (writeErrors.failed > 0)
        ShowWriteError(writeErrors.reason, writeErrors.failed, writeErrors.tried, tally);
    else if (writeErrors.tried == 0 && dropped == 0) // a triggered recording to which nothing came
        MessagePopup(QStringLiteral("INFO!"),
                     QStringLiteral(" No frame has been recorded: \n 0 lines were written to the "
                                    "record file. "));
    else if (writeErrors.tried == 0)
        MessagePopup(QStringLiteral("INFO!"),
                     QStringLiteral(" No frame has been recorded: ") + tally);
    else
        MessagePopup(QStringLiteral("INFO!"), QStringLiteral("File has been saved!") + tally);
}

// One frame has been unpacked into databuf: on to the measured values, the signal graph, the
// live display and the graphs.
void ShowRecordedFrame()
{
    CopyDatatoVars();
    SetPanelGraphData();
    SetPanelData();
    ShowGraph();
}

} // namespace

bool RecordingRunning() { return running != Running::None; }

void SetRecordListener(std::function<void()> listener) { recordListener = std::move(listener); }

void InitRecordPanel()
{
    RecPanel *r = recpanel;
    if (!r)
        return;
    const int m = RecordMode();
    SetControlVisible(r->EditInterval, m == 0 || m == 1);
    SetControlVisible(r->EditRecVal, m == 0);
    r->DispRecordTime->setVisible(m == 0);
    SetControlVisible(r->DispRecordedValues, m == 0 || m == 2);
    SetControlVisible(r->DispRemaining, m == 0);
    SetControlVisible(r->DispFrameCounter, m == 1 || m == 3);
    r->ButtonStartRecord->setVisible(m == 0 || m == 1);
    r->ButtonStopRecord->setVisible(m == 0 || m == 1);
    r->ButtonStartTrigRec->setVisible(m == 3);
    r->ButtonStopTrigRec->setVisible(m == 3);
    r->ButtonManualRecord->setVisible(m == 2);
}

void CalcRecTime()
{
    RecPanel *r = recpanel;
    if (!r)
        return;
    zeitint = uint16_t(r->EditInterval->value());
    anzwerte = uint16_t(r->EditRecVal->value());
    SetNumber(r->DispRecordedValues, 0);
    SetNumber(r->DispRemaining, anzwerte);
    reczeit = SplitRecordTime(zeitint, anzwerte);
    SetNumber(r->DispRecDays, reczeit.days);
    SetNumber(r->DispRecHours, reczeit.hours);
    SetNumber(r->DispRecMinutes, reczeit.minutes);
    SetNumber(r->DispRecSeconds, reczeit.seconds);
}

void WriteFileHeader()
{
    manualFailedPath.clear(); // a file chosen anew: its failures are news again
    QString reason;
    if (!AppendToRecordFile(file_name, RecordHeader(), &reason))
        ShowWriteError(reason);
}

void SelRecFile()
{
    QString path;
    const QString start = proj_dir.isEmpty() ? GetProjectDir() : proj_dir;
    const int r = FileSelectPopup(start, QStringLiteral("record.dat"), QStringLiteral("*.dat"),
                                  QStringLiteral("FILENAME!"), true, &path);
    if (r == NoFileSelected || path.isEmpty()) {
        MessagePopup(attention,
                     QStringLiteral("No filename was choosen! \nRecording will not be done! "));
        return;
    }
    if (r == ExistingFileSelected) {
        if (!ConfirmPopup(attention, QStringLiteral("File already exist! \nDo you want to select "
                                                    "existing file?")))
            return;
        MessagePopup(attention, notOpenedElsewhere + QString(36, QLatin1Char(' ')) +
                                    otherwiseNotSaved);
        recpanel->DispRecFile->clear();
        recpanel->DispRecFile->setText(path);
        file_name = path;
        QFile::remove(path);
        WriteFileHeader();
        return;
    }
    recpanel->DispRecFile->clear();
    recpanel->DispRecFile->setText(path);
    file_name = path;
    WriteFileHeader();
}

void ToFile()
{
    const uint16_t values[recordValues] = {dataR, dataG,   dataB,   dataX,
                                           dataY, dataINT, dataCOL, dataTemp};
    QString reason;
    ++writeErrors.tried;
    if (!AppendToRecordFile(file_name, RecordLine(DateStr(), TimeStr(), values), &reason)) {
        if (writeErrors.failed++ == 0)
            writeErrors.reason = reason;
    }
}

void RecordFrame()
{
    RecPanel *r = recpanel;
    poll = 1;
    otcrec = 0;
    CalcRecTime();
    framecounter = 0.0;
    SetNumber(r->DispFrameCounter, framecounter);
    bool first = true;
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
            ShowRecordedFrame();
        } else {
            SetPopupTimeout(); // clears poll; the line below repeats the last values
        }
        ToFile();
        if (RecordMode() == 0) {
            ++otcrec;
            SetNumber(r->DispRecordedValues, otcrec);
            SetNumber(r->DispRemaining, anzwerte - otcrec);
            if (otcrec >= anzwerte)
                EndLoop();
        } else {
            framecounter += 1.0;
            SetNumber(r->DispFrameCounter, framecounter);
        }
        if (recordListener)
            recordListener();
        SlowDown();
    }
}

void Record()
{
    RecPanel *r = recpanel;
    if (!r || RecordingRunning() || AcquisitionRunning() || !TakeFileName())
        return;
    SetButtonsDimmed(1);
    InitPanelGraph();
    if (!ConfirmPopup(attention, rightFileName)) {
        SetButtonsDimmed(0);
        return;
    }
    MessagePopup(attention, notOpenedElsewhere + QString(34, QLatin1Char(' ')) + otherwiseNotSaved);
    for (QWidget *w : {static_cast<QWidget *>(r->EditInterval),
                       static_cast<QWidget *>(r->EditRecVal),
                       static_cast<QWidget *>(r->ButtonStartRecord)})
        w->setEnabled(false);
    SetButtonColour(r->ButtonStartRecord, recordingButtonColour);
    running = Running::Timed;
    writeErrors = {};
    RecordFrame();
    running = Running::None;
    ReportRecording();
    for (QWidget *w : {static_cast<QWidget *>(r->EditInterval),
                       static_cast<QWidget *>(r->EditRecVal),
                       static_cast<QWidget *>(r->ButtonStartRecord)})
        w->setEnabled(true);
    SetButtonColour(r->ButtonStartRecord, recordButtonColour);
    SetButtonsDimmed(0);
}

bool RecordSentFrame()
{
    GetRxBufData();
    if (databuf[0] != answerHeader)
        return false;
    ShowRecordedFrame();
    ToFile();
    framecounter += 1.0;
    SetNumber(recpanel->DispFrameCounter, framecounter);
    if (recordListener)
        recordListener();
    return true;
}

namespace {

// Appends the lines of one loop turn to the record file in one write. When that fails, each line
// is tried on its own, so as many whole lines as fit are kept and the missing ones are counted.
void BlockToFile(const QByteArray &block, const std::vector<qsizetype> &ends)
{
    QString reason;
    writeErrors.tried += int(ends.size());
    if (AppendToRecordFile(file_name, block, &reason))
        return;
    qsizetype from = 0;
    for (const qsizetype end : ends) {
        if (!AppendToRecordFile(file_name, block.mid(from, end - from), &reason) &&
            writeErrors.failed++ == 0)
            writeErrors.reason = reason;
        from = end;
    }
}

// One loop turn of the triggered recording: every whole frame among `bytes` (and what earlier
// reads left unfinished) into the signal graph and one record line each, in order; the lines
// written in one piece. Date and time are taken once per turn: its lines are written at the same
// moment. True when a frame came.
bool RecordSentBytes(const QByteArray &bytes)
{
    sentFrames.add(bytes.constData(), bytes.size());
    QByteArray block;
    std::vector<qsizetype> ends;
    QString date, time;
    while (const unsigned char *frame = sentFrames.next()) {
        std::memcpy(szReadBuf, frame, frameBytes);
        GetRxBufData();
        CopyDatatoVars();
        SetPanelGraphData();
        if (ends.empty()) {
            date = DateStr();
            time = TimeStr();
        }
        const uint16_t values[recordValues] = {dataR, dataG,   dataB,   dataX,
                                               dataY, dataINT, dataCOL, dataTemp};
        block += RecordLine(date, time, values);
        ends.push_back(block.size());
        framecounter += 1.0;
        if (recordListener)
            recordListener();
    }
    if (ends.empty())
        return false;
    BlockToFile(block, ends);
    return true;
}

// Milliseconds until the main window would be repainted: the displays need the newest values
// only by then.
double MsUntilShown() { return mainpanel ? MsUntilRepaint(mainpanel->window()) : 0.0; }

// The frame counter, the live display and the graphs with the last frame recorded.
void ShowLastFrame()
{
    SetNumber(recpanel->DispFrameCounter, framecounter);
    SetPanelData();
    ShowGraph();
}

} // namespace

void TriggeredRecord()
{
    RecPanel *r = recpanel;
    if (!r || RecordingRunning() || AcquisitionRunning() || !TakeFileName())
        return;
    if (!ConfirmPopup(attention, rightFileName))
        return;
    SetButtonsDimmed(1);
    MessagePopup(attention, notOpenedElsewhere + QString(42, QLatin1Char(' ')) + otherwiseNotSaved);
    SetButtonColour(r->ButtonStartTrigRec, recordingButtonColour);
    running = Running::Triggered;
    writeErrors = {};
    sentFrames.clear();

    KeepSentBytes(true);
    StartAutoSend();

    framecounter = 0.0;
    SetNumber(r->DispFrameCounter, framecounter);
    poll = 1;
    bool linked = true, shown = true;
    QByteArray bytes;
    while (poll == 1) {
        // The displays follow at the screen's pace: with newer values than they show, the wait
        // for bytes ends when the window would be repainted, so they are shown then.
        bytes.clear();
        if (ReadSentFrames(bytes, shown ? -1.0 : MsUntilShown() / 1000.0) < 0) {
            SetPopupTimeout(); // no link: nothing can arrive, and the operator is told so
            linked = false;
            break;
        }
        shown = !RecordSentBytes(bytes) && shown;
        if (!shown && MsUntilShown() <= 0) {
            ShowLastFrame();
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
        shown = !RecordSentBytes(bytes) && shown;
    }
    if (!shown)
        ShowLastFrame();
    KeepSentBytes(false);
    sentFrames.finish();
    running = Running::None;
    ReportRecording(true);
    SetButtonColour(r->ButtonStartTrigRec, recordButtonColour);
    SetButtonsDimmed(0);
}

void RecordManually()
{
    RecPanel *r = recpanel;
    if (!r || !TakeFileName())
        return;
    r->ButtonManualRecord->setEnabled(false);
    SetPanelGraphData();
    const WriteErrors outer = writeErrors; // a recording may run around this press
    writeErrors = {};
    ToFile();
    const WriteErrors mine = writeErrors;
    writeErrors = outer;
    ++otcrec;
    SetNumber(r->DispRecordedValues, otcrec);
    if (mine.failed == 0)
        manualFailedPath.clear();
    else if (manualFailedPath != file_name) {
        manualFailedPath = file_name;
        ShowWriteError(mine.reason);
    }
    r->ButtonManualRecord->setEnabled(true);
}

void OpenRecorder()
{
    InitRecordPanel();
    if (RecordMode() == 0)
        CalcRecTime();
    ShowChildPanel(5);
}

void ChangeRecordMode()
{
    EndLoop();
    manualFailedPath.clear();
    const int m = RecordMode();
    if (m == 2) {
        otcrec = 0;
        SetNumber(recpanel->DispRecordedValues, 0);
    }
    if (m == 0)
        CalcRecTime();
    InitPanelGraph();
    InitRecordPanel();
}

void CBF_RECP()
{
    if (running == Running::Triggered) {
        EndLoop(); // the loop switches the sending off as it ends
        return;
    }
    // No exchange may be running: the order would land in the middle of its answer or among the
    // frames of a long operation (a calibration's samples, a transfer).
    if (!RecordingRunning() && !AcquisitionRunning() && !LongOperationRunning()
        && (tcpcon || comprotocol == 0))
        StopAutoSend();
}

} // namespace tintra
