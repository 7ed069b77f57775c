// watch: the live loop as GO runs it (order 5, the 10 ms pause), one line per frame on standard
// output with the eight values of a record line.
#include "ctl.h"

#include "link/recordfile.h"
#include "link/recording.h"
#include "link/state.h"

namespace tintra::ctl {

namespace {

enum class Format { Plain, Tsv, Json };
Format format = Format::Plain;
int count = 0; // 0: until Ctrl-C

// The record file's labels of the eight values: RED ... TEMP (the header without DATE and TIME).
QList<QByteArray> ValueLabels() { return RecordHeader().trimmed().split('\t').mid(2); }

int ParseWatch(const QStringList &given)
{
    QStringList args = given;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--count")) {
            bool number = false;
            count = args.isEmpty() ? 0 : args.takeFirst().toInt(&number);
            if (!number || count < 1)
                return Fail(QStringLiteral("watch: --count needs a number of frames, 1 or more"));
        } else if (a == QLatin1String("--tsv") || a == QLatin1String("--json")) {
            format = a == QLatin1String("--tsv") ? Format::Tsv : Format::Json;
        } else {
            return Fail(QStringLiteral("watch: unexpected %1").arg(a));
        }
    }
    EndLoopOnSignals();
    return Done;
}

// Plain: each field right-aligned in six characters, one blank between them.
QByteArray Plain(const QList<QByteArray> &fields)
{
    QByteArray line;
    for (const QByteArray &f : fields)
        line += (line.isEmpty() ? "" : " ") + f.rightJustified(6, ' ');
    return line;
}

QByteArray FrameLine()
{
    uint16_t v[recordValues];
    RecordedValues(v);
    QList<QByteArray> fields;
    for (int i = 0; i < recordValues; ++i)
        fields << QByteArray::number(v[i]);
    if (format == Format::Tsv)
        return fields.join('\t');
    if (format == Format::Plain)
        return Plain(fields);
    // The key is the label's first word: RED, GREEN, BLUE, X, Y, INT, COLOR, TEMP.
    const QList<QByteArray> labels = ValueLabels();
    QByteArray json = "{";
    for (int i = 0; i < recordValues; ++i)
        json += (i ? ",\"" : "\"") + labels[i].split(' ').first() + "\":" + fields[i];
    return json + '}';
}

int RunWatch()
{
    if (Interrupted())
        return Done;
    if (format != Format::Json)
        out() << (format == Format::Tsv ? ValueLabels().join('\t') : Plain(ValueLabels())) << '\n' << Qt::flush;
    int frames = 0;
    const bool answered = RunDataLoop([&frames] {
        out() << FrameLine() << '\n' << Qt::flush; // a reader on a pipe sees each frame at once
        if (++frames == count || Interrupted())
            EndLoop();
    });
    return answered ? Done : Fail(QStringLiteral("TIMEOUT"), NoAnswer);
}

} // namespace

const Command watchCommand{
    "watch", "watch [--count N] [--tsv|--json]",
    "Runs the live loop as the program's GO does (order 5, then a 10 ms pause, frame after frame)\n"
    "and prints one line per frame: RED, GREEN, BLUE, X s, Y i, INT M, COLOR and TEMP, the values\n"
    "of a record line. Ends after N frames, or at Ctrl-C (exit status 0).\n"
    "  --count N   end after N frames\n"
    "  --tsv       a header with the record file's labels, then the values separated by TABs\n"
    "  --json      one JSON object per frame, keys RED GREEN BLUE X Y INT COLOR TEMP\n",
    ParseWatch, RunWatch};

} // namespace tintra::ctl
