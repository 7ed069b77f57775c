// Three-sides view (top-level window).
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class P3SidesView : public QWidget {
    Q_OBJECT
public:
    explicit P3SidesView(QWidget *parent = nullptr);
};

} // namespace tintra
