#include "graphpanel.h"

#include "controls.h"
#include "core/info.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tintra {

GraphPanel::GraphPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("graphpanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *box = new QGroupBox(QStringLiteral("SIGNAL GRAPH"), this);
    auto *v = new QVBoxLayout(box);
    PanelGraphArea = new QStackedWidget(box);
    PanelGraphArea->setObjectName(QStringLiteral("PanelGraphArea"));
    PanelGraphArea->setFrameShape(QFrame::StyledPanel);
    PanelGraphArea->setMinimumHeight(300);
    v->addWidget(PanelGraphArea, 1);
    auto *row = new QHBoxLayout();
    row->addStretch(1);
    ButtonGpClose = MakeButton(box, "ButtonGpClose", QStringLiteral("CLOSE"));
    ButtonGpClose->setMinimumWidth(110);
    SetInfo(ButtonGpClose, "InfoButtonClosePanel");
    row->addWidget(ButtonGpClose);
    v->addLayout(row);
    outer->addWidget(box);
}

} // namespace tintra
