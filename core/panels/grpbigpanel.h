// Big group-number display (top-level window): the detected group in large digits and the sensor
// identification.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QLabel;

namespace tintra {

class GrpBigPanel : public QWidget {
    Q_OBJECT
public:
    explicit GrpBigPanel(QWidget *parent = nullptr);
    QLabel *DispBigGroup;
    QLabel *DispIdGrpBig;
};

} // namespace tintra
