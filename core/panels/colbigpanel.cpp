#include "colbigpanel.h"

namespace tintra {

ColBigPanel::ColBigPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("colbigpanel"));
}

} // namespace tintra
