// tintractl watch and record against the simulated sensor, over TCP and a pseudo-terminal: the
// whole exchange (the window's connection, then the same orders with the same pauses as GO and the
// recorder send them), everything printed, the whole record file (date and time masked) and the
// exit status, for each format, each recording mode, Ctrl-C (SIGINT, SIGTERM) and a silent sensor.
#include "sim/fault.h"
#include "sim/simthread.h"
#include "tests/common/transcript.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace tintra;

namespace {

// Words 2 ... 17 of the k-th data frame: word w carries k * 100 + w - 1, so a record line names the
// words it took (R k01 ... INT k06, colour number k07, TEMP k11).
std::array<uint16_t, 16> Words(int k)
{
    std::array<uint16_t, 16> w{};
    for (int i = 0; i < 16; ++i)
        w[std::size_t(i)] = uint16_t(k * 100 + i + 1);
    return w;
}

// Frame k's record line with date and time masked; k = 0: the values before any frame came.
QByteArray Line(int k)
{
    const QString v = QStringLiteral("D\tT\tk01\tk02\tk03\tk04\tk05\tk06\tk07\tk11\r\n");
    return k == 0 ? QByteArray("D\tT\t0\t0\t0\t0\t0\t0\t0\t0\r\n")
                  : QString(v).replace(u'k', QString::number(k)).toLatin1();
}

// A file's bytes, each well-formed date (MM-DD-YYYY) and time (HH:MM:SS) at a line's start masked.
QByteArray Masked(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "(no file)";
    static const QRegularExpression stamp(QStringLiteral(
        "^(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])-[0-9]{4}\t([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\t"),
        QRegularExpression::MultilineOption);
    return QString::fromLatin1(f.readAll()).replace(stamp, QStringLiteral("D\tT\t")).toLatin1();
}

const QStringList linkUp{"50", "7"}; // the connection: automatic sending off, identification
const QByteArray header = "DATE\tTIME\tRED\tGREEN\tBLUE\tX s\tY i\tINT M\tCOLOR\tTEMP\t\r\n";

} // namespace

