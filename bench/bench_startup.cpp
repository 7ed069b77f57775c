// Start-up of the real program: TintraV30 is started as a process of its own (a copy beside its
// own ComSettings.cfg in a temporary directory) against the simulated sensor on loopback TCP, on
// the platform given by QT_QPA_PLATFORM. Measured from the process start: the first frame the
// sensor receives (order 50, automatic sending off) and the identity request (order 7). The
// program is then ended. Repeated RUNS times; prints each run and the median.
//
// Usage: bench_startup [RUNS]   (default 5)
#include "link/codec.h"
#include "sim/simthread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tintra;

namespace {

struct Start {
    double firstFrame = -1, identity = -1;
};

double Median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One start: the times in seconds, -1 for what did not arrive within 10 s.
Start OneStart(sim::SimThread &sim, const QString &program)
{
    Start s;
    sim.clearFrames();
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    p.start(program, {});
    if (!p.waitForStarted(5000))
        return s;
    while (clock.elapsed() < 10000 && s.identity < 0) {
        const QList<QByteArray> frames = sim.frames();
        if (!frames.isEmpty() && s.firstFrame < 0)
            s.firstFrame = clock.nsecsElapsed() * 1e-9;
        for (const QByteArray &f : frames)
            if (f.size() >= 4 &&
                GetWord(reinterpret_cast<const unsigned char *>(f.constData()), 1) == 7) {
                s.identity = clock.nsecsElapsed() * 1e-9;
                break;
            }
        QThread::usleep(500);
    }
    p.kill();
    p.waitForFinished(5000);
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    sim::SimThread sim;
    if (!sim.start()) {
        std::fprintf(stderr, "simulated sensor: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("TintraV30"));
    QFile cfg(dir.filePath(QStringLiteral("ComSettings.cfg")));
    if (!QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/TintraV30"),
                     program) ||
        !cfg.open(QIODevice::WriteOnly) ||
        cfg.write(QStringLiteral("1\n1\n127.0.0.1\n%1\n").arg(sim.port()).toLatin1()) < 0) {
        std::fprintf(stderr, "cannot prepare the program in %s\n", qPrintable(dir.path()));
        return 1;
    }
    cfg.close();

    std::vector<double> first, ident;
    std::printf("start-up on %s (%d runs, seconds from the process start)\n",
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "the default platform"
                                                     : qgetenv("QT_QPA_PLATFORM").constData(),
                runs);
    for (int i = 0; i < runs; ++i) {
        const Start s = OneStart(sim, program);
        std::printf("  run %d: first frame %.3f s, identity asked %.3f s\n", i + 1, s.firstFrame,
                    s.identity);
        if (s.firstFrame >= 0)
            first.push_back(s.firstFrame);
        if (s.identity >= 0)
            ident.push_back(s.identity);
    }
    std::printf("median: first frame %.3f s, identity asked %.3f s\n", Median(first),
                Median(ident));
    return first.empty() || ident.empty() ? 1 : 0;
}
