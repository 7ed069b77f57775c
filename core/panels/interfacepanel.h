// Connection settings.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class InterfacePanel : public QWidget {
    Q_OBJECT
public:
    explicit InterfacePanel(QWidget *parent = nullptr);
};

} // namespace tintra
