// identify, get, send: the line check and the window's GET and SEND.
#include "ctl.h"

#include "link/exchange.h"
#include "link/paraimage.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <algorithm>
#include <cstdio>

namespace tintra::ctl {

namespace {

QString outPath;

int ParseIdentify(const QStringList &args)
{
    return args.isEmpty() ? Done : Fail(QStringLiteral("identify takes no arguments"));
}

int RunIdentify()
{
    out() << VersionText() << Qt::endl;
    return Done;
}

// "ram" or "eeprom" first: the SEND/GET place.
int TakePlace(const char *command, QStringList *args)
{
    if (args->isEmpty() || !Place(args->first()))
        return Fail(QStringLiteral("%1 needs ram or eeprom").arg(QLatin1String(command)));
    target = uint16_t(Place(args->takeFirst()));
    return Done;
}

int ParseGet(const QStringList &given)
{
    QStringList args = given;
    if (const int r = TakePlace("get", &args))
        return r;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("-o") && !args.isEmpty())
            outPath = args.takeFirst();
        else
            return Fail(QStringLiteral("get: unexpected %1").arg(a));
    }
    return Done;
}

void ShowProgress(const char *what)
{
    SetExchangeProgress([what](int done, int total) { Progress(what, done, total); });
}

int RunGet()
{
    ShowProgress("get");
    if (!ReadParaFromSensor())
        return ExchangeFailed();
    CopyVarsToPP();
    const QByteArray text = ArrayText(pp, anzpara);
    if (outPath.isEmpty())
        return std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size())
                   ? Done
                   : Fail(QStringLiteral("standard output could not be written"));
    if (!ArrayToFile(outPath, pp, anzpara))
        return Fail(QStringLiteral("the parameter file could not be written: %1").arg(outPath));
    return Done;
}

int ParseSend(const QStringList &given)
{
    QStringList args = given;
    if (const int r = TakePlace("send", &args))
        return r;
    if (args.size() != 1)
        return Fail(QStringLiteral("send needs one parameter file"));
    uint16_t image[anzpara];
    if (!FileToArray(args.first(), image, anzpara))
        return Fail(QStringLiteral("%1 is not a parameter file: it must hold 233 lines, each a whole "
                                   "number 0 ... 65535. Nothing was sent.")
                        .arg(args.first()));
    std::copy(image, image + anzpara, pp);
    CopyFileParatoVars();
    return Done;
}

int RunSend()
{
    ShowProgress("send");
    SendParaToSensor();
    return comecho == 1 ? Done : ExchangeFailed();
}

} // namespace

const Command identifyCommand{
    "identify", "identify",
    "Prints the sensor's identification text (the line check the program runs when it connects:\n"
    "automatic sending off, order 7).\n",
    ParseIdentify, RunIdentify};

const Command getCommand{
    "get", "get ram|eeprom [-o FILE]",
    "Reads the parameter set from the sensor's RAM or EEPROM, as the program's GET does (order 8\n"
    "first for the EEPROM, then order 3 and order 4 for rows 0 ... 30), and writes it as a\n"
    "parameter file (the program's FILE + GET reads it) to FILE or standard output.\n"
    "  -o FILE   write the parameter file FILE\n"
    "  --json    print the set with named fields instead\n",
    ParseGet, RunGet};

const Command sendCommand{
    "send", "send ram|eeprom FILE",
    "Sends the parameter file FILE to the sensor's RAM or EEPROM, as the program's SEND does\n"
    "(order 1, order 2 for rows 0 ... 30, each echo-checked; for the EEPROM order 6 and a 0.5 s\n"
    "pause). A file that is not a whole parameter file is refused before anything is sent.\n",
    ParseSend, RunSend};

} // namespace tintra::ctl
