#include "calibpanel.h"

#include "controls.h"
#include "core/info.h"

#include <QGridLayout>
#include <QLabel>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>

namespace tintra {

CalibPanel::CalibPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("calibpanel"));
    auto *outer = new QVBoxLayout(this);

    // Raw values of the current frame: numbers, bars and the spread between them.
    auto *rawBox = new QGroupBox(QStringLiteral("RAW DATA"), this);
    auto *grid = new QGridLayout(rawBox);
    DispBarsRAW = new QWidget(rawBox);
    DispBarsRAW->setObjectName(QStringLiteral("DispBarsRAW"));
    SetInfo(DispBarsRAW, "InfoDispBarsRAW");
    auto *bars = new QVBoxLayout(DispBarsRAW);
    bars->setContentsMargins(0, 0, 0, 0);
    struct Row {
        QLineEdit *CalibPanel::*disp;
        QProgressBar *CalibPanel::*bar;
        const char *dispName, *barName, *caption, *colour;
    };
    const Row rows[] = {
        {&CalibPanel::DispRawR, &CalibPanel::BarRawR, "DispRawR", "BarRawR", "RAW R", "#e02020"},
        {&CalibPanel::DispRawG, &CalibPanel::BarRawG, "DispRawG", "BarRawG", "RAW G", "#20b020"},
        {&CalibPanel::DispRawB, &CalibPanel::BarRawB, "DispRawB", "BarRawB", "RAW B", "#2040e0"},
    };
    int r = 0;
    for (const Row &row : rows) {
        QLineEdit *d = MakeDisplay(rawBox, row.dispName, 5);
        SetInfo(d, "InfoDispBarsRAW");
        auto *b = new QProgressBar(DispBarsRAW);
        b->setObjectName(QString::fromLatin1(row.barName));
        b->setRange(0, 4095);
        b->setValue(0);
        b->setTextVisible(false);
        b->setMinimumWidth(140);
        b->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #808080; "
                                        "background: #f4f4f4; min-height: 16px; } "
                                        "QProgressBar::chunk { background: %1; }")
                             .arg(QLatin1String(row.colour)));
        SetInfo(b, "InfoDispBarsRAW");
        bars->addWidget(b);
        this->*row.disp = d;
        this->*row.bar = b;
        grid->addWidget(MakeCaption(rawBox, nullptr, QString::fromLatin1(row.caption), d), r, 0);
        grid->addWidget(d, r, 1);
        ++r;
    }
    grid->addWidget(DispBarsRAW, 0, 2, 3, 1);
    DispRawDelta = MakeDisplay(rawBox, "DispRawDelta", 5);
    SetInfo(DispRawDelta, "InfoDispRawDelta");
    grid->addWidget(MakeCaption(rawBox, nullptr, QStringLiteral("DELTA"), DispRawDelta), 3, 0);
    grid->addWidget(DispRawDelta, 3, 1);
    grid->setColumnStretch(2, 1);
    outer->addWidget(rawBox);
    outer->addStretch(1);
}

} // namespace tintra
