// Data recorder page: the mode selector, INTERVAL and VALUES with the record time, the counters,
// the record file, and the start, stop and manual buttons. Which of them are shown depends on the
// mode (InitRecordPanel).
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tintra {

class RecPanel : public QWidget {
    Q_OBJECT
public:
    explicit RecPanel(QWidget *parent = nullptr);
    QLabel *DispIdRec;       // sensor identification (SENSOR ID of the connection page)
    QComboBox *EditSelectDataRec; // RECORD MODE 0 ... 3
    QSpinBox *EditInterval;  // seconds
    QSpinBox *EditRecVal;    // VALUES
    QGroupBox *DispRecordTime; // RECORD TIME: the four displays below
    QLineEdit *DispRecDays, *DispRecHours, *DispRecMinutes, *DispRecSeconds;
    QLineEdit *DispRecordedValues;
    QLineEdit *DispRemaining;
    QLineEdit *DispFrameCounter;
    QPushButton *ButtonSelRecFile;
    QLineEdit *DispRecFile;  // path of the record file
    QPushButton *ButtonStartRecord, *ButtonStopRecord;
    QPushButton *ButtonStartTrigRec, *ButtonStopTrigRec;
    QPushButton *ButtonManualRecord;
};

} // namespace tintra
