#include "parapanel2.h"

#include "core/info.h"
#include "core/panels/cells.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

ParaPanel2::ParaPanel2(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("parapanel2"));

    EditColorGroups = new QCheckBox(QStringLiteral("COLOR GROUPS"), this);
    EditColorGroups->setObjectName(QStringLiteral("EditColorGroups"));

    EditGridGroups = NewU16Table(31, 2, 0, this);
    EditGridGroups->setObjectName(QStringLiteral("EditGridGroups"));
    SetColumnCaption(EditGridGroups, 1, QStringLiteral("GROUP"));
    SetColumnCaption(EditGridGroups, 2, QString());
    MakeColourColumn(EditGridGroups, 2);

    EditGridHold = NewU16Table(32, 2, -1, this);
    EditGridHold->setObjectName(QStringLiteral("EditGridHold"));
    EditGridHold->verticalHeaderItem(0)->setText(QStringLiteral("255"));
    SetColumnCaption(EditGridHold, 1, QStringLiteral("HOLD"));
    SetColumnCaption(EditGridHold, 2, QString());
    MakeColourColumn(EditGridHold, 2);

    EditResetHold = new QSpinBox(this);
    EditResetHold->setObjectName(QStringLiteral("EditResetHold"));
    EditResetHold->setRange(0, 65535);

    ButtonResetGroupTable = new QPushButton(QStringLiteral("RESET GROUP TABLE"), this);
    ButtonResetGroupTable->setObjectName(QStringLiteral("ButtonResetGroupTable"));
    ButtonResetHoldTable = new QPushButton(QStringLiteral("RESET HOLD TABLE"), this);
    ButtonResetHoldTable->setObjectName(QStringLiteral("ButtonResetHoldTable"));

    SetInfo(EditColorGroups, "InfoEditColorGroups");
    SetInfo(EditGridHold, "InfoEditHold");
    SetInfo(EditResetHold, "InfoEditResetHold");
    SetInfo(ButtonResetGroupTable, "InfoButtonResetGroupTable");
    SetInfo(ButtonResetHoldTable, "InfoButtonResetHoldTable");

    auto *g = new QGridLayout(this);
    g->addWidget(EditColorGroups, 0, 0);
    g->addWidget(new QLabel(QStringLiteral("GROUP TABLE"), this), 1, 0);
    g->addWidget(new QLabel(QStringLiteral("HOLD TABLE"), this), 1, 1);
    g->addWidget(EditGridGroups, 2, 0);
    g->addWidget(EditGridHold, 2, 1);
    g->addWidget(ButtonResetGroupTable, 3, 0);
    g->addWidget(ButtonResetHoldTable, 3, 1);
    g->addWidget(NewCaption(QStringLiteral("RESET HOLD"), EditResetHold, this), 4, 0);
    g->addWidget(EditResetHold, 4, 1);
}

} // namespace tintra
