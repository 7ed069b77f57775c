// compare: a parameter file against the sensor's RAM or EEPROM, field by field, as the COMPARE
// window lists them. Exit status as diff's: 0 equal, 1 different, 2 an error.
#include "ctl.h"

#include "link/exchange.h"
#include "link/fields.h"
#include "link/paraimage.h"
#include "link/platform.h"
#include "link/state.h"

#include <algorithm>

namespace tintra::ctl {

namespace {

ParaImage fileImage{};
QString filePath;

int ParseCompare(const QStringList &given)
{
    QStringList args = given;
    if (args.isEmpty() || !Place(args.first()))
        return Fail(QStringLiteral("compare needs ram or eeprom"));
    target = uint16_t(Place(args.takeFirst()));
    if (args.size() != 1)
        return Fail(QStringLiteral("compare needs one parameter file"));
    filePath = args.first();
    if (!FileToArray(filePath, fileImage.data(), anzpara))
        return Fail(QStringLiteral("%1 is not a parameter file: it must hold 233 lines, each a whole "
                                   "number 0 ... 65535. Nothing was read.")
                        .arg(filePath));
    return Done;
}

int RunCompare()
{
    SetExchangeProgress([](int done, int total) { Progress("compare", done, total); });
    if (!ReadParaFromSensor())
        return ExchangeFailed();
    CopyVarsToPP();
    ParaImage sensor{};
    std::copy(pp, pp + anzpara, sensor.begin());
    // The file takes the panels' place: its teach table is named for its own calculation mode.
    const QList<FieldDiff> diffs = DiffImages(fileImage, sensor, fileImage[10]);
    if (diffs.isEmpty())
        return Done;
    out() << "FIELD\tFILE\t" << (target == EEPROM ? "EEPROM" : "RAM") << '\n';
    for (const FieldDiff &d : diffs)
        out() << d.name << '\t' << d.panelValue << '\t' << d.otherValue << '\n';
    out() << Qt::flush;
    err() << diffs.size() << " field(s) of " << filePath << " differ from the sensor's "
          << (target == EEPROM ? "EEPROM" : "RAM") << Qt::endl;
    return Different;
}

} // namespace

const Command compareCommand{
    "compare", "compare ram|eeprom FILE",
    "Reads the sensor's RAM or EEPROM as get does and lists the fields in which the parameter\n"
    "file FILE differs, as the program's COMPARE window names them: a header line, then one\n"
    "line per field, TAB-separated: FIELD, the file's value, the sensor's value. Nothing is\n"
    "written to the sensor; reading the EEPROM makes the sensor take the EEPROM values as its\n"
    "current parameters, as in the program.\n"
    "Exit status: 0 the same, 1 different, 2 usage or file error, 3 no answer, 4 a wrong echo.\n",
    ParseCompare, RunCompare};

} // namespace tintra::ctl
