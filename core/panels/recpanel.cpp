#include "recpanel.h"

#include "controls.h"
#include "core/info.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tintra {

namespace {

QSpinBox *MakeSpin(QWidget *parent, const char *name, int lo, int hi, int start)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(lo, hi);
    s->setValue(start);
    s->setKeyboardTracking(false);
    s->setAlignment(Qt::AlignRight);
    s->setMinimumWidth(110);
    return s;
}

} // namespace

RecPanel::RecPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("recpanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *box = new QGroupBox(QStringLiteral("DATA RECORDER"), this);
    auto *v = new QVBoxLayout(box);
    v->setSpacing(10);

    auto *top = new QGridLayout();
    DispIdRec = new QLabel(box);
    DispIdRec->setObjectName(QStringLiteral("DispIdRec"));
    DispIdRec->setTextFormat(Qt::PlainText);
    top->addWidget(new QLabel(QStringLiteral("SENSOR ID"), box), 0, 0);
    top->addWidget(DispIdRec, 0, 1);
    EditSelectDataRec = new QComboBox(box);
    EditSelectDataRec->setObjectName(QStringLiteral("EditSelectDataRec"));
    const char *const modes[] = {"TIMED, NUMBER OF VALUES", "TIMED, UNTIL STOP", "MANUAL",
                                 "TRIGGERED BY THE SENSOR"};
    for (int m = 0; m < 4; ++m)
        EditSelectDataRec->addItem(QString::fromLatin1(modes[m]), m);
    SetInfo(EditSelectDataRec, "InfoEditSelDataRec");
    top->addWidget(MakeCaption(box, "CaptionSelectDataRec", QStringLiteral("RECORD MODE"),
                               EditSelectDataRec), 1, 0);
    top->addWidget(EditSelectDataRec, 1, 1, Qt::AlignLeft);
    top->setColumnStretch(1, 1);
    v->addLayout(top);

    // Timing: INTERVAL and VALUES, the record time, the counters.
    auto *timing = new QGridLayout();
    timing->setHorizontalSpacing(10);
    EditInterval = MakeSpin(box, "EditInterval", 1, 65535, 1);
    EditInterval->setSuffix(QStringLiteral(" s"));
    SetInfo(EditInterval, "InfoEditInterval");
    EditRecVal = MakeSpin(box, "EditRecVal", 1, 65535, 100);
    SetInfo(EditRecVal, "InfoEditRecVal");
    timing->addWidget(MakeCaption(box, "CaptionInterval", QStringLiteral("INTERVAL"), EditInterval),
                      0, 0);
    timing->addWidget(EditInterval, 0, 1);
    timing->addWidget(MakeCaption(box, "CaptionRecVal", QStringLiteral("VALUES"), EditRecVal), 1, 0);
    timing->addWidget(EditRecVal, 1, 1);
    DispRecordedValues = MakeDisplay(box, "DispRecordedValues", 6);
    SetInfo(DispRecordedValues, "InfoDispRecordedValues");
    DispRemaining = MakeDisplay(box, "DispRemaining", 6);
    SetInfo(DispRemaining, "InfoDispRemaining");
    DispFrameCounter = MakeDisplay(box, "DispFrameCounter", 10);
    for (QLineEdit *e : {DispRecordedValues, DispRemaining, DispFrameCounter})
        e->setText(QStringLiteral("0"));
    SetInfo(DispFrameCounter, "InfoDispRecordedValues");
    timing->addWidget(MakeCaption(box, "CaptionRecorded", QStringLiteral("RECORDED"),
                                  DispRecordedValues), 0, 3);
    timing->addWidget(DispRecordedValues, 0, 4);
    timing->addWidget(MakeCaption(box, "CaptionRemaining", QStringLiteral("REMAINING"),
                                  DispRemaining), 1, 3);
    timing->addWidget(DispRemaining, 1, 4);
    timing->addWidget(MakeCaption(box, "CaptionFrameCounter", QStringLiteral("FRAMES"),
                                  DispFrameCounter), 2, 0);
    timing->addWidget(DispFrameCounter, 2, 1, Qt::AlignRight);
    timing->setColumnMinimumWidth(2, 24);
    timing->setColumnStretch(5, 1);
    v->addLayout(timing);

    DispRecordTime = new QGroupBox(QStringLiteral("RECORD TIME"), box);
    DispRecordTime->setObjectName(QStringLiteral("DispRecordTime"));
    SetInfo(DispRecordTime, "InfoDispRecordTime");
    // Two by two (days and hours, then minutes and seconds), so the page stays narrow enough
    // for a small screen's page column.
    auto *rt = new QGridLayout(DispRecordTime);
    rt->setHorizontalSpacing(8);
    QLineEdit **parts[4] = {&DispRecDays, &DispRecHours, &DispRecMinutes, &DispRecSeconds};
    const char *names[4] = {"DispRecDays", "DispRecHours", "DispRecMinutes", "DispRecSeconds"};
    const char *captions[4] = {"DAYS", "HOURS", "MINUTES", "SECONDS"};
    for (int i = 0; i < 4; ++i) {
        *parts[i] = MakeDisplay(DispRecordTime, names[i], 5);
        SetInfo(*parts[i], "InfoDispRecordTime");
        rt->addWidget(*parts[i], i / 2, 3 * (i % 2));
        rt->addWidget(new QLabel(QString::fromLatin1(captions[i]), DispRecordTime), i / 2,
                      3 * (i % 2) + 1);
    }
    rt->setColumnMinimumWidth(2, 16);
    rt->setColumnStretch(5, 1);
    v->addWidget(DispRecordTime);

    // The record file.
    auto *file = new QHBoxLayout();
    ButtonSelRecFile = MakeButton(box, "ButtonSelRecFile", QStringLiteral("SELECT FILE"));
    ButtonSelRecFile->setMinimumWidth(130);
    SetInfo(ButtonSelRecFile, "InfoButtonSelRecFile");
    DispRecFile = MakeDisplay(box, "DispRecFile", 36, false);
    SetInfo(DispRecFile, "InfoDisRecFile");
    file->addWidget(ButtonSelRecFile);
    file->addWidget(DispRecFile, 1);
    v->addLayout(file);

    // Start, stop and manual buttons; the mode shows the ones that apply.
    auto *buttons = new QHBoxLayout();
    struct B {
        QPushButton **button;
        const char *name, *caption, *info;
    };
    const B list[] = {
        {&ButtonStartRecord, "ButtonStartRecord", "START RECORD", "InfoButtonStartRecord"},
        {&ButtonStopRecord, "ButtonStopRecord", "STOP RECORD", "InfoButtonStopRecord"},
        {&ButtonStartTrigRec, "ButtonStartTrigRec", "START TRIG REC", "InfoButtonStartRecord"},
        {&ButtonStopTrigRec, "ButtonStopTrigRec", "STOP TRIG REC", "InfoButtonStopRecord"},
        {&ButtonManualRecord, "ButtonManualRecord", "MANUAL RECORD", "InfoButtonManualRecord"},
    };
    for (const B &b : list) {
        *b.button = MakeButton(box, b.name, QString::fromLatin1(b.caption));
        (*b.button)->setMinimumWidth(150);
        SetButtonColour(*b.button, 0xE0E0E0);
        SetInfo(*b.button, b.info);
        buttons->addWidget(*b.button);
    }
    buttons->addStretch(1);
    v->addLayout(buttons);

    outer->addWidget(box);
    outer->addStretch(1);
}

} // namespace tintra
