// White-light calibration.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QLineEdit;
class QProgressBar;

namespace tintra {

class CalibPanel : public QWidget {
    Q_OBJECT
public:
    explicit CalibPanel(QWidget *parent = nullptr);

    // Raw red, green, blue of the last data frame as numbers and bars, and their spread.
    QLineEdit *DispRawR, *DispRawG, *DispRawB;
    QWidget *DispBarsRAW; // the three bars
    QProgressBar *BarRawR, *BarRawG, *BarRawB; // 0 ... 4095
    QLineEdit *DispRawDelta;
};

} // namespace tintra
