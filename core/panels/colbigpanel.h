// Big colour-number display (top-level window).
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class ColBigPanel : public QWidget {
    Q_OBJECT
public:
    explicit ColBigPanel(QWidget *parent = nullptr);
};

} // namespace tintra
