// Measuring helpers shared by the benchmarks.
#pragma once

#include "app/startup.h"
#include "link/transport.h"
#include "sim/simthread.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <pthread.h>
#include <sys/resource.h>

namespace bench {

// Processor time (user + system) of the calling thread, in seconds: the program's own thread,
// without the simulated sensor's.
inline double ThreadCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// The system (kernel) part of ThreadCpuSeconds, in seconds.
inline double ThreadSystemSeconds()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_stime.tv_sec) + double(u.ru_stime.tv_usec) * 1e-6;
}

// Context switches of the calling thread so far (voluntary and not): each is a sleep and a wake.
inline double ThreadSwitches()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_nvcsw + u.ru_nivcsw);
}

// Processor time of the whole process, in seconds (every thread, the finished ones included).
inline double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Processor time of the thread whose clock is `clock` (see ThisThreadClock), in seconds.
inline double ThreadClockSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The processor-time clock of the calling thread, readable from any thread while it runs.
inline clockid_t ThisThreadClock()
{
    clockid_t c = CLOCK_THREAD_CPUTIME_ID;
    pthread_getcpuclockid(pthread_self(), &c);
    return c;
}

// Peak resident memory of the process so far, in kB.
inline long PeakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Starts the simulated sensor (cycling scene) and the whole user interface with its settings in
// `dir`, naming the sensor on loopback TCP. False, with a message, when either fails.
// `pty`: the program connects over RS-232 through the simulator's pseudo-terminal (COM 1 mapped
// in a "ComPorts.cfg" of `dir`), else over TCP.
inline bool StartAgainstSimulator(tintra::sim::SimThread &sim, const QTemporaryDir &dir,
                                  bool pty = false)
{
    tintra::sim::SimThread::Options options;
    if (pty)
        options.ptyLink = dir.filePath(QStringLiteral("ttySIM"));
    if (!sim.start(options)) {
        std::fprintf(stderr, "simulated sensor: %s\n", qPrintable(sim.errorString()));
        return false;
    }
    sim.setScene(tintra::sim::Scene::Cycle);
    tintra::SetProgramDir(dir.path());
    QFile cfg(dir.filePath(QStringLiteral("ComSettings.cfg")));
    const QString settings = pty ? QStringLiteral("0\n1\n127.0.0.1\n1\n")
                                 : QStringLiteral("1\n1\n127.0.0.1\n%1\n").arg(sim.port());
    if (!cfg.open(QIODevice::WriteOnly) || cfg.write(settings.toLatin1()) < 0)
        return false;
    cfg.close();
    if (pty) {
        QFile ports(dir.filePath(QStringLiteral("ComPorts.cfg")));
        if (!ports.open(QIODevice::WriteOnly) ||
            ports.write(QByteArray("1 ") + sim.ptyLink().toUtf8() + "\n") < 0)
            return false;
        ports.close();
        tintra::SetComPortsCfgDir(dir.path());
    }
    return tintra::StartUserInterface() >= 0;
}

} // namespace bench
