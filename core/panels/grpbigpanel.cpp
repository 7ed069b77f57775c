#include "grpbigpanel.h"

#include "bignumber.h"

namespace tintra {

GrpBigPanel::GrpBigPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("grpbigpanel"));
    BuildBigNumberWindow(this, QStringLiteral("GRP"), "DispBigGroup", "DispIdGrpBig", &DispBigGroup,
                         &DispIdGrpBig);
}

} // namespace tintra
