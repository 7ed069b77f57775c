#include "tapanel.h"

namespace tintra {

TaPanel::TaPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tapanel"));
}

} // namespace tintra
