// COLOR TEACH TABLE.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class TtPanel : public QWidget {
    Q_OBJECT
public:
    explicit TtPanel(QWidget *parent = nullptr);
};

} // namespace tintra