class TestCtlLoops : public QObject {
    Q_OBJECT

private slots:
    void loopsSpeakAsTheWindowDoes()
    {
        enum Stop { Never, IntAfterHeard, SignalAfterSent };
        struct Row {
            const char *what;
            QString args;          // FILE stands for the record file
            bool pty;
            int faultFrom;         // order 5 unanswered from this frame on (counted from the first); 0 none
            Stop stop;
            int at;                // frames heard / sent before the signal
            int status;
            QStringList heard;
            QByteArray out, err;   // "%1" in err: the frames the sensor sent by itself
            QList<int> lines;      // the record lines after the header; {-1}: one per frame sent
            QByteArray before = {}; // the record file before the run ("": none)
            int delayed = 0;       // this frame (counted from the first) answered 1.5 s late
            QByteArray noise = {}; // sent after every 7th of 141 frames instead of up to 600 plain ones
        };
        const QByteArray plainHead = "   RED  GREEN   BLUE    X s    Y i  INT M  COLOR   TEMP\n";
        const QStringList go3 = linkUp + QStringList{"5", "pause 0.01", "5", "pause 0.01", "5"};
        const QStringList timed3 = linkUp + QStringList{"5", "pause 0.95", "5", "pause 0.95", "5"};
        const Row rows[] = {
            {"watch, plain", "watch --count 3", false, 0, Never, 0, 0, go3,
             plainHead + "   101    102    103    104    105    106    107    111\n"
                         "   201    202    203    204    205    206    207    211\n"
                         "   301    302    303    304    305    306    307    311\n", "", {}},
            {"watch --tsv", "watch --tsv --count 3", false, 0, Never, 0, 0, go3,
             "RED\tGREEN\tBLUE\tX s\tY i\tINT M\tCOLOR\tTEMP\n101\t102\t103\t104\t105\t106\t107\t111\n"
             "201\t202\t203\t204\t205\t206\t207\t211\n301\t302\t303\t304\t305\t306\t307\t311\n", "", {}},
            {"watch --json, serial", "watch --count 3 --json", true, 0, Never, 0, 0, go3,
             "{\"RED\":101,\"GREEN\":102,\"BLUE\":103,\"X\":104,\"Y\":105,\"INT\":106,\"COLOR\":107,\"TEMP\":111}\n"
             "{\"RED\":201,\"GREEN\":202,\"BLUE\":203,\"X\":204,\"Y\":205,\"INT\":206,\"COLOR\":207,\"TEMP\":211}\n"
             "{\"RED\":301,\"GREEN\":302,\"BLUE\":303,\"X\":304,\"Y\":305,\"INT\":306,\"COLOR\":307,\"TEMP\":311}\n",
             "", {}},
            {"watch, silent sensor", "watch --count 3", false, 3, Never, 0, 3, linkUp + QStringList{"5"},
             plainHead, "TIMEOUT\n", {}},
            {"watch, SIGINT while an answer is awaited: it is still used", "watch --json", false, 0,
             IntAfterHeard, 5, 0, go3,
             "{\"RED\":101,\"GREEN\":102,\"BLUE\":103,\"X\":104,\"Y\":105,\"INT\":106,\"COLOR\":107,\"TEMP\":111}\n"
             "{\"RED\":201,\"GREEN\":202,\"BLUE\":203,\"X\":204,\"Y\":205,\"INT\":206,\"COLOR\":207,\"TEMP\":211}\n"
             "{\"RED\":301,\"GREEN\":302,\"BLUE\":303,\"X\":304,\"Y\":305,\"INT\":306,\"COLOR\":307,\"TEMP\":311}\n",
             "", {}, {}, 5},
            {"record values", "record values --values 3 --interval 1 -o FILE", false, 0, Never, 0, 0, timed3,
             "", "3 lines written\n", {1, 2, 3}},
            {"record values, serial", "record values --values 2 -o FILE", true, 0, Never, 0, 0,
             linkUp + QStringList{"5", "pause 0.95", "5"}, "", "2 lines written\n", {1, 2}},
            {"record values, silent at the second: its line repeats the first", "record values --values 3 -o FILE",
             false, 4, Never, 0, 3, linkUp + QStringList{"5", "pause 0.95", "5"}, "", "2 lines written\nTIMEOUT\n",
             {1, 1}},
            {"record values, silent at once: the values held before", "record values -o FILE", false, 3, Never, 0,
             3, linkUp + QStringList{"5"}, "", "1 lines written\nTIMEOUT\n", {0}},
            {"record into a file that has lines: no second header", "record values --values 1 -o FILE", false, 0,
             Never, 0, 0, linkUp + QStringList{"5"}, "", "1 lines written\n", {7, 1},
             "DATE\tTIME\tRED\tGREEN\tBLUE\tX s\tY i\tINT M\tCOLOR\tTEMP\t\r\n01-02-2026\t03:04:05\t701\t702\t703\t704\t705\t706\t707\t711\r\n"},
            {"record into a folder that does not exist: refused, nothing sent", "record values -o FILE/none.dat",
             false, 0, Never, 0, 2, {}, "", "the record file could not be written: FILE/none.dat: No such file or "
             "directory\nusage: tintractl [CONNECTION] record values|until-stop|triggered [--interval S] [--values N] "
             "-o FILE\n", {}},
            {"record until-stop, SIGINT", "record until-stop --interval 1 -o FILE", false, 0, IntAfterHeard, 4, 0,
             linkUp + QStringList{"5", "pause 0.95", "5"}, "", "2 lines written\n", {1, 2}},
            {"record triggered, SIGTERM while frames arrive", "record triggered -o FILE", false, 0, SignalAfterSent,
             100, 0, linkUp + QStringList{"50 1", "50"}, "", "%1 lines written, 0 bytes dropped\n", {-1}},
            {"record triggered, serial, SIGINT while frames arrive", "record triggered -o FILE", true, 0,
             SignalAfterSent, 100, 0, linkUp + QStringList{"50 1", "50"}, "", "%1 lines written, 0 bytes dropped\n",
             {-1}},
            {"record triggered, noise between the frames, all sent before SIGINT", "record triggered -o FILE",
             false, 0, SignalAfterSent, 141, 0, linkUp + QStringList{"50 1", "50"}, "",
             "141 lines written, 100 bytes dropped\n", {-1}, {}, 0, QByteArray("\xee\x00\x11\xaa\x00", 5)},
            {"record triggered with an interval: refused, nothing sent", "record triggered --interval 2 -o FILE",
             false, 0, Never, 0, 2, {}, "",
             "record: the sensor decides when a triggered recording gets a line: no --interval\nusage: tintractl "
             "[CONNECTION] record values|until-stop|triggered [--interval S] [--values N] -o FILE\n", {}},
        };
        for (const Row &r : rows) {
            QTemporaryDir dir;
            sim::SimThread sensor;
            sim::SimThread::Options o;
            o.ptyLink = r.pty ? dir.filePath(QStringLiteral("tty")) : QString();
            QVERIFY2(sensor.start(o), qPrintable(sensor.errorString()));
            sensor.setAutoSendMode(sim::AutoSendMode::Interval);
            sensor.setAutoSendPeriodUs(1000);
            sensor.setAutoSendLimit(r.noise.isEmpty() ? 600 : 141);
            sensor.setAutoSendNoise(r.noise, 7);
            sensor.sim().withModel([](sim::SensorModel &m) {
                for (int k = 1; k <= 600; ++k)
                    m.scriptedData.push_back(Words(k));
            });
            if (r.delayed) {
                sim::Fault f;
                f.kind = sim::Fault::Delay;
                f.fromFrame = r.delayed;
                f.arg = 1500;
                f.once = true;
                sensor.addFault(f);
            }
            if (r.faultFrom) {
                sim::Fault f;
                f.order = 5;
                f.fromFrame = r.faultFrom;
                sensor.addFault(f);
            }
            const QString file = dir.filePath(QStringLiteral("rec.dat"));
            if (!r.before.isEmpty()) {
                QFile f(file);
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write(r.before) == r.before.size());
            }
            QStringList argv = r.pty ? QStringList{"--serial", o.ptyLink}
                                     : QStringList{"--tcp", QStringLiteral("127.0.0.1:%1").arg(sensor.port())};
            argv += QString(r.args).replace(QLatin1String("FILE"), file).split(u' ');
            QProcess p;
            p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tintractl"), argv);
            if (r.stop != Never) {
                const bool came = QTest::qWaitFor([&] {
                    return r.stop == IntAfterHeard ? sensor.frames().size() >= r.at : sensor.autoFramesSent() >= r.at;
                }, 20000);
                QVERIFY2(came, r.what);
                ::kill(pid_t(p.processId()), r.stop == IntAfterHeard || r.pty ? SIGINT : SIGTERM);
            }
            QVERIFY2(p.waitForFinished(30000), r.what);
            (void)QTest::qWaitFor([&] { return sensor.frames().size() >= r.heard.size() - r.heard.filter("pause").size(); }, 2000);
            const qint64 sent = sensor.autoFramesSent();
            QByteArray lines = r.args.contains(QLatin1String("FILE")) && r.status != 2 ? header : "(no file)";
            for (int k : r.lines)
                for (int i = k < 0 ? 1 : k; i <= (k < 0 ? sent : k); ++i)
                    lines += Line(i);
            QStringList got{test::Heard(sensor, r.heard).join(", "), QString::fromLatin1(p.readAllStandardOutput()),
                            QString::fromLatin1(p.readAllStandardError()), QString::fromLatin1(Masked(file)),
                            QString::number(p.exitCode()) + (p.exitStatus() == QProcess::NormalExit ? "" : " crashed")};
            QStringList want{test::Fold(r.heard).join(", "), QString::fromLatin1(r.out),
                             QString::fromLatin1(r.err).replace(QLatin1String("%1"), QString::number(sent)).replace(QLatin1String("FILE/"), file + u'/'), QString::fromLatin1(lines),
                             QString::number(r.status)};
            for (QStringList *l : {&got, &want})
                l->replaceInStrings(QRegularExpression("^"), QString::fromLatin1(r.what) + " | ");
            QCOMPARE(got, want);
        }
    }

    // Standard error on a terminal: the timed modes show their progress in one line, rewritten
    // in place (values: done/total; until-stop: done), ended before the summary.
    void progressOnATerminal()
    {
        struct Row {
            const char *args;
            int interruptAfterHeard; // 0: none
            QByteArray err;
        };
        const Row rows[] = {
            {"record values --values 2 -o FILE", 0, "\rrecord: 1/2\rrecord: 2/2\n2 lines written\n"},
            {"record until-stop -o FILE", 4, "\rrecord: 1\rrecord: 2\n2 lines written\n"},
        };
        for (const Row &r : rows) {
            QTemporaryDir dir;
            sim::SimThread sensor;
            QVERIFY2(sensor.start(), qPrintable(sensor.errorString()));
            const int master = posix_openpt(O_RDWR | O_NOCTTY);
            QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
            const QString terminal = QString::fromLatin1(ptsname(master));
            termios raw{}; // the bytes as written, no CR added to a line end
            const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
            QVERIFY(slave >= 0 && tcgetattr(slave, &raw) == 0);
            cfmakeraw(&raw);
            QVERIFY(tcsetattr(slave, TCSANOW, &raw) == 0);
            QProcess p;
            p.setStandardErrorFile(terminal);
            p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tintractl"),
                    QStringList{"--tcp", QStringLiteral("127.0.0.1:%1").arg(sensor.port())} +
                        QString::fromLatin1(r.args).replace(QLatin1String("FILE"), dir.filePath("rec.dat")).split(u' '));
            if (r.interruptAfterHeard) {
                QVERIFY(QTest::qWaitFor([&] { return sensor.frames().size() >= r.interruptAfterHeard; }, 20000));
                ::kill(pid_t(p.processId()), SIGINT);
            }
            QVERIFY(p.waitForFinished(30000));
            QByteArray err(4096, 0);
            fcntl(master, F_SETFL, O_NONBLOCK);
            const ssize_t n = ::read(master, err.data(), size_t(err.size()));
            err.resize(n > 0 ? qsizetype(n) : 0);
            ::close(slave);
            ::close(master);
            QCOMPARE(QString::fromLatin1(r.args) + " | " + QString::fromLatin1(err) + " | " + QString::number(p.exitCode()),
                     QString::fromLatin1(r.args) + " | " + QString::fromLatin1(r.err) + " | 0");
        }
    }
};

QTEST_GUILESS_MAIN(TestCtlLoops)
#include "tst_ctlloops.moc"
