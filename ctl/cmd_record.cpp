// record: the recorder's timed and triggered modes into a record file, through the loops the
// window's recorder runs.
#include "ctl.h"

#include "link/platform.h"
#include "link/recordfile.h"
#include "link/recording.h"
#include "link/state.h"

namespace tintra::ctl {

namespace {

enum Mode { Values, UntilStop, Triggered };
int mode = Values;
int interval = 1, values = 100; // the recorder page's INTERVAL and VALUES at start
QString path;

// A whole number lo ... hi after `option`, else 0.
int TakeNumber(QStringList *args, int lo, int hi)
{
    bool number = false;
    const int n = args->isEmpty() ? 0 : args->takeFirst().toInt(&number);
    return number && n >= lo && n <= hi ? n : 0;
}

int ParseRecord(const QStringList &given)
{
    QStringList args = given;
    const QStringList modes{QStringLiteral("values"), QStringLiteral("until-stop"), QStringLiteral("triggered")};
    mode = args.isEmpty() ? -1 : int(modes.indexOf(args.takeFirst()));
    if (mode < 0)
        return Fail(QStringLiteral("record needs values, until-stop or triggered"));
    bool timing = false;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("-o") && !args.isEmpty()) {
            path = args.takeFirst();
        } else if (a == QLatin1String("--interval")) {
            if (!(interval = TakeNumber(&args, 1, 65535)))
                return Fail(QStringLiteral("record: --interval needs whole seconds, 1 ... 65535"));
            timing = true;
        } else if (a == QLatin1String("--values") && mode == Values) {
            if (!(values = TakeNumber(&args, 1, 65535)))
                return Fail(QStringLiteral("record: --values needs a number of values, 1 ... 65535"));
        } else {
            return Fail(QStringLiteral("record: unexpected %1").arg(a));
        }
    }
    if (timing && mode == Triggered)
        return Fail(QStringLiteral("record: the sensor decides when a triggered recording gets a line: no --interval"));
    if (path.isEmpty())
        return Fail(QStringLiteral("record needs -o FILE"));
    // A new (or empty) record file gets its header; one that holds lines already is added to, as
    // the program's recordings after one SELECT FILE are.
    qint64 size = 0;
    QString reason;
    if ((!GetFileInfo(path, &size) || size == 0) && !AppendToRecordFile(path, RecordHeader(), &reason))
        return Fail(QStringLiteral("the record file could not be written: %1: %2").arg(path, reason));
    EndLoopOnSignals();
    return Done;
}

int RunRecord()
{
    RecordTally tally;
    RecordHooks hooks;
    bool answered = true;
    if (Interrupted()) {
        // Ended before it began: nothing recorded.
    } else if (mode == Triggered) {
        answered = RecordTriggered(path, tally, hooks);
    } else {
        zeitint = uint16_t(interval);
        const int total = mode == Values ? values : 0;
        hooks.line = [&tally, total] {
            Progress("record", tally.tried, total);
            if (tally.tried == total)
                EndLoop();
        };
        answered = RecordTimed(path, tally, hooks);
        ProgressEnd();
    }
    err() << tally.tried - tally.failed << " lines written";
    if (mode == Triggered)
        err() << ", " << tally.dropped << " bytes dropped";
    err() << Qt::endl;
    if (tally.failed > 0)
        return Fail(QStringLiteral("the record file could not be written: %1: %2; %3 of %4 lines are missing")
                        .arg(path, tally.reason)
                        .arg(tally.failed)
                        .arg(tally.tried));
    return answered ? Done : Fail(QStringLiteral("TIMEOUT"), NoAnswer);
}

} // namespace

const Command recordCommand{
    "record", "record values|until-stop|triggered [--interval S] [--values N] -o FILE",
    "Records measured values into the record file FILE, as the program's recorder does: one line\n"
    "per value with the date, the time, RED, GREEN, BLUE, X s, Y i, INT M, COLOR and TEMP. A new\n"
    "file gets the header line first; lines are added to an existing one.\n"
    "  values       N values, one every S seconds (order 5 each time)\n"
    "  until-stop   one value every S seconds until Ctrl-C\n"
    "  triggered    every frame the sensor sends by itself (order 50 with 1 switches its sending on,\n"
    "               order 50 with 0 off again at Ctrl-C; frames still on their way are recorded)\n"
    "  --interval S seconds from one value to the next, 1 ... 65535 (default 1)\n"
    "  --values N   values to record in mode values, 1 ... 65535 (default 100)\n"
    "  -o FILE      the record file\n"
    "Ctrl-C ends a recording cleanly. At the end \"N lines written\" (triggered: \"N lines written,\n"
    "M bytes dropped\") on standard error; a missing answer ends a timed recording with one more\n"
    "line holding the last values, \"TIMEOUT\" and exit status 3.\n",
    ParseRecord, RunRecord};

} // namespace tintra::ctl
