// Hostile input: what a huge settings file and a sensor that floods the serial link unasked cost.
//
//     build/bin/bench_hostile comsettings-empty   50 MB "ComSettings.cfg": four lines, then empty ones
//     build/bin/bench_hostile comsettings-short   50 MB "ComSettings.cfg": four lines, then "1" lines
//     build/bin/bench_hostile serial-flood [MB]   a pseudo-terminal peer sends MB megabytes (default
//                                                 256) while the program idles in its event loop
//
// Each mode runs in its own process, so the peak resident memory (maxrss) is that mode's alone.
// Prints wall time, processor time and the growth of the peak resident memory.
#include "bench/benchutil.h"
#include "core/settings/connection.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace tintra;
using bench::PeakKb;
using bench::ThreadCpuSeconds;

namespace {

double CpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }


int HugeComSettings(const QString &path, const QByteArray &filler)
{
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write("1\n3\nplant-7\n300\n");
        const QByteArray block = filler.repeated((1 << 20) / int(filler.size()));
        for (qint64 n = 0; n < 50LL * 1024 * 1024; n += block.size())
            f.write(block);
    }
    const long kb0 = PeakKb();
    const double t0 = Timer();
    const double c0 = CpuSeconds();
    ConnectionSettings s;
    const bool read = ReadComSettings(path, &s);
    std::printf("ComSettings.cfg 50 MB of \"%s\" lines: %s in %.3f s, cpu %.3f s, peak memory +%ld "
                "KB\n",
                filler.trimmed().constData(), read ? "read" : "refused", Timer() - t0,
                CpuSeconds() - c0, PeakKb() - kb0);
    return 0;
}

int SerialFlood(const QString &dir, qint64 megabytes)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return 1;
    const QString slave = QString::fromLocal8Bit(ptsname(master));
    QFile cfg(JoinPath(dir, QStringLiteral("ComPorts.cfg")));
    if (!cfg.open(QIODevice::WriteOnly))
        return 1;
    cfg.write("1 " + QFile::encodeName(slave) + "\n");
    cfg.close();
    SetComPortsCfgDir(dir);
    comprotocol = 0;
    comport = 1;
    if (InitRS232() != 0) {
        std::fprintf(stderr, "serial: %s\n", szStatus);
        return 1;
    }
    std::atomic<qint64> sent{0};
    std::atomic<bool> stop{false};
    std::thread peer([&] {
        char block[4096];
        std::memset(block, 'F', sizeof block);
        while (!stop && sent < megabytes * 1024 * 1024) {
            const ssize_t n = ::write(master, block, sizeof block);
            if (n > 0)
                sent += n;
            else if (errno == EAGAIN || errno == EINTR)
                usleep(100);
            else
                break;
        }
    });
    const long kb0 = PeakKb();
    const double t0 = Timer();
    const double c0 = CpuSeconds();
    while (sent < megabytes * 1024 * 1024 && Timer() - t0 < 120)
        WaitForEvents(0.1);
    Sleep(200); // the last bytes
    stop = true;
    const double wall = Timer() - t0;
    const double cpu = CpuSeconds() - c0;
    peer.join();
    std::printf("serial flood: %lld MB arrived unasked in %.2f s, cpu %.0f %% of a core, peak "
                "memory +%ld KB\n",
                static_cast<long long>(sent / (1024 * 1024)), wall, 100.0 * cpu / wall,
                PeakKb() - kb0);
    CloseCom();
    ::close(master);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QByteArray mode = argc > 1 ? argv[1] : "";
    const QString cfg = dir.filePath(QStringLiteral("ComSettings.cfg"));
    if (mode == "comsettings-empty")
        return HugeComSettings(cfg, "\n");
    if (mode == "comsettings-short")
        return HugeComSettings(cfg, "1\n");
    if (mode == "serial-flood")
        return SerialFlood(dir.path(), argc > 2 ? std::max(1, std::atoi(argv[2])) : 256);
    std::fprintf(stderr, "usage: bench_hostile comsettings-empty | comsettings-short | "
                         "serial-flood [MB]\n");
    return 2;
}
