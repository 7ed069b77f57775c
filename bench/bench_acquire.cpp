// Benchmark of the live acquisition: the real GO loop, offscreen, against the simulated sensor on
// loopback TCP, in every SOURCE view and in a plane and a space calculation mode (the space mode
// with the three-sides view closed and open); then a full GET
// and a full SEND to RAM beside 32 measured round trips.
//
// Printed per run: frames per second, the loop's limit on this link (1 / (round trip + 10 ms)),
// their ratio, processor time of the user-interface thread per frame and the part of it spent in
// the system, processor time of the whole process less the simulated sensor's thread per frame
// (on a real display this includes the platform's event thread), heap allocations and context
// switches (sleeps and wake-ups) per frame on the user-interface thread, and whole-plot redraws
// per frame. At the end the peak memory (maxrss).
//
// The platform is QT_QPA_PLATFORM (offscreen when unset); scripts/bench also runs it on xcb under
// a virtual X server. Space-mode runs are made with the three-sides view closed and open.
//
// Usage: bench_acquire [--rounds N] [FRAMES [ONLY]]   (frames per run, default 300)
//   ONLY runs just the loop rows whose "mode view" contains it (e.g. "space X/Y+3S", "plane"), or
//   with a leading '=' the one row that is exactly the rest ("=space RGB"), and
//   leaves out the transfers and the calibration.
//   --rounds N measures every row N times (default 1), the rows in turn, round after round, and
//   prints for each row the run with the median processor time of the process, then each row's
//   figures of all rounds. A burst of load from outside (on a virtual machine the host's
//   interrupts are counted as this process's time in the system) then spoils one or two rounds of
//   a row, not its figure.
//
// Instruction counts (load-independent): under callgrind, the measured frames of each run lie
// between the calls of BenchFramesBegin and BenchFramesEnd, so
//   valgrind --tool=callgrind --zero-before=BenchFramesBegin --dump-before=BenchFramesEnd ...
// writes one profile per run (scripts/bench-callgrind does this and prints instructions per
// frame).
#include "bench/benchutil.h"
#include "app/startup.h"
#include "core/acquire/acquire.h"
#include "core/calib/calib.h"
#include "link/calibarith.h"
#include "core/graphs/dispnames.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/parapanel1.h"
#include "core/panels/datapanel.h"
#include "core/panels/p3sidesview.h"
#include "core/panels/cells.h"
#include "core/params/moderules.h"
#include "core/transfer/transfer.h"
#include "link/codec.h"
#include "link/paraimage.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"

#include <QApplication>
#include <QGuiApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/resource.h>
#include <vector>

// ---- heap allocations of the user-interface thread -----------------------------------------

namespace {
thread_local bool countAllocations = false;
std::atomic<long> allocations{0};
} // namespace

void *operator new(std::size_t n)
{
    if (countAllocations)
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t n) { return operator new(n); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }

using namespace tintra;
using bench::PeakKb;
using bench::ThreadCpuSeconds;

namespace {

int WholePlotRedraws()
{
    int n = 0;
    for (QWidget *area : {static_cast<QWidget *>(datagraphs), static_cast<QWidget *>(sidesgraphs)})
        if (area)
            for (LivePlot *p : area->findChildren<LivePlot *>())
                n += p->replotsDone();
    return n;
}

clockid_t simClock = CLOCK_THREAD_CPUTIME_ID;

} // namespace

// Markers for callgrind's --zero-before / --dump-before (see the top of this file); they must
// stay real calls.
extern "C" __attribute__((noinline)) void BenchFramesBegin() { asm volatile(""); }
extern "C" __attribute__((noinline)) void BenchFramesEnd() { asm volatile(""); }

