#include "grpbigpanel.h"

namespace tintra {

GrpBigPanel::GrpBigPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("grpbigpanel"));
}

} // namespace tintra
