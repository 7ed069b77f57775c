#include "interfacepanel.h"

namespace tintra {

InterfacePanel::InterfacePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("interfacepanel"));
}

} // namespace tintra
