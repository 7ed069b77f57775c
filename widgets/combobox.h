// Editable server list with completion.
#pragma once

#include <QComboBox>

namespace tintra {

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);
};

} // namespace tintra
