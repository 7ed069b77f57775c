#include "p3sidesview.h"

namespace tintra {

P3SidesView::P3SidesView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("p3sidesview"));
    // Large enough for the four graphs' captions and axis labels to stay readable.
    resize(760, 640);
}

} // namespace tintra
