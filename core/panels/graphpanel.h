// Signal graph.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class GraphPanel : public QWidget {
    Q_OBJECT
public:
    explicit GraphPanel(QWidget *parent = nullptr);
};

} // namespace tintra
