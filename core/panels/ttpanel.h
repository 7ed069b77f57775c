// COLOR TEACH TABLE: 31 colour rows of five teach words, column 6 the row colour; the "No.:"
// field and its auto-increment switch.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace tintra {

class TtPanel : public QWidget {
    Q_OBJECT
public:
    explicit TtPanel(QWidget *parent = nullptr);

    QTableWidget *GridCtt;
    QSpinBox *EditNo;      // 0 ... 30
    QRadioButton *RadioInc;
    QPushButton *ButtonTeachDataTo;
    QPushButton *ButtonApplyFromAll;
    QPushButton *ButtonResetTable;
    QPushButton *ButtonTeachMeanVal;
};

} // namespace tintra
