// The data recorder page and the signal graph panel: mode, INTERVAL and VALUES, the record file,
// the start, stop and manual buttons, SIGNAL, and closing the recorder.
#include "app/callbacks.h"
#include "core/graphs/graphexport.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/recorder/recorder.h"
#include "core/recorder/signalgraph.h"
#include "link/state.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

namespace tintra {

namespace {

void CBF_ButtonStopRecord() { poll = 0; }

} // namespace

void ConnectRecorderCallbacks()
{
    RecPanel *r = recpanel;
    if (!r || !graphpanel || !mainpanel)
        return;
    CreateSignalGraphs();
    for (int i = 0; i < signalCount; ++i)
        if (SignalPlot *p = SignalGraph(i))
            SetGraphMenu(p, "InfoGraphPanel",
                         {[p] {
                              std::vector<EnvelopePoint> pts;
                              p->course.points(&pts);
                              return pts;
                          },
                          [i] { return graphpanel->EditSignal->itemText(i); }});

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
