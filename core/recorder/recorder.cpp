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
#include "link/platform.h"
#include "link/recording.h"
#include "link/state.h"
#include "link/transport.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

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

// The lines of the current recording: tried, not written and why, the triggered stream's noise.
RecordTally writeErrors;
// The record file whose failure the last MANUAL RECORD reported: later presses that fail on it
// stay silent until a line is written again or the mode or file changes.
QString manualFailedPath;

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
    const qint64 dropped = triggered ? writeErrors.dropped : 0;
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

// One frame is in the measured values: on to the signal graph, the live display and the graphs.
void ShowRecordedFrame()
{
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

void ToFile() { WriteRecordLine(file_name, writeErrors); }

void RecordFrame()
{
    RecPanel *r = recpanel;
    otcrec = 0;
    CalcRecTime();
    framecounter = 0.0;
    SetNumber(r->DispFrameCounter, framecounter);
    RecordHooks hooks;
    hooks.frame = ShowRecordedFrame;
    hooks.line = [r] {
        // The mode selector is read again every cycle.
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
    };
    RecordTimed(file_name, writeErrors, hooks);
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
    CopyDatatoVars();
    ShowRecordedFrame();
    ToFile();
    framecounter += 1.0;
    SetNumber(recpanel->DispFrameCounter, framecounter);
    if (recordListener)
        recordListener();
    return true;
}

namespace {

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

    framecounter = 0.0;
    SetNumber(r->DispFrameCounter, framecounter);
    RecordHooks hooks;
    hooks.frame = SetPanelGraphData;
    hooks.line = [] {
        framecounter += 1.0;
        if (recordListener)
            recordListener();
    };
    // The displays follow at the screen's pace: with newer values than they show, they are shown
    // when the window would be repainted.
    hooks.showIn = [] { return MsUntilShown() / 1000.0; };
    hooks.show = ShowLastFrame;
    RecordTriggered(file_name, writeErrors, hooks);
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
    const RecordTally outer = writeErrors; // a recording may run around this press
    writeErrors = {};
    ToFile();
    const RecordTally mine = writeErrors;
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
