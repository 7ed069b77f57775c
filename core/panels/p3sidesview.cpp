#include "p3sidesview.h"

namespace tintra {

P3SidesView::P3SidesView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("p3sidesview"));
}

} // namespace tintra
