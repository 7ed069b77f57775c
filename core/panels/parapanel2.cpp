#include "parapanel2.h"

namespace tintra {

ParaPanel2::ParaPanel2(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("parapanel2"));
}

} // namespace tintra
