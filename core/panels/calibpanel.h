// White-light calibration.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tintra {

class ColourBar;

class CalibPanel : public QWidget {
    Q_OBJECT
public:
    explicit CalibPanel(QWidget *parent = nullptr);

    // Raw red, green, blue of the last data frame as numbers and bars, and their spread.
    QLineEdit *DispRawR, *DispRawG, *DispRawB;
    QWidget *DispBarsRAW; // the three bars
    ColourBar *BarRawR, *BarRawG, *BarRawB; // 0 ... 4095
    QLineEdit *DispRawDelta;
    // The calibrated red, green, blue of the same frame (what the sensor made of the raw values
    // with its factors), as bars beside the raw ones.
    QWidget *DispBars;
    ColourBar *BarCalR, *BarCalG, *BarCalB; // 0 ... 4095

    // Target and limit of a calibration, and the button that runs it.
    QSpinBox *EditSetValue;  // 100 ... 4095, start 2048
    QSpinBox *EditMaxDelta;  // 0 ... 4095, start 400
    QPushButton *ButtonCalcCF;
    // The factors (1024 = 1.0): what SEND CF writes and GET CF shows. 0 ... 65535, start 1024.
    QSpinBox *EditCFR, *EditCFG, *EditCFB;
    QPushButton *ButtonSendCF, *ButtonGetCF;
};

} // namespace tintra
