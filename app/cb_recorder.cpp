// The data recorder page and the signal graph panel: mode, INTERVAL and VALUES, the record file,
// the start, stop and manual buttons, SIGNAL, and closing the recorder.
#include "app/callbacks.h"
#include "core/graphs/graphexport.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/graphpanel.h"
#include "core/recorder/recorder.h"
#include "core/recorder/signalgraph.h"
#include "link/state.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace tintra {

namespace {

void CBF_ButtonStopRecord() { EndLoop(); }

} // namespace

void ConnectRecorderCallbacks()
{
    RecPanel *r = recpanel;
    if (!r || !graphpanel || !mainpanel)
        return;
    CreateSignalGraphs();
    // "Save course as CSV" on any of the graphs saves every course of the recording, named after
    // the record file.
    const CourseSource courses{[] {
                                   std::vector<Course> all;
                                   for (int i = 0; i < signalCount; ++i) {
                                       all.push_back({graphpanel->EditSignal->itemText(i), {}});
                                       if (SignalPlot *p = SignalGraph(i))
                                           p->course.points(&all.back().points);
                                   }
                                   return all;
                               },
                               [] {
                                   const QString rec = recpanel->DispRecFile->text().section(
                                       QLatin1Char('\n'), 0, 0);
                                   const QString base = QFileInfo(rec).completeBaseName();
                                   return (base.isEmpty() ? QStringLiteral("record") : base)
                                          + QStringLiteral(".csv");
                               }};
    for (int i = 0; i < signalCount; ++i)
        if (SignalPlot *p = SignalGraph(i))
            SetGraphMenu(p, "InfoGraphPanel", courses);

    auto click = [](QPushButton *b, void (*fn)()) {
        QObject::connect(b, &QPushButton::clicked, b, [fn] { fn(); });
    };
    click(mainpanel->ButtonRecorder, OpenRecorder);
    click(r->ButtonSelRecFile, SelRecFile);
    click(r->ButtonStartRecord, Record);
    click(r->ButtonStopRecord, CBF_ButtonStopRecord);
    click(r->ButtonStartTrigRec, TriggeredRecord);
    click(r->ButtonStopTrigRec, CBF_ButtonStopRecord);
    click(r->ButtonManualRecord, RecordManually);
    QObject::connect(r->EditSelectDataRec, &QComboBox::activated, r,
                     [](int) { ChangeRecordMode(); });
    // Both fields track the keyboard only on Enter or when left, so a value counts once committed.
    for (QSpinBox *s : {r->EditInterval, r->EditRecVal})
        QObject::connect(s, &QSpinBox::valueChanged, r, [](int) { CalcRecTime(); });

    QObject::connect(graphpanel->EditSignal, &QComboBox::activated, graphpanel,
                     [](int) { SetGraphVisible(); });
    // Closing the program closes the recorder: the sensor stops sending by itself.
    QObject::connect(mainpanel, &MainPanel::closeRequested, mainpanel, [] { CBF_RECP(); });

    InitRecordPanel();
}

} // namespace tintra
