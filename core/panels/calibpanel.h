// White-light calibration.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class CalibPanel : public QWidget {
    Q_OBJECT
public:
    explicit CalibPanel(QWidget *parent = nullptr);
};

} // namespace tintra
