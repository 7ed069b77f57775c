// Big group-number display (top-level window).
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class GrpBigPanel : public QWidget {
    Q_OBJECT
public:
    explicit GrpBigPanel(QWidget *parent = nullptr);
};

} // namespace tintra
