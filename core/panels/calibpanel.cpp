#include "calibpanel.h"

namespace tintra {

CalibPanel::CalibPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("calibpanel"));
}

} // namespace tintra
