// Benchmark of triggered recording at a high frame rate: the simulated sensor sends a data frame
// every PERIOD microseconds over loopback TCP while START TRIG REC runs for SECONDS seconds, with
// the signal graph shown.
//
// Printed: frames the sensor sent (all of them must be recorded), lines the record file gained,
// the end message (lines written, bytes dropped), processor time of the user-interface thread per
// recorded frame, and the resident memory before, after a tenth of the time and after.
//
// Usage: bench_trigger [--seconds S] [--period-us P] [--pty BAUD]  (defaults: 10 s, 500 us, TCP)
// --pty BAUD: over RS-232 through the simulator's pseudo-terminal, the sensor sending at the
// full rate of a line of BAUD baud (a 36-byte frame takes 360 bit times with start and stop bits).
#include "bench/benchutil.h"
#include "app/startup.h"
#include "core/panels.h"
#include "core/panels/graphpanel.h"
#include "core/panels/recpanel.h"
#include "core/recorder/recorder.h"
#include "core/recorder/signalgraph.h"
#include "core/settings/paths.h"
#include "core/shell.h"
#include "link/platform.h"
#include "link/state.h"
#include "sim/simthread.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace tintra;
using bench::ThreadCpuSeconds;

namespace {

// Resident memory now, in kB.
long ResidentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> v = f.readAll().split(' ');
    return v.size() > 1 ? v[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

long DataLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return f.readAll().count("\r\n") - 1; // less the header
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    double seconds = 10;
    int periodUs = 500, baud = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::max(0.5, std::atof(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--period-us"))
            periodUs = std::max(200, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--pty"))
            baud = std::max(1200, std::atoi(argv[i + 1]));
    }
    if (baud)
        periodUs = int(360.0e6 / baud + 0.5);

    sim::SimThread sim;
    QTemporaryDir dir;
    if (!bench::StartAgainstSimulator(sim, dir, baud != 0))
        return 1;
    InitAll();
    if (baud ? comprotocol != 0 || ret < 0 : !tcpcon) {
        std::fprintf(stderr, "no connection to the simulated sensor\n");
        return 1;
    }
    PopupHandler popups;
    QString last;
    popups.message = [&](const QString &, const QString &text) { last = text; };
    popups.confirm = [](const QString &, const QString &) { return 1; };
    SetPopupHandler(popups);

    ShowChildPanel(5);
    recpanel->EditSelectDataRec->setCurrentIndex(3);
    ChangeRecordMode();
    ShowGraphPanel(true);
    graphpanel->EditSignal->setCurrentIndex(5);
    SetGraphVisible();
    file_name = dir.filePath(QStringLiteral("trig.dat"));
    recpanel->DispRecFile->setText(file_name);
    WriteFileHeader();

    sim.setAutoSendMode(sim::AutoSendMode::Interval);
    sim.setAutoSendPeriodUs(periodUs);
    const long rssBefore = ResidentKb();
    long rssTenth = 0; // after a tenth of the time: what the start-up of the recording costs
    QTimer::singleShot(int(seconds * 100), [&] { rssTenth = ResidentKb(); });
    QTimer::singleShot(int(seconds * 1000), [] { poll = 0; });
    const double cpu0 = ThreadCpuSeconds(), t0 = Timer();
    TriggeredRecord();
    const double cpu = ThreadCpuSeconds() - cpu0, wall = Timer() - t0;
    const long rssAfter = ResidentKb();
    const long lines = DataLines(file_name);
    if (baud)
        std::printf("triggered recording over a pseudo-terminal at the full rate of %d baud, a "
                    "frame every %d us for %.1f s\n", baud, periodUs, seconds);
    else
        std::printf("triggered recording over TCP, a frame every %d us for %.1f s\n", periodUs,
                    seconds);
    const long long sent = sim.autoFramesSent();
    std::printf("  frames sent %lld, lines written %ld: %s\n", sent, lines,
                sent == lines ? "equal" : "MISSED");
    std::printf("  end message: %s\n", qPrintable(QString(last).replace(u'\n', u' ')));
    std::printf("  processor time per recorded frame %.4f ms (target <= 0.1 ms), wall %.1f s\n",
                cpu * 1e3 / std::max(1L, lines), wall);
    std::printf("  resident memory before %ld kB, after a tenth of the time %ld kB, after %ld kB "
                "(target: flat after the tenth)\n", rssBefore, rssTenth, rssAfter);
    EndUserInterface();
    SetProgramDir(QString());
    return 0;
}
