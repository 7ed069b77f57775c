// Main window: branding, the seven page buttons, SEND/GET/GO/STOP, RAM/EEPROM/FILE, SHOW GRAPH,
// the page area (one child page visible at a time) and the data area beside it (data panel or
// signal graph panel).
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>
#include <functional>

class QPushButton;
class QScrollArea;

namespace tintra {

class Logo;

class MainPanel : public QWidget {
    Q_OBJECT
public:
    explicit MainPanel(QWidget *parent = nullptr);

    // Page buttons in page order 1 ... 7 (connection settings, parameters 1, teach table,
    // parameters 2, recorder, calibration, table attributes); nullptr outside 1 ... 7.
    QPushButton *PageButton(int index) const;

    Logo *LogoArea;
    QPushButton *ButtonConnect;
    QPushButton *ButtonPara1;
    QPushButton *ButtonTeachTable;
    QPushButton *ButtonPara2;
    QPushButton *ButtonRecorder;
    QPushButton *ButtonCalibrate;
    QPushButton *ButtonTableAttr;
    QPushButton *ButtonSend;  // F9
    QPushButton *ButtonGet;   // F10
    QPushButton *ButtonCompare; // opens the compare window
    QPushButton *ButtonGo;    // F11
    QPushButton *ButtonStop;  // F12
    QPushButton *SelectRAM;   // checkable; RAM checked at start
    QPushButton *SelectEEPROM;
    QPushButton *SelectFILE;
    QPushButton *ButtonShowGraph;

    // Where the child pages and the data / signal graph panels are placed.
    QWidget *PageArea;
    QWidget *DataArea;
    // Each area sits in a scroll area: on a small screen a page that cannot shrink further
    // scrolls instead of being cut off.
    QScrollArea *PageScroll;
    QScrollArea *DataScroll;

signals:
    // The operator (or the window system) asks to close the main window.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *e) override;

public:
    // Asked before the window closes; false keeps it open (e.g. the operator keeps unsent values).
    std::function<bool()> closeAllowed;
};

} // namespace tintra
