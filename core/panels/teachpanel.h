// Mean-value teach (top-level window).
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class TeachPanel : public QWidget {
    Q_OBJECT
public:
    explicit TeachPanel(QWidget *parent = nullptr);
};

} // namespace tintra
