// Long runs against the simulated sensor: does anything grow that should not?
//
// 1. GO for FRAMES frames (the real acquisition loop, offscreen, loopback TCP).
// 2. CYCLES full GET and SEND cycles to RAM (64 exchanges each).
//
// During each run the resident memory, the open file descriptors, the QObjects alive (the
// application's and every top-level window's descendants) and among them the timers are taken
// at every tenth of the run. Printed: the figures of the first and the last tenth and their
// difference. Targets: memory within 2 MB, descriptors, objects and timers exactly flat.
//
// The simulated sensor runs in this process and keeps every frame it receives (for tests): its
// log is emptied every 1000 frames and after every cycle, so that it does not count as ours.
//
// Usage: bench_longrun [--full | FRAMES CYCLES]
//   default (quick, for scripts/bench): 2000 frames, 200 cycles; --full: 100000 frames,
//   10000 cycles.
#include "bench/benchutil.h"
#include "app/startup.h"
#include "core/acquire/acquire.h"
#include "core/transfer/transfer.h"
#include "link/platform.h"
#include "link/state.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace tintra;

namespace {

struct Sample {
    long rssKb = 0;
    int fds = 0;
    int objects = 0;
    int timers = 0;
};

long ResidentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = f.readAll().simplified().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : -1; // pages of 4 kB
}

int OpenFds()
{
    // The listing itself holds one descriptor while it runs; it is the same in every sample.
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                   .size());
}

void CountTree(QObject *o, Sample *s)
{
    ++s->objects;
    if (qobject_cast<QTimer *>(o))
        ++s->timers;
    for (QObject *c : o->children())
        CountTree(c, s);
}

Sample Take()
{
    Sample s;
    s.rssKb = ResidentKb();
    s.fds = OpenFds();
    CountTree(QCoreApplication::instance(), &s);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (!w->parent())
            CountTree(w, &s);
    return s;
}

// Prints the first and last tenth of a run; true when the targets are met.
bool Report(const char *what, long count, const std::vector<Sample> &tenths)
{
    if (tenths.size() < 2) {
        std::printf("%-22s run ended early after %zu of 10 tenths (status: %s)\n", what,
                    tenths.size(), szStatus);
        return false;
    }
    const Sample &a = tenths.front(), &b = tenths.back();
    const long dKb = b.rssKb - a.rssKb;
    const bool ok = dKb <= 2048 && dKb >= -2048 && a.fds == b.fds && a.objects == b.objects &&
                    a.timers == b.timers;
    std::printf("%-22s %8ld  rss %7ld -> %7ld kB (%+5ld)  fds %3d -> %3d  objects %5d -> %5d  "
                "timers %3d -> %3d  %s\n",
                what, count, a.rssKb, b.rssKb, dKb, a.fds, b.fds, a.objects, b.objects, a.timers,
                b.timers, ok ? "flat" : "GROWS");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    long frames = 2000, cycles = 200;
    if (argc > 1 && std::strcmp(argv[1], "--full") == 0) {
        frames = 100000;
        cycles = 10000;
    } else if (argc > 2) {
        frames = std::max(100L, std::atol(argv[1]));
        cycles = std::max(10L, std::atol(argv[2]));
    }

    sim::SimThread sim;
    QTemporaryDir dir;
    if (!bench::StartAgainstSimulator(sim, dir))
        return 1;
    InitAll();
    if (!tcpcon || comecho != 1) {
        std::fprintf(stderr, "no connection to the simulated sensor\n");
        return 1;
    }
    PopupHandler quiet;
    quiet.message = [](const QString &t, const QString &m) {
        std::fprintf(stderr, "popup %s: %s\n", qPrintable(t), qPrintable(m));
    };
    SetPopupHandler(quiet);

    std::printf("long runs against the simulated sensor (loopback TCP), first -> last tenth\n");
    bool ok = true;

    std::vector<Sample> go;
    long n = 0;
    const double t0 = Timer();
    SetFrameListener([&] {
        ++n;
        if (n % 1000 == 0)
            sim.clearFrames();
        if (n % (frames / 10) == 0)
            go.push_back(Take());
        if (n >= frames)
            poll = 0;
    });
    CBF_ButtonGo();
    SetFrameListener({});
    const double goSeconds = Timer() - t0;
    ok = Report("GO frames", n, go) && ok;

    std::vector<Sample> gs;
    SelectRamTarget();
    const double t1 = Timer();
    long c = 0;
    for (; c < cycles; ++c) {
        GetPara();
        if (comecho != 1)
            break;
        SendPara();
        if (comecho != 1)
            break;
        sim.clearFrames();
        if ((c + 1) % (cycles / 10) == 0)
            gs.push_back(Take());
    }
    const double gsSeconds = Timer() - t1;
    ok = Report("GET/SEND cycles", c, gs) && ok;
    std::printf("GO %.1f s (%.0f frames/s), GET/SEND %.1f s (%.2f ms a cycle); peak memory "
                "%ld kB\n",
                goSeconds, n / goSeconds, gsSeconds, c ? gsSeconds * 1e3 / c : 0.0,
                bench::PeakKb());
    std::printf("targets: memory within 2 MB, descriptors, objects and timers flat: %s\n",
                ok ? "met" : "MISSED");

    EndUserInterface();
    SetProgramDir(QString());
    return ok ? 0 : 3;
}
