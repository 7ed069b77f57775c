// Table attributes: row indicator colours and row texts.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QWidget>

class QTableWidget;

namespace tintra {

class TaPanel : public QWidget {
    Q_OBJECT
public:
    explicit TaPanel(QWidget *parent = nullptr);

    // Row-specification table: rows 1 ... 31 for colour rows 0 ... 30; column 1 the row's text,
    // column 2 its indicator colour.
    QTableWidget *GridTa;
};

} // namespace tintra
