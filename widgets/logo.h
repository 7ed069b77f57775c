// Branding area of the main window.
#pragma once

#include <QWidget>

namespace tintra {

class Logo : public QWidget {
    Q_OBJECT
public:
    explicit Logo(QWidget *parent = nullptr);
};

} // namespace tintra
