// Signal graph panel: shown in place of the data panel; CLOSE brings the data panel back.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QPushButton;
class QStackedWidget;

namespace tintra {

class GraphPanel : public QWidget {
    Q_OBJECT
public:
    explicit GraphPanel(QWidget *parent = nullptr);
    QStackedWidget *PanelGraphArea; // filled by the signal graph
    QPushButton *ButtonGpClose;
};

} // namespace tintra