namespace {

// Processor time of the process without the simulated sensor's thread.
double ProgramCpuSeconds() { return bench::ProcessCpuSeconds() - bench::ThreadClockSeconds(simClock); }

struct Run {
    double fps = 0, cpuMs = 0, sysMs = 0, procMs = 0, allocs = 0, redraws = 0, switches = 0;
    bool ok = false;
    QString status; // the status line when the run ended early
};

// GO until `frames` frames after the first one have been shown; the first frame (graphs just
// prepared, windows just shown) is left out of the figures.
Run Measure(int frames)
{
    Run r;
    int n = 0;
    double t0 = 0, c0 = 0, s0 = 0, q0 = 0, w0 = 0;
    long a0 = 0;
    int p0 = 0;
    SetFrameListener([&] {
        ++n;
        if (n == 1) {
            t0 = Timer();
            c0 = ThreadCpuSeconds();
            s0 = bench::ThreadSystemSeconds();
            w0 = bench::ThreadSwitches();
            q0 = ProgramCpuSeconds();
            p0 = WholePlotRedraws();
            a0 = allocations.load();
            countAllocations = true;
            BenchFramesBegin();
        } else if (n == frames + 1) {
            BenchFramesEnd();
            countAllocations = false;
            const double t1 = Timer();
            r.fps = frames / (t1 - t0);
            r.cpuMs = (ThreadCpuSeconds() - c0) * 1000.0 / frames;
            r.sysMs = (bench::ThreadSystemSeconds() - s0) * 1000.0 / frames;
            r.switches = (bench::ThreadSwitches() - w0) / frames;
            r.procMs = (ProgramCpuSeconds() - q0) * 1000.0 / frames;
            r.allocs = double(allocations.load() - a0) / frames;
            r.redraws = double(WholePlotRedraws() - p0) / frames;
            r.ok = true;
            poll = 0;
        }
    });
    CBF_ButtonGo();
    countAllocations = false;
    SetFrameListener({});
    return r;
}

double RoundTrip(int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        order = OrderData;
        FillTxBuf(order, 0, 0, 0);
        const double t = Timer();
        if (GetDataFrame() != 0)
            return -1;
        sum += Timer() - t;
    }
    return sum / count;
}

// Whether the row "mode view" is to run: every row without ONLY, the rows containing ONLY, or
// with a leading '=' only the row that is exactly the rest ("=space RGB" leaves out "space RGB+3S").
bool Selected(const QString &row, const QString &only)
{
    if (only.startsWith(QLatin1Char('=')))
        return row == QStringView(only).mid(1);
    return only.isEmpty() || row.contains(only);
}

