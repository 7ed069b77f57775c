#include "ctl.h"

#include "link/state.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tintra::ctl {

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

int Fail(const QString &why, int status)
{
    err() << why << Qt::endl;
    return status;
}

int ExchangeFailed()
{
    if (bytesToRead != 0)
        return Fail(QStringLiteral("TIMEOUT"), NoAnswer);
    return Fail(QStringLiteral("wrong echo"), BadEcho);
}

int Place(const QString &word)
{
    if (word == QLatin1String("ram"))
        return RAM;
    if (word == QLatin1String("eeprom"))
        return EEPROM;
    return 0;
}

namespace {

bool progressOpen = false; // a progress line waits for its end

// The signal handler only notes the signal and wakes the event loop through a pipe; the loop is
// ended from there, between two steps, never in the middle of one.
int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t interrupted = 0;

void OnSignal(int)
{
    interrupted = 1;
    const char c = 1;
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &c, 1);
}

} // namespace

void Progress(const char *what, int done, int total)
{
    static const bool terminal = isatty(STDERR_FILENO) == 1;
    if (!terminal)
        return;
    err() << '\r' << what << ": " << done;
    if (total > 0)
        err() << '/' << total;
    progressOpen = total <= 0 || done < total;
    err() << (progressOpen ? "" : "\n") << Qt::flush;
}

void ProgressEnd()
{
    if (progressOpen)
        err() << Qt::endl;
    progressOpen = false;
}

void EndLoopOnSignals()
{
    if (signalPipe[0] >= 0 || pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    auto *n = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(n, &QSocketNotifier::activated, [] {
        char b[16];
        while (read(signalPipe[0], b, sizeof b) > 0) {
        }
        EndLoop();
    });
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

bool Interrupted() { return interrupted != 0; }

} // namespace tintra::ctl
