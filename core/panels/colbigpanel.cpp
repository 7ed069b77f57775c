#include "colbigpanel.h"

#include "bignumber.h"

namespace tintra {

ColBigPanel::ColBigPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("colbigpanel"));
    BuildBigNumberWindow(this, QStringLiteral("C-No:"), "DispBigCOL", "DispIdColBig", &DispBigCOL,
                         &DispIdColBig);
}

} // namespace tintra
