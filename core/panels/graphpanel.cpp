#include "graphpanel.h"

#include "controls.h"
#include "core/info.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

    auto *top = new QHBoxLayout();
    EditSignal = new QComboBox(box);
    EditSignal->setObjectName(QStringLiteral("EditSignal"));
    const char *const signals_[7] = {"R", "G", "B", "X", "Y", "INT", "TEMP"};
    for (int i = 0; i < 7; ++i)
        EditSignal->addItem(QString::fromLatin1(signals_[i]), i);
    EditSignal->setMinimumWidth(90);
    SetInfo(EditSignal, "InfoEditSignal");
    top->addWidget(MakeCaption(box, "CaptionSignal", QStringLiteral("SIGNAL"), EditSignal));
    top->addWidget(EditSignal);
    top->addStretch(1);
    v->addLayout(top);

    PanelGraphArea = new QStackedWidget(box);
    PanelGraphArea->setObjectName(QStringLiteral("PanelGraphArea"));
    PanelGraphArea->setFrameShape(QFrame::StyledPanel);
    PanelGraphArea->setMinimumHeight(150); // shrinks on a small screen
    v->addWidget(PanelGraphArea, 1);

    // The current values, captioned like SIGNAL's items (X, Y, INT follow the calculation mode).
    auto *values = new QGridLayout();
    values->setHorizontalSpacing(4); // seven displays in a row: the panel's width on a small screen
    const char *const names[7] = {"DispGpR", "DispGpG", "DispGpB", "DispGpX",
                                  "DispGpY", "DispGpINT", "DispGpTemp"};
    const char *const infos[7] = {"InfoDispRAW", "InfoDispRAW", "InfoDispRAW", "InfoDispX",
                                  "InfoDispY",   "InfoDispINT", "InfoDispTemp"};
    for (int i = 0; i < 7; ++i) {
        GpDisp[i] = MakeDisplay(box, names[i], i == 6 ? 4 : 5); // TEMP as on the data panel
        SetInfo(GpDisp[i], infos[i]);
        auto *caption = MakeCaption(box, "", QString::fromLatin1(signals_[i]), GpDisp[i]);
        caption->setObjectName(QStringLiteral("Caption") + QString::fromLatin1(names[i]).mid(4));
        caption->setAlignment(Qt::AlignCenter);
        values->addWidget(caption, 0, i);
        values->addWidget(GpDisp[i], 1, i, Qt::AlignHCenter);
    }
    v->addLayout(values);

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
