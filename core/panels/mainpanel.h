// Main window: page buttons, SEND/GET/GO/STOP, RAM/EEPROM/FILE, branding.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class MainPanel : public QWidget {
    Q_OBJECT
public:
    explicit MainPanel(QWidget *parent = nullptr);
};

} // namespace tintra
