#include "graphpanel.h"

namespace tintra {

GraphPanel::GraphPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("graphpanel"));
}

} // namespace tintra
