#include "ctl.h"

#include "link/state.h"

#include <cstdio>
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
bool progressOpen = false; // a progress line without its line break
}

void Progress(const char *what, int done, int total)
{
    static const bool terminal = isatty(STDERR_FILENO) == 1;
    if (!terminal)
        return;
    progressOpen = done < total;
    err() << '\r' << what << ": " << done << '/' << total << (done >= total ? "\n" : "") << Qt::flush;
}

void EndProgress()
{
    if (progressOpen)
        err() << '\n' << Qt::flush;
    progressOpen = false;
}

} // namespace tintra::ctl