const char *const sourceNames[2][4] = {{"RGB", "X/Y", "INT", "X/Y INT"},
                                       {"RGB", "X/Y", "INT", "X/Y/INT"}};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PreferLeanEventLoop(); // as the program does
    PreferRepaintsWithoutRoundTrip();
    QApplication app(argc, argv);
    int rounds = 1;
    std::vector<const char *> args; // the positional arguments
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::clamp(std::atoi(argv[++i]), 1, 99);
        else
            args.push_back(argv[i]);
    }
    const int frames = args.size() > 0 ? std::max(10, std::atoi(args[0])) : 300;
    const QString only = args.size() > 1 ? QString::fromLocal8Bit(args[1]) : QString();

    sim::SimThread sim;
    QTemporaryDir dir;
    if (!bench::StartAgainstSimulator(sim, dir))
        return 1;
    QMetaObject::invokeMethod(
        &sim.sim(), [] { return bench::ThisThreadClock(); }, Qt::BlockingQueuedConnection,
        &simClock);
    InitAll(); // connects, line check, parameter read
    if (!tcpcon || comecho != 1) {
        std::fprintf(stderr, "no connection to the simulated sensor\n");
        return 1;
    }

    const double rt = RoundTrip(32);
    const double limit = 1.0 / (rt + 0.010);
    std::printf("link: loopback TCP, round trip %.3f ms (mean of 32), loop limit %.1f frames/s\n",
                rt * 1e3, limit);
    double slept = 0;
    for (int i = 0; i < 50; ++i) {
        const double t = Timer();
        Sleep(10);
        slept += Timer() - t;
    }
    std::printf("Sleep(10) in the event loop takes %.3f ms (mean of 50, idle)\n", slept / 50 * 1e3);
    std::printf("%d frames per run, %d round%s, platform %s\n\n", frames, rounds,
                rounds == 1 ? "" : "s", qPrintable(QGuiApplication::platformName()));

    // The rows, each with its runs of all rounds.
    struct Row {
        QString mode, name;
        std::vector<Run> runs;
    };
    std::vector<Row> rows;
    const int modes[2] = {CalcXYInt, CalcXYIntSpace};
    for (int round = 0; round < rounds; ++round) {
        size_t row = 0;
        for (int m = 0; m < 2; ++m) {
            SetRingValue(parapanel1->Calcmode, modes[m]);
            InitCalcMode();
            InitEvalMode();
            SelectRamTarget();
            SendPara(); // the sensor computes in the same mode
            // Choosing the space mode (and view 3 in it) brings up the three-sides view: each view
            // is run with it closed, then again with it open (+3S).
            const int runs = m ? 8 : 4;
            for (int run = 0; run < runs; ++run) {
                const int view = run % 4;
                const bool sides = run >= 4;
                const QString mode = QLatin1String(m ? "space" : "plane");
                const QString name = QLatin1String(sourceNames[m][view]) +
                                     QLatin1String(sides ? "+3S" : "");
                datapanel->SelectSource->setCurrentIndex(view);
                DispVis();
                if (m && p3sidesview)
                    p3sidesview->setVisible(sides);
                // A row left out still selects its view: view 3 opens the three-sides view.
                if (!Selected(mode + QLatin1Char(' ') + name, only))
                    continue;
                if (row == rows.size())
                    rows.push_back({mode, name, {}});
                Run r = Measure(frames);
                if (!r.ok)
                    r.status = VersionText(); // as it stood when the run ended
                rows[row++].runs.push_back(r);
            }
            if (p3sidesview)
                p3sidesview->hide();
        }
    }

    std::printf("%-8s %-10s %8s %8s %7s %9s %8s %9s %8s %6s %8s  %s\n", "mode", "view", "fps",
                "limit", "ratio", "cpu ms/f", "sys ms/f", "proc ms/f", "alloc/f", "csw/f",
                "redraw/f", "verdict");
    bool fpsOk = true, cpuOk = true;
    for (Row &row : rows) {
        // A run that ended early counts as the worst.
        std::vector<Run> sorted = row.runs;
        std::sort(sorted.begin(), sorted.end(), [](const Run &a, const Run &b) {
            return a.ok != b.ok ? a.ok : a.procMs < b.procMs;
        });
        const Run &r = sorted[(sorted.size() - 1) / 2];
        if (!r.ok) {
            std::printf("%-8s %-8s   run ended early (status: %s)\n", qPrintable(row.mode),
                        qPrintable(row.name), qPrintable(r.status));
            fpsOk = false;
            continue;
        }
        const double ratio = r.fps / limit;
        fpsOk = fpsOk && ratio >= 0.97;
        cpuOk = cpuOk && r.procMs <= 0.5;
        // One word, against 97 % of the limit and 0.5 ms of processor time per frame.
        const char *verdict = ratio >= 0.97 && r.procMs <= 0.5 ? "met"
                              : ratio >= 0.97                  ? "MISSED:proc"
                              : r.procMs <= 0.5                ? "MISSED:ratio"
                                                               : "MISSED:ratio+proc";
        std::printf("%-8s %-10s %8.1f %8.1f %6.1f%% %9.3f %8.3f %9.3f %8.1f %6.2f %8.2f  %s\n",
                    qPrintable(row.mode), qPrintable(row.name), r.fps, limit, ratio * 100,
                    r.cpuMs, r.sysMs, r.procMs, r.allocs, r.switches, r.redraws, verdict);
    }
    if (rounds > 1) {
        std::printf("\nevery round: proc ms/f, sys ms/f of the user-interface thread, ratio\n");
        for (const Row &row : rows) {
            std::printf("rounds %-8s %-10s", qPrintable(row.mode), qPrintable(row.name));
            for (const Run &r : row.runs)
                if (r.ok)
                    std::printf("  %.3f %.3f %.1f%%", r.procMs, r.sysMs, r.fps / limit * 100);
                else
                    std::printf("  (ended early)");
            std::printf("\n");
        }
    }

    if (!only.isEmpty()) {
        std::printf("\ntargets: frame rate >= 97%% of the limit in every view: %s\n",
                    fpsOk ? "met" : "MISSED");
        std::printf("         processor time of the process <= 0.5 ms per frame: %s\n",
                    cpuOk ? "met" : "MISSED");
        EndUserInterface();
        SetProgramDir(QString());
        return 0;
    }

    // Full parameter transfers to RAM: 32 exchanges each.
    SetRingValue(parapanel1->Calcmode, CalcXYInt);
    SelectRamTarget();
    const double rt2 = RoundTrip(32);
    double t = Timer();
    GetPara();
    const double get = Timer() - t;
    const bool getOk = comecho == 1;
    t = Timer();
    SendPara();
    const double send = Timer() - t;
    const bool sendOk = comecho == 1;
    const double budget = 32 * rt2 + 0.020;
    std::printf("\n32 round trips %.1f ms; full GET %.1f ms%s; full SEND %.1f ms%s; budget "
                "(32 round trips + 20 ms) %.1f ms\n",
                32 * rt2 * 1e3, get * 1e3, getOk ? "" : " (FAILED)", send * 1e3,
                sendOk ? "" : " (FAILED)", budget * 1e3);
    std::printf("peak memory (maxrss) %ld kB\n\n", PeakKb());
    std::printf("targets: frame rate >= 97%% of the limit in every view: %s\n",
                fpsOk ? "met" : "MISSED");
    std::printf("         processor time of the process <= 0.5 ms per frame: %s\n",
                cpuOk ? "met" : "MISSED");
    std::printf("         full GET and SEND within the budget: %s\n",
                getOk && sendOk && get <= budget && send <= budget ? "met" : "MISSED");

    // Calibration: the 100 samples at the GO loop's pace, and the cube-root table download
    // (order 180, 0.2 s, 19 chunks) against 20 round trips + 0.2 s. Popups are answered yes.
    {
        PopupHandler yes;
        yes.confirm = [](const QString &, const QString &) { return 1; };
        yes.message = [](const QString &, const QString &) {};
        const PopupHandler before = SetPopupHandler(yes);
        sim.setColour(sim::SensorModel::whiteTarget);
        const double rt3 = RoundTrip(32);
        const double calLimit = 1.0 / (rt3 + 0.010);
        double t3 = Timer();
        CalcCF();
        const double sampling = Timer() - t3;
        const double calRate = calibSamples / sampling;
        t3 = Timer();
        Send3rdRoot();
        const double table = Timer() - t3;
        const bool tableOk = comecho == 1;
        const double tableBudget = 20 * rt3 + 0.2;
        SetPopupHandler(before);
        std::printf("\ncalibration: 100 samples in %.1f ms, %.1f samples/s, limit %.1f, ratio "
                    "%.1f%%\n",
                    sampling * 1e3, calRate, calLimit, calRate / calLimit * 100);
        std::printf("cube-root table: %.1f ms%s (beyond the 200 ms pause %.2f ms, 20 round trips "
                    "%.2f ms); budget (20 round trips + 200 ms) %.1f ms\n",
                    table * 1e3, tableOk ? "" : " (FAILED)", (table - 0.2) * 1e3, 20 * rt3 * 1e3,
                    tableBudget * 1e3);
        std::printf("targets: calibration samples >= 95%% of the limit: %s\n",
                    calRate / calLimit >= 0.95 ? "met" : "MISSED");
        std::printf("         cube-root table within the budget: %s\n",
                    tableOk && table <= tableBudget ? "met" : "MISSED");
    }

    EndUserInterface();
    SetProgramDir(QString());
    return 0;
}
