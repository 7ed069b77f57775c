// Compare window: FILE / RAM / EEPROM choose what the panels' parameter set is compared with;
// the list below shows only the differing fields (name, panel value, other value), read-only.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace tintra {

class ComparePanel : public QWidget {
    Q_OBJECT
public:
    explicit ComparePanel(QWidget *parent = nullptr);
    QPushButton *ButtonCompareFile;
    QPushButton *ButtonCompareRAM;
    QPushButton *ButtonCompareEEPROM;
    QPushButton *ButtonCompareClose;
    QLabel *DispCompareResult; // what was compared and how many fields differ
    QTableWidget *CompareList; // FIELD, PANELS, the other value; never editable
};

} // namespace tintra
