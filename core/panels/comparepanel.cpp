#include "comparepanel.h"

#include "controls.h"
#include "core/info.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tintra {

ComparePanel::ComparePanel(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("comparepanel"));
    setWindowTitle(QStringLiteral("COMPARE"));
    auto *outer = new QVBoxLayout(this);

    auto *row = new QHBoxLayout();
    row->addWidget(new QLabel(QString::fromUtf8(InfoText("CompareWith")), this));
    ButtonCompareFile = MakeButton(this, "ButtonCompareFile", QStringLiteral("FILE"));
    ButtonCompareRAM = MakeButton(this, "ButtonCompareRAM", QStringLiteral("RAM"));
    ButtonCompareEEPROM = MakeButton(this, "ButtonCompareEEPROM", QStringLiteral("EEPROM"));
    SetInfo(ButtonCompareFile, "InfoButtonCompareFile");
    SetInfo(ButtonCompareRAM, "InfoButtonCompareRAM");
    SetInfo(ButtonCompareEEPROM, "InfoButtonCompareEEPROM");
    for (QPushButton *b : {ButtonCompareFile, ButtonCompareRAM, ButtonCompareEEPROM}) {
        b->setMinimumWidth(80);
        row->addWidget(b);
    }
    row->addStretch(1);
    outer->addLayout(row);

    DispCompareResult = new QLabel(this);
    DispCompareResult->setObjectName(QStringLiteral("DispCompareResult"));
    DispCompareResult->setTextFormat(Qt::PlainText);
    DispCompareResult->setWordWrap(true);
    SetInfo(DispCompareResult, "InfoCompareList");
    outer->addWidget(DispCompareResult);

    CompareList = new QTableWidget(0, 3, this);
    CompareList->setObjectName(QStringLiteral("CompareList"));
    CompareList->setHorizontalHeaderLabels(
        {QStringLiteral("FIELD"), QStringLiteral("PANELS"), QString()});
    CompareList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CompareList->setSelectionBehavior(QAbstractItemView::SelectRows);
    CompareList->verticalHeader()->hide();
    // Every column as wide as its longest entry, but never narrower than a ring value such as
    // "3 = COL5" needs with room to spare; the last one takes what is left.
    QHeaderView *header = CompareList->horizontalHeader();
    header->setMinimumSectionSize(CompareList->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 16);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    SetInfo(CompareList, "InfoCompareList");
    outer->addWidget(CompareList, 1);

    auto *bottom = new QHBoxLayout();
    bottom->addStretch(1);
    ButtonCompareClose = MakeButton(this, "ButtonCompareClose", QStringLiteral("CLOSE"));
    SetInfo(ButtonCompareClose, "InfoButtonCompareClose");
    bottom->addWidget(ButtonCompareClose);
    outer->addLayout(bottom);
}

} // namespace tintra
