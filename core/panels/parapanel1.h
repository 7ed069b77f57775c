// Sensor parameters, page 1: fourteen of the sixteen scalar parameters.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QComboBox;
class QSlider;
class QSpinBox;

namespace tintra {

class ParaPanel1 : public QWidget {
    Q_OBJECT
public:
    explicit ParaPanel1(QWidget *parent = nullptr);

    QSlider *SlidePower;     // 0 ... 1000
    QComboBox *EditPmode;
    QComboBox *EditAverage;
    QComboBox *Evalmode;
    QSpinBox *EditIntlim;
    QSpinBox *EditMaxcolNo;  // 0 ... 31
    QComboBox *EditOutmode;
    QComboBox *EditTrigger;
    QComboBox *EditExteach;
    QComboBox *Calcmode;
    QSpinBox *EditDynWinLo;
    QSpinBox *EditDynWinHi;
    QComboBox *EditLedMode;
    QComboBox *EditGain;
};

} // namespace tintra
