// Sensor parameters, page 2: colour groups and hold tables.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class ParaPanel2 : public QWidget {
    Q_OBJECT
public:
    explicit ParaPanel2(QWidget *parent = nullptr);
};

} // namespace tintra
