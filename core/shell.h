// Main-window helpers: page switching, dimming of the long-operation controls, finding controls by
// object name across the fourteen panels, and the two status fields.
#pragma once

#include <QString>

class QWidget;

namespace tintra {

// Colours of the page buttons.
constexpr unsigned neutralButtonColour = 0xE0E0E0; // light grey
constexpr unsigned markedButtonColour = 0xC0C0C0;  // grey: the page shown

// Shows child page `index` (1 connection settings, 2 parameters page 1, 3 teach table,
// 4 parameters page 2, 5 recorder, 6 calibration, 7 table attributes) and marks its button; page 1
// also dims ACCEPT. Any other index hides all seven pages.
void ShowChildPanel(int index);

// The child page of `index` (1 ... 7), or nullptr.
QWidget *ChildPanel(int index);

// 1 dims, 0 restores the controls that must not be used while a long operation runs (SEND, GET,
// GO, RAM/EEPROM/FILE, CALCMODE, TRY TO CONNECT, DISCARD, CALCULATE, SEND CF, GET CF, the recorder's
// mode selector, START RECORD, START TRIG REC, SELECT FILE), then lets pending events run once so
// the change is on screen. STOP buttons are never dimmed.
void SetButtonsDimmed(int dimmed);
// True from SetButtonsDimmed(1) to SetButtonsDimmed(0): a long operation may be talking to the
// sensor, even between two of its exchanges.
bool LongOperationRunning();

// Object names of the controls SetButtonsDimmed dims, ending with nullptr.
extern const char *const dimmedControlNames[];

// The control named `objectName` on any of the fourteen panels, or nullptr.
QWidget *FindControl(const char *objectName);

// Shows or hides a control together with the captions that name it (labels whose buddy it is).
void SetControlVisible(QWidget *control, bool visible);

// Writes `text` into both status fields: the data panel's status display and the connection page's
// status line. They always show the same text.
void SetStatusText(const QString &text);

// Shows the signal graph panel in place of the data panel (true) or the data panel again (false).
void ShowGraphPanel(bool graph);

} // namespace tintra
