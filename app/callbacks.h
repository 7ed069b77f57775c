// Connecting the controls to their operations. Each area connects its own controls; WinMain calls
// all of them after the panels exist and before InitAll.
#pragma once

namespace tintra {

void ConnectMainCallbacks();       // page buttons, SHOW GRAPH, closing the main window, big windows
void ConnectConnectionCallbacks(); // CONNECT and the connection settings page
void ConnectParamsCallbacks();     // parameter pages, teach table, SEND/GET, RAM/EEPROM/FILE
void ConnectLiveCallbacks();       // GO, STOP and the live graphs
void ConnectTeachCallbacks();      // teach-table operations, teach window, table attributes
void ConnectRecorderCallbacks();   // data recorder page and signal graph panel
void ConnectCompareCallbacks();    // COMPARE and the compare window
void ConnectUnsentCallbacks();     // marks on unsent values, asking before quitting with them

// Calibration panel.
void ConnectCalibCallbacks(); // CALCULATE CALIBRATION FACTORS, SEND CF, GET CF
void CBF_ButtonCalcCF();      // white target confirmed: factors, SEND CF, table, closing loop
void CBF_ButtonSendCF();      // factors written, then the table after a good echo
void CBF_ButtonGetCF();       // factors read into the CF fields

} // namespace tintra
