// Live values, interface status, bars, lamps and the graph area.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QStackedWidget;

namespace tintra {

class ColourBar;
class Lamp;

class DataPanel : public QWidget {
    Q_OBJECT
public:
    explicit DataPanel(QWidget *parent = nullptr);

    // Interface status ("TRY", link errors, "TIMEOUT", the sensor's identification text) and the
    // values of the last connection attempt (only the one that fits the protocol is visible).
    QLineEdit *DispStatus;
    QLineEdit *DispComPort;
    QLineEdit *DispServer;

    QLineEdit *DispRED, *DispGREEN, *DispBLUE;
    ColourBar *BarRED, *BarGREEN, *BarBLUE;   // 0 ... 4095
    QLineEdit *DispX, *DispY, *DispINT;
    QLabel *CaptionX, *CaptionY, *CaptionINT;    // "X", "Y", "INT" or "s", "i", "M"
    QLineEdit *DispCOL;    // C-No:
    QLineEdit *DispGroup;  // GRP
    QLineEdit *DispTemp;   // TEMP
    Lamp *LedTrig;         // LED TRIG
    QFrame *ColorPatch;    // painted in the measured colour
    Lamp *LedCol16, *LedCol8, *LedCol4, *LedCol2, *LedCol1; // COL5 lamps
    QWidget *Col5Lamps;    // the five lamps with their captions
    QComboBox *SelectSource; // items 0 RGB, 1 X/Y, 2 INT, 3 X/Y INT
    QStackedWidget *GraphArea; // filled by the graphs
    QWidget *ColourBox = nullptr; // frame of X, Y, INT; shown while any of them is

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace tintra
