#include "datapanel.h"

#include "controls.h"
#include "core/info.h"
#include "widgets/colourbar.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tintra {

namespace {


} // namespace

DataPanel::DataPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("datapanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    // Interface: status and the last connection attempt.
    auto *ifBox = new QGroupBox(QStringLiteral("INTERFACE"), this);
    auto *ifGrid = new QGridLayout(ifBox);
    DispStatus = MakeDisplay(ifBox, "DispStatus", 36, false);
    SetInfo(DispStatus, "InfoStatus");
    DispComPort = MakeDisplay(ifBox, "DispComPort", 4);
    DispServer = MakeDisplay(ifBox, "DispServer", 16, false);
    ifGrid->addWidget(MakeCaption(ifBox, "CaptionStatus", QStringLiteral("STATUS"), DispStatus), 0, 0);
    ifGrid->addWidget(DispStatus, 0, 1, 1, 3);
    // Only one of COM PORT and SERVER is visible (the one that fits the protocol): they share
    // a row.
    ifGrid->addWidget(MakeCaption(ifBox, "CaptionComPort", QStringLiteral("COM PORT"), DispComPort),
                      1, 0);
    ifGrid->addWidget(MakeCaption(ifBox, "CaptionServer", QStringLiteral("SERVER"), DispServer), 1, 0);
    auto *linkRow = new QHBoxLayout();
    linkRow->addWidget(DispComPort);
    linkRow->addWidget(DispServer, 1);
    linkRow->addStretch(0);
    ifGrid->addLayout(linkRow, 1, 1, 1, 3);
    ifGrid->setColumnStretch(3, 1);
    outer->addWidget(ifBox);

    // Red, green, blue as numbers and bars; the colour coordinates beside them.
    auto *values = new QHBoxLayout();
    auto *rgbBox = new QGroupBox(QStringLiteral("R / G / B"), this);
    auto *rgbGrid = new QGridLayout(rgbBox);
    // The bars sit in a container of their own (DispRGB): SOURCE shows or hides them, while the
    // numeric displays beside them always stay.
    auto *bars = new QWidget(rgbBox);
    bars->setObjectName(QStringLiteral("DispRGB"));
    SetInfo(bars, "InfoDispRAW");
    auto *barColumn = new QVBoxLayout(bars);
    barColumn->setContentsMargins(0, 0, 0, 0);
    struct RgbRow {
        QLineEdit *DataPanel::*disp;
        ColourBar *DataPanel::*bar;
        const char *dispName, *barName, *caption, *colour;
    };
    const RgbRow rgb[] = {
        {&DataPanel::DispRED, &DataPanel::BarRED, "DispRED", "BarRED", "RED", "#e02020"},
        {&DataPanel::DispGREEN, &DataPanel::BarGREEN, "DispGREEN", "BarGREEN", "GREEN", "#20b020"},
        {&DataPanel::DispBLUE, &DataPanel::BarBLUE, "DispBLUE", "BarBLUE", "BLUE", "#2040e0"},
    };
    for (int i = 0; i < 3; ++i) {
        QLineEdit *d = MakeDisplay(rgbBox, rgb[i].dispName, 5);
        SetInfo(d, "InfoDispRAW");
        this->*rgb[i].disp = d;
        ColourBar *b = MakeColourBar(bars, rgb[i].barName, rgb[i].colour, "InfoDispRAW", 140);
        b->setFixedHeight(d->sizeHint().height());
        this->*rgb[i].bar = b;
        barColumn->addWidget(b);
        rgbGrid->addWidget(MakeCaption(rgbBox, "", QString::fromLatin1(rgb[i].caption), d), i, 0);
        rgbGrid->addWidget(d, i, 1);
    }
    barColumn->setSpacing(rgbGrid->verticalSpacing() >= 0 ? rgbGrid->verticalSpacing() : 6);
    rgbGrid->addWidget(bars, 0, 2, 3, 1);
    rgbGrid->setColumnStretch(2, 1);
    values->addWidget(rgbBox, 3);

    auto *xyBox = new QGroupBox(QStringLiteral("COLOUR"), this);
    auto *xyGrid = new QGridLayout(xyBox);
    struct XyRow {
        QLineEdit *DataPanel::*disp;
        QLabel *DataPanel::*caption;
        const char *dispName, *captionName, *text, *info;
    };
    const XyRow xy[] = {
        {&DataPanel::DispX, &DataPanel::CaptionX, "DispX", "CaptionX", "X", "InfoDispX"},
        {&DataPanel::DispY, &DataPanel::CaptionY, "DispY", "CaptionY", "Y", "InfoDispY"},
        {&DataPanel::DispINT, &DataPanel::CaptionINT, "DispINT", "CaptionINT", "INT", "InfoDispINT"},
    };
    for (int i = 0; i < 3; ++i) {
        QLineEdit *d = MakeDisplay(xyBox, xy[i].dispName, 5);
        d->installEventFilter(this);
        SetInfo(d, xy[i].info);
        this->*xy[i].disp = d;
        QLabel *c = MakeCaption(xyBox, xy[i].captionName, QString::fromLatin1(xy[i].text), d);
        c->setMinimumWidth(c->fontMetrics().horizontalAdvance(QStringLiteral("INT")) + 6);
        this->*xy[i].caption = c;
        xyGrid->addWidget(c, i, 0);
        xyGrid->addWidget(d, i, 1);
    }
    xyGrid->setColumnStretch(2, 1);
    xyBox->setObjectName(QStringLiteral("GroupXY"));
    ColourBox = xyBox;
    values->addWidget(xyBox, 1);
    outer->addLayout(values);

    // Colour number, group, temperature, trigger lamp, colour patch and the COL5 lamps.
    auto *resBox = new QGroupBox(QStringLiteral("RESULT"), this);
    auto *res = new QHBoxLayout(resBox);
    res->setSpacing(8); // no extra gaps: the row is the data panel's widest
    DispCOL = MakeDisplay(resBox, "DispCOL", 4);
    SetInfo(DispCOL, "InfoDispCOL");
    DispGroup = MakeDisplay(resBox, "DispGroup", 4);
    SetInfo(DispGroup, "InfoDispGroup");
    DispTemp = MakeDisplay(resBox, "DispTemp", 4);
    SetInfo(DispTemp, "InfoDispTemp");
    res->addWidget(MakeCaption(resBox, "CaptionCOL", QStringLiteral("C-No:"), DispCOL));
    res->addWidget(DispCOL);
    res->addWidget(MakeCaption(resBox, "CaptionGroup", QStringLiteral("GRP"), DispGroup));
    res->addWidget(DispGroup);
    res->addWidget(MakeCaption(resBox, "CaptionTemp", QStringLiteral("TEMP"), DispTemp));
    res->addWidget(DispTemp);
    LedTrig = new Lamp(QColor(0, 200, 0), resBox);
    LedTrig->setObjectName(QStringLiteral("LedTrig"));
    res->addWidget(LedTrig);
    res->addWidget(MakeCaption(resBox, "CaptionLedTrig", QStringLiteral("LED TRIG"), LedTrig));
    ColorPatch = new QFrame(resBox);
    ColorPatch->setObjectName(QStringLiteral("ColorPatch"));
    ColorPatch->setFrameShape(QFrame::Box);
    ColorPatch->setFixedSize(44, 28);
    ColorPatch->setAutoFillBackground(true);
    res->addWidget(ColorPatch);
    res->addStretch(1);
    outer->addWidget(resBox);

    auto *srcRow = new QHBoxLayout();
    Col5Lamps = new QWidget(this);
    Col5Lamps->setObjectName(QStringLiteral("Col5Lamps"));
    auto *lampRow = new QHBoxLayout(Col5Lamps);
    lampRow->setContentsMargins(0, 0, 0, 0);
    lampRow->addWidget(new QLabel(QStringLiteral("COL5"), Col5Lamps));
    struct LampRow {
        Lamp *DataPanel::*member;
        const char *name, *weight;
    };
    const LampRow lamps[] = {
        {&DataPanel::LedCol16, "LedCol16", "16"}, {&DataPanel::LedCol8, "LedCol8", "8"},
        {&DataPanel::LedCol4, "LedCol4", "4"},    {&DataPanel::LedCol2, "LedCol2", "2"},
        {&DataPanel::LedCol1, "LedCol1", "1"},
    };
    for (const LampRow &l : lamps) {
        auto *lamp = new Lamp(QColor(255, 200, 0), Col5Lamps);
        lamp->setObjectName(QString::fromLatin1(l.name));
        this->*l.member = lamp;
        lampRow->addWidget(lamp);
        lampRow->addWidget(new QLabel(QString::fromLatin1(l.weight), Col5Lamps));
    }
    srcRow->addWidget(Col5Lamps);
    srcRow->addStretch(1);
    SelectSource = new QComboBox(this);
    SelectSource->setObjectName(QStringLiteral("SelectSource"));
    const char *items[] = {"RGB", "X/Y", "INT", "X/Y INT"};
    for (int i = 0; i < 4; ++i)
        SelectSource->addItem(QString::fromLatin1(items[i]), i);
    SelectSource->setMinimumWidth(110);
    SetInfo(SelectSource, "InfoSelectSource");
    srcRow->addWidget(MakeCaption(this, "CaptionSource", QStringLiteral("SOURCE:"), SelectSource));
    srcRow->addWidget(SelectSource);
    outer->addLayout(srcRow);

    // Boxes a little tighter from top to bottom than the style's own margins, so that the graphs
    // keep a readable height on a small screen whatever the interface font's line height.
    for (QGroupBox *box : {ifBox, rgbBox, xyBox, resBox}) {
        const QMargins m = box->layout()->contentsMargins();
        box->layout()->setContentsMargins(m.left(), compactBoxMargin, m.right(), compactBoxMargin);
    }

    GraphArea = new QStackedWidget(this);
    GraphArea->setObjectName(QStringLiteral("GraphArea"));
    // No minimum of its own: the graphs' minimums decide, so they shrink on a small screen.
    GraphArea->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(GraphArea, 1);
}

bool DataPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The COLOUR box goes with its three displays: when SOURCE hides them, no empty frame stays.
    if (ColourBox && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        if (watched == DispX || watched == DispY || watched == DispINT)
            ColourBox->setVisible(!DispX->isHidden() || !DispY->isHidden() ||
                                  !DispINT->isHidden());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tintra
