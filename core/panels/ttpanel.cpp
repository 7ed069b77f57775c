#include "ttpanel.h"

namespace tintra {

TtPanel::TtPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ttpanel"));
}

} // namespace tintra
