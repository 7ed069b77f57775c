// Signal graph panel: shown in place of the data panel; CLOSE brings the data panel back.
// SIGNAL chooses which of the seven graphs (filled into PanelGraphArea by the signal graph) is
// shown; the seven displays show the current R, G, B, X, Y, INT and TEMP.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tintra {

class GraphPanel : public QWidget {
    Q_OBJECT
public:
    explicit GraphPanel(QWidget *parent = nullptr);
    QComboBox *EditSignal;          // 0 R, 1 G, 2 B, 3 X (s), 4 Y (i), 5 INT (M), 6 TEMP
    QStackedWidget *PanelGraphArea; // filled by the signal graph
    QLineEdit *GpDisp[7];           // DispGpR ... DispGpTemp, in SIGNAL order
    QPushButton *ButtonGpClose;
};

} // namespace tintra
