// The data recorder: timed recording (a number of values, or until STOP), manual recording and
// recording of the frames the sensor sends by itself, into a tab-separated record file.
#pragma once

#include "link/recordfile.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace tintra {

extern uint16_t anzwerte;   // VALUES: values to record in mode 0
extern uint16_t otcrec;     // values recorded so far in modes 0 and 2
extern RecordTime reczeit;  // the record time shown

constexpr unsigned recordButtonColour = 0xE0E0E0;
constexpr unsigned recordingButtonColour = 0xFF0000;

void InitRecordPanel(); // show the controls of the selected mode, hide the others
void CalcRecTime();     // INTERVAL, VALUES -> zeitint, anzwerte; RECORDED 0, REMAINING, record time
void SelRecFile();      // SELECT FILE: choose the file and write its header
void WriteFileHeader(); // append the header line to file_name
void Record();          // START RECORD: modes 0 and 1
void RecordFrame();     // the timed loop
// START TRIG REC, mode 3: every whole frame the sensor sends, recorded once, in order, until STOP.
void TriggeredRecord();
// One frame in szReadBuf, recorded on its own (signal graph, live display, graphs, file, frame
// counter) if its first word is the answer word 170; false if dropped.
bool RecordSentFrame();
void RecordManually();  // MANUAL RECORD: mode 2
void ToFile();          // one data line with the current values

void OpenRecorder();       // the recorder page button
void ChangeRecordMode();   // a new RECORD MODE
void CBF_RECP();           // the recorder closes: automatic sending off
bool RecordingRunning();   // a timed or triggered recording runs

// Called after each line of a timed recording and each frame of a triggered one (nothing by
// default), e.g. to count or time them.
void SetRecordListener(std::function<void()> listener);

} // namespace tintra
