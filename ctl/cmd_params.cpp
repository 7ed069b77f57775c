// identify, get, send: the line check and the window's GET and SEND.
#include "ctl.h"

#include "link/exchange.h"
#include "link/fields.h"
#include "link/paraimage.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QFile>
#include <algorithm>
#include <cstdio>

namespace tintra::ctl {

namespace {

QString outPath;
bool asJson = false;

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
        else if (a == QLatin1String("--json"))
            asJson = true;
        else
            return Fail(QStringLiteral("get: unexpected %1").arg(a));
    }
    return Done;
}

// The set with named fields, in image order: the sixteen parameters (but word 4, the hold time
// of colour number 255, which leads the hold table), then the three tables row by row, the
// teach table's columns named for the set's own calculation mode (an unused fifth column
// "UNUSED", so no value is lost).
QByteArray ParaJson(const uint16_t *image, const char *source)
{
    QByteArray j = QByteArray("{\n  \"source\": \"") + source + "\"";
    for (int w = 0; w < 16; ++w)
        if (w != 4)
            j += ",\n  \"" + FieldName(w, 0).toLatin1() + "\": " + QByteArray::number(image[w]);
    const auto word = [image](int r, int k) { return QByteArray::number(image[16 + 7 * r + k]); };
    j += ",\n  \"COLOR TEACH TABLE\": [";
    for (int r = 0; r < anzVec; ++r) {
        j += QByteArray(r ? "," : "") + "\n    {\"row\": " + QByteArray::number(r);
        for (int k = 0; k < teachColumns; ++k) {
            const QByteArray name = TeachColumnCaption(image[10], k);
            j += ", \"" + (name.isEmpty() ? QByteArray("UNUSED") : name) + "\": " + word(r, k);
        }
        j += "}";
    }
    j += "\n  ],\n  \"GROUP TABLE\": [";
    for (int r = 0; r < anzVec; ++r)
        j += QByteArray(r ? "," : "") + "\n    {\"row\": " + QByteArray::number(r) + ", \"GROUP\": " + word(r, 5) + "}";
    j += "\n  ],\n  \"HOLD TABLE\": [\n    {\"row\": 255, \"HOLD\": " + QByteArray::number(image[4]) + "}";
    for (int r = 0; r < anzVec; ++r)
        j += ",\n    {\"row\": " + QByteArray::number(r) + ", \"HOLD\": " + word(r, 6) + "}";
    return j + "\n  ]\n}\n";
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
    const QByteArray text = asJson ? ParaJson(pp, target == EEPROM ? "EEPROM" : "RAM") : ArrayText(pp, anzpara);
    if (outPath.isEmpty())
        return std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size())
                   ? Done
                   : Fail(QStringLiteral("standard output could not be written"));
    if (asJson) {
        QFile f(outPath);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size())
            return Fail(QStringLiteral("%1 could not be written: %2").arg(outPath, f.errorString()));
        return Done;
    }
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
    "get", "get ram|eeprom [-o FILE] [--json]",
    "Reads the parameter set from the sensor's RAM or EEPROM, as the program's GET does (order 8\n"
    "first for the EEPROM, then order 3 and order 4 for rows 0 ... 30), and writes it as a\n"
    "parameter file (the program's FILE + GET reads it) to FILE or standard output.\n"
    "  -o FILE   write the parameter file FILE\n"
    "  --json    the set with named fields (JSON) instead of a parameter file: POWER, PMODE, ...,\n"
    "            then the colour teach, group and hold tables row by row\n"
    "Reading the EEPROM makes the sensor take the EEPROM values as its current parameters, as in\n"
    "the program.\n",
    ParseGet, RunGet};

const Command sendCommand{
    "send", "send ram|eeprom FILE",
    "Sends the parameter file FILE to the sensor's RAM or EEPROM, as the program's SEND does\n"
    "(order 1, order 2 for rows 0 ... 30, each echo-checked; for the EEPROM order 6 and a 0.5 s\n"
    "pause). A file that is not a whole parameter file is refused before anything is sent.\n",
    ParseSend, RunSend};

} // namespace tintra::ctl
