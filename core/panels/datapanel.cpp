#include "datapanel.h"

namespace tintra {

DataPanel::DataPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("datapanel"));
}

} // namespace tintra
