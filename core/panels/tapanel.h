// Table attributes: row indicator colours and row texts.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

namespace tintra {

class TaPanel : public QWidget {
    Q_OBJECT
public:
    explicit TaPanel(QWidget *parent = nullptr);
};

} // namespace tintra
