// Live values, status line, bars and graphs.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class DataPanel : public QWidget {
    Q_OBJECT
public:
    explicit DataPanel(QWidget *parent = nullptr);
};

} // namespace tintra
