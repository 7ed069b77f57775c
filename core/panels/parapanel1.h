// Sensor parameters, page 1.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class ParaPanel1 : public QWidget {
    Q_OBJECT
public:
    explicit ParaPanel1(QWidget *parent = nullptr);
};

} // namespace tintra
