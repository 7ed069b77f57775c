// Frame exchanges against the simulated sensor over TCP and over a pseudo-terminal: time per
// exchange (mean and worst) and processor time per exchange, and the processor time of a wait for
// a sensor that stays silent.
//
//     build/bin/bench_link [exchanges]
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

using namespace tintra;

namespace {

double CpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

void Exchanges(const char *name, int n)
{
    order = OrderData;
    FillTxBuf(order, 0, 0, 0);
    double worst = 0;
    int failed = 0;
    const double t0 = Timer();
    const double c0 = CpuSeconds();
    for (int i = 0; i < n; ++i) {
        const double t = Timer();
        if (GetDataFrame() != 0)
            ++failed;
        worst = std::max(worst, Timer() - t);
    }
    const double total = Timer() - t0;
    const double cpu = CpuSeconds() - c0;
    std::printf("%-7s %6d exchanges  mean %7.3f ms  worst %7.3f ms  cpu %7.3f ms each  failed %d\n",
                name, n, total / n * 1e3, worst * 1e3, cpu / n * 1e3, failed);
}

void SilentWait(const char *name, sim::SimThread &sim)
{
    sim.addFault(sim::Fault{sim::Fault::NoAnswer, OrderData, 1, -1, true});
    order = OrderData;
    FillTxBuf(order, 0, 0, 0);
    const double t0 = Timer();
    const double c0 = CpuSeconds();
    const int missing = GetDataFrame();
    std::printf("%-7s silent sensor: waited %.3f s, cpu %.3f s, %d bytes missing\n", name,
                Timer() - t0, CpuSeconds() - c0, missing);
    sim.clearFaults();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    QTemporaryDir dir;
    sim::SimThread sim;
    sim::SimThread::Options o;
    o.ptyLink = dir.filePath(QStringLiteral("ttyBench"));
    if (!dir.isValid() || !sim.start(o)) {
        std::fprintf(stderr, "simulated sensor: %s\n", qPrintable(sim.errorString()));
        return 1;
    }

    comprotocol = 1;
    std::strcpy(ipBuf, "127.0.0.1");
    portNum = sim.port();
    if (InitTCP_IP() != 0) {
        std::fprintf(stderr, "TCP: %s\n", szStatus);
        return 1;
    }
    Exchanges("tcp", n);
    SilentWait("tcp", sim);
    DisconnectTCP();

    QFile cfg(dir.filePath(QStringLiteral("ComPorts.cfg")));
    if (!cfg.open(QIODevice::WriteOnly))
        return 1;
    cfg.write("1 " + QFile::encodeName(o.ptyLink) + "\n");
    cfg.close();
    SetComPortsCfgDir(dir.path());
    comprotocol = 0;
    comport = 1;
    if (InitRS232() != 0) {
        std::fprintf(stderr, "serial: %s\n", szStatus);
        return 1;
    }
    Exchanges("serial", n);
    SilentWait("serial", sim);
    CloseCom();
    return 0;
}
