#include "teachpanel.h"

namespace tintra {

TeachPanel::TeachPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("teachpanel"));
}

} // namespace tintra
