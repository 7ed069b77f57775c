#include "tapanel.h"

#include "core/info.h"
#include "core/panels/cells.h"
#include "link/platform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

ColorNumeric::ColorNumeric(QWidget *parent) : QPushButton(parent)
{
    setValue(0xFF0000);
    connect(this, &QPushButton::clicked, this, [this] {
        int chosen = rgb;
        if (ColorSelectPopup(QStringLiteral("COLOR"), rgb, &chosen)) {
            setValue(chosen);
            emit committed();
        }
    });
}

void ColorNumeric::setValue(int value)
{
    rgb = value & 0xFFFFFF;
    update();
}

int ColorNumeric::shownColour() const
{
    if (isEnabled())
        return rgb;
    int out = 0;
    for (int shift : {16, 8, 0})
        out |= ((((rgb >> shift) & 0xFF) + 0xC0) / 2) << shift;
    return out;
}

void ColorNumeric::paintEvent(QPaintEvent *)
{
    // Drawn by hand: a style's button bevel or gradient would tint the colour.
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                  QPalette::WindowText));
    p.fillRect(r.adjusted(1, 1, -1, -1), Rgb(shownColour()));
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

TaPanel::TaPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tapanel"));

    EditSetColor = new QComboBox(this);
    EditSetColor->setObjectName(QStringLiteral("EditSetColor"));
    EditSetColor->addItem(QStringLiteral("Manually"), 0);
    EditSetColor->addItem(QStringLiteral("Automatically"), 1);
    EditSetColor->setCurrentIndex(1);
    EditRow = new QSpinBox(this);
    EditRow->setObjectName(QStringLiteral("EditRow"));
    EditRow->setRange(0, 30);
    EditColorNumericRow = new ColorNumeric(this);
    EditColorNumericRow->setObjectName(QStringLiteral("EditColorNumericRow"));
    EditColorNumericRow->setFixedWidth(80);

    struct Button {
        QPushButton **member;
        const char *name, *caption, *info;
    };
    const Button buttons[] = {
        {&ButtonSetRowColor, "ButtonSetRowColor", "SET ROW COLOR", "InfoButtonSetRowColor"},
        {&ButtonSaveArray, "ButtonSaveArray", "SAVE", "InfoButtonSaveArray"},
        {&ButtonGetArray, "ButtonGetArray", "LOAD", "InfoButtonGetArray"},
        {&ButtonSetStartupArray, "ButtonSetStartupArray", "SET AS STARTUP",
         "InfoButtonSetStartupArray"},
    };
    for (const Button &b : buttons) {
        *b.member = new QPushButton(QString::fromLatin1(b.caption), this);
        (*b.member)->setObjectName(QString::fromLatin1(b.name));
        SetInfo(*b.member, b.info, InfoTitleAttr);
    }
    SetInfo(EditSetColor, "InfoEditSetColor", InfoTitleAttr);
    SetInfo(EditRow, "InfoEditRow", InfoTitleAttr);
    SetInfo(EditColorNumericRow, "InfoEditColorNumRow", InfoTitleAttr);

    GridTa = new QTableWidget(31, 2, this);
    GridTa->setObjectName(QStringLiteral("GridTa"));
    for (int r = 0; r < 31; ++r) {
        GridTa->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(r)));
        GridTa->setItem(r, 0, new QTableWidgetItem(QString()));
    }
    SetColumnCaption(GridTa, 1, QStringLiteral("ROW SPECIFICATION"));
    SetColumnCaption(GridTa, 2, QString());
    MakeColourColumn(GridTa, 2);
    ShowCellMarks(GridTa);
    GridTa->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    GridTa->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    GridTa->setColumnWidth(1, 40);
    GridTa->verticalHeader()->setDefaultSectionSize(20);

    auto *g = new QGridLayout(this);
    g->addWidget(new QLabel(QStringLiteral("TABLE ATTRIBUTES"), this), 0, 0, 1, 4);
    g->addWidget(GridTa, 1, 0, 1, 4);
    g->addWidget(NewCaption(QStringLiteral("ROW INDICATOR COLORS"), EditSetColor, this), 2, 0);
    g->addWidget(EditSetColor, 2, 1);
    g->addWidget(NewCaption(QStringLiteral("ROW"), EditRow, this), 3, 0);
    g->addWidget(EditRow, 3, 1);
    g->addWidget(NewCaption(QStringLiteral("COLOR"), EditColorNumericRow, this), 3, 2);
    g->addWidget(EditColorNumericRow, 3, 3, Qt::AlignLeft);
    g->addWidget(ButtonSetRowColor, 4, 0, 1, 4);
    g->addWidget(ButtonSaveArray, 5, 0);
    g->addWidget(ButtonGetArray, 5, 1);
    g->addWidget(ButtonSetStartupArray, 5, 2, 1, 2);
}

} // namespace tintra
