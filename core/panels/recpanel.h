// Data recorder.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class RecPanel : public QWidget {
    Q_OBJECT
public:
    explicit RecPanel(QWidget *parent = nullptr);
};

} // namespace tintra
