// Big colour-number display (top-level window): the detected colour number in large digits and
// the sensor identification.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QLabel;

namespace tintra {

class ColBigPanel : public QWidget {
    Q_OBJECT
public:
    explicit ColBigPanel(QWidget *parent = nullptr);
    QLabel *DispBigCOL;
    QLabel *DispIdColBig;
};

} // namespace tintra
