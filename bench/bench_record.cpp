// Benchmark of the data recorder: a long triggered recording fed into the signal graph, the live
// display and the record file; a real triggered recording against the simulated sensor at 100
// frames per second; and the spacing of lines in a timed recording at an interval of 1 s.
//
// 1. FRAMES frames (default 10^6) go through the triggered loop's per-frame step, exactly as if
//    each had been read alone from the link; pending events (the redraws) run after every frame.
//    Printed: processor time of the user-interface thread per frame over the first and the last
//    10 000 frames, the signal graph's redraw time at the end (course copied into the plot and
//    drawn), the points it holds, and the peak memory (maxrss) for the whole program.
// 2. Five seconds of triggered recording from the simulated sensor sending every 10 ms: frames
//    recorded per second and processor time per frame.
// 3. LINES lines (default 100) of a timed recording at INTERVAL 1 s against the simulated sensor:
//    smallest and largest spacing of consecutive lines, and the drift of the last line against
//    the first + (LINES - 1) s.
//
// Usage: bench_record [FRAMES [LINES]]
#include "bench/benchutil.h"
#include "app/startup.h"
#include "core/panels.h"
#include "core/panels/recpanel.h"
#include "core/panels/graphpanel.h"
#include "core/recorder/recorder.h"
#include "core/recorder/signalgraph.h"
#include "core/settings/paths.h"
#include "core/shell.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

using namespace tintra;
using bench::PeakKb;
using bench::ThreadCpuSeconds;

namespace {



// A data frame in szReadBuf whose values move slowly, with a spike now and then.
void PutFrame(long i)
{
    PutWord(szReadBuf, 0, answerHeader);
    PutWord(szReadBuf, 1, OrderData);
    const uint16_t base = uint16_t(1000 + (i / 100) % 2000);
    for (int w = 2; w < anzframe; ++w)
        PutWord(szReadBuf, w, uint16_t(base + w * 10 + (i % 97 == 0 ? 900 : 0)));
    PutWord(szReadBuf, 12, uint16_t(30 + i % 5)); // temperature
}

void SelectMode(int mode)
{
    recpanel->EditSelectDataRec->setCurrentIndex(mode);
    ChangeRecordMode();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long frames = argc > 1 ? std::max(20000L, std::atol(argv[1])) : 1000000L;
    const int lines = argc > 2 ? std::max(2, std::atoi(argv[2])) : 100;

    sim::SimThread sim;
    QTemporaryDir dir;
    if (!bench::StartAgainstSimulator(sim, dir))
        return 1;
    InitAll();
    if (!tcpcon || comecho != 1) {
        std::fprintf(stderr, "no connection to the simulated sensor\n");
        return 1;
    }
    PopupHandler popups;
    popups.message = [](const QString &, const QString &) {};
    popups.confirm = [](const QString &, const QString &) { return 1; };
    SetPopupHandler(popups);

    // ---- 1. a long triggered recording, frame by frame -----------------------------------------
    ShowChildPanel(5);
    SelectMode(3);
    ShowGraphPanel(true);
    graphpanel->EditSignal->setCurrentIndex(5);
    SetGraphVisible();
    file_name = dir.filePath(QStringLiteral("long.dat"));
    recpanel->DispRecFile->setText(file_name);
    WriteFileHeader();
    const long window = 10000;
    double firstCpu = 0, lastCpu = 0, c0 = 0;
    const double wall0 = Timer();
    for (long i = 0; i < frames; ++i) {
        if (i == 0 || i == frames - window)
            c0 = ThreadCpuSeconds();
        PutFrame(i);
        RecordSentFrame();
        ProcessSystemEvents();
        if (i == window - 1)
            firstCpu = ThreadCpuSeconds() - c0;
        if (i == frames - 1)
            lastCpu = ThreadCpuSeconds() - c0;
    }
    const double wall = Timer() - wall0;
    SignalPlot *plot = SignalGraph(5);
    double t = Timer();
    plot->markStale();
    plot->sync();
    plot->replot(QCustomPlot::rpImmediateRefresh);
    const double redraw = Timer() - t;
    const long peak = PeakKb();
    std::printf("triggered recording, %ld frames into the signal graph, displays and record file "
                "(%.1f s)\n", frames, wall);
    std::printf("  processor time per frame: first 10 000 %.4f ms, last 10 000 %.4f ms (target "
                "<= 0.5 ms, flat)\n", firstCpu / window * 1e3, lastCpu / window * 1e3);
    std::printf("  signal graph at the end: count %llu, %d points plotted, redraw %.2f ms "
                "(target <= 20 ms)\n", static_cast<unsigned long long>(graphcnt),
                int(plot->plotted().size()), redraw * 1e3);
    std::printf("  peak memory (maxrss) %ld kB (target <= 150 MB)\n", peak);
    QFile::remove(file_name);

    // ---- 2. the real loop against the sensor sending every 10 ms -------------------------------
    sim.setAutoSendPeriod(10);
    file_name = dir.filePath(QStringLiteral("trig.dat"));
    recpanel->DispRecFile->setText(file_name);
    long recorded = 0;
    double cpuStart = 0, tStart = 0, cpuEnd = 0, tEnd = 0;
    SetRecordListener([&] {
        if (++recorded == 1) {
            cpuStart = ThreadCpuSeconds();
            tStart = Timer();
        }
        cpuEnd = ThreadCpuSeconds();
        tEnd = Timer();
        if (tEnd - tStart >= 5.0)
            poll = 0;
    });
    TriggeredRecord();
    std::printf("\ntriggered recording from the simulated sensor sending every 10 ms: %.1f frames "
                "recorded per second, %.3f ms processor time per frame\n",
                (recorded - 1) / std::max(1e-9, tEnd - tStart),
                (cpuEnd - cpuStart) * 1e3 / std::max(1L, recorded - 1));

    // ---- 3. timed recording at 1 s -------------------------------------------------------------
    SelectMode(0);
    recpanel->EditInterval->setValue(1);
    recpanel->EditRecVal->setValue(lines);
    file_name = dir.filePath(QStringLiteral("timed.dat"));
    recpanel->DispRecFile->setText(file_name);
    std::vector<double> at;
    SetRecordListener([&] { at.push_back(Timer()); });
    std::printf("\ntimed recording, INTERVAL 1 s, %d lines (takes %d s) ...\n", lines, lines - 1);
    std::fflush(stdout);
    Record();
    SetRecordListener({});
    double lo = 1e9, hi = 0;
    for (std::size_t i = 1; i < at.size(); ++i) {
        lo = std::min(lo, at[i] - at[i - 1]);
        hi = std::max(hi, at[i] - at[i - 1]);
    }
    const double drift = at.size() > 1 ? at.back() - at.front() - double(at.size() - 1) : 0;
    std::vector<double> gaps;
    for (std::size_t i = 1; i < at.size(); ++i)
        gaps.push_back(std::abs(at[i] - at[i - 1] - 1.0));
    std::sort(gaps.begin(), gaps.end());
    const double p95 = gaps.empty() ? 0 : gaps[std::size_t(double(gaps.size() - 1) * 0.95)];
    std::printf("  %zu lines; spacing %.1f ... %.1f ms (95 %% within +-%.1f ms); drift over the "
                "recording %+.1f ms (target 1000 +- 20 ms, no drift)\n",
                at.size(), lo * 1e3, hi * 1e3, p95 * 1e3, drift * 1e3);
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("  machine load (1, 5, 15 min): %s\n",
                    load.readAll().split(' ').mid(0, 3).join(", ").constData());

    EndUserInterface();
    SetProgramDir(QString());
    return 0;
}
