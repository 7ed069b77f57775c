// Mean-value teach panel (top level): captured frames, their mean and spread, and how the
// tolerances are taught.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tintra {

class TeachPanel : public QWidget {
    Q_OBJECT
public:
    explicit TeachPanel(QWidget *parent = nullptr);

    QTableWidget *GridTpValues;   // 100 rows x R, G, B, X, Y, INT
    QTableWidget *GridTpMean;     // 1 row, the column means
    QSpinBox *DispTpMaxDeltaXY;   // largest distance from the mean point (display)
    QSpinBox *DispTpMaxDeltaInt;  // largest intensity deviation (display)
    QComboBox *EditTpTeachCtoWith;
    QSpinBox *EditTpValueCto;
    QComboBox *EditTpTeachItoWith;
    QSpinBox *EditTpValueIto;
    QSpinBox *DispTpCounter;      // captured frames, 0 ... 100 (display)
    QSpinBox *EditTpRowNo;        // colour row to teach into, 0 ... 30
    QPushButton *ButtonTpCapture;
    QPushButton *ButtonTpUndo;
    QPushButton *ButtonTpResetTable;
    QPushButton *ButtonTpTeachToTable;
    QPushButton *ButtonTpClose;
};

} // namespace tintra
