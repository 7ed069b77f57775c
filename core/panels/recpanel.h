// Data recorder page. Now: the sensor identification and the record file display; the recorder's
// controls come with the recorder.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace tintra {

class RecPanel : public QWidget {
    Q_OBJECT
public:
    explicit RecPanel(QWidget *parent = nullptr);
    QLabel *DispIdRec;       // sensor identification (SENSOR ID of the connection page)
    QLineEdit *DispRecFile;  // path of the record file
};

} // namespace tintra
