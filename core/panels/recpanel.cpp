#include "recpanel.h"

namespace tintra {

RecPanel::RecPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("recpanel"));
}

} // namespace tintra
