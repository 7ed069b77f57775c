#include "recpanel.h"

#include "controls.h"
#include "core/info.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tintra {

RecPanel::RecPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("recpanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *box = new QGroupBox(QStringLiteral("DATA RECORDER"), this);
    auto *grid = new QGridLayout(box);
    DispIdRec = new QLabel(box);
    DispIdRec->setObjectName(QStringLiteral("DispIdRec"));
    DispIdRec->setTextFormat(Qt::PlainText);
    DispRecFile = MakeDisplay(box, "DispRecFile", 36, false);
    SetInfo(DispRecFile, "InfoDisRecFile");
    grid->addWidget(new QLabel(QStringLiteral("SENSOR ID"), box), 0, 0);
    grid->addWidget(DispIdRec, 0, 1);
    grid->addWidget(MakeCaption(box, "CaptionRecFile", QStringLiteral("FILE"), DispRecFile), 1, 0);
    grid->addWidget(DispRecFile, 1, 1);
    grid->setColumnStretch(1, 1);
    outer->addWidget(box);
    outer->addStretch(1);
}

} // namespace tintra
