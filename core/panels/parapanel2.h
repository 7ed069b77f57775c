// Sensor parameters, page 2: colour groups, GROUP TABLE and HOLD TABLE.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tintra {

class ParaPanel2 : public QWidget {
    Q_OBJECT
public:
    explicit ParaPanel2(QWidget *parent = nullptr);

    QCheckBox *EditColorGroups;
    QTableWidget *EditGridGroups; // rows 1 ... 31: colour rows 0 ... 30; column 2: row colour
    QTableWidget *EditGridHold;   // row 1: colour 255; rows 2 ... 32: colour rows 0 ... 30
    QSpinBox *EditResetHold;
    QPushButton *ButtonResetGroupTable;
    QPushButton *ButtonResetHoldTable;
};

} // namespace tintra
