#include "parapanel1.h"

namespace tintra {

ParaPanel1::ParaPanel1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("parapanel1"));
}

} // namespace tintra
