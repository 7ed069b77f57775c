#include "mainpanel.h"

namespace tintra {

MainPanel::MainPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mainpanel"));
}

} // namespace tintra
