// tintractl against the simulated sensor over TCP: each command's whole exchange (the orders the
// sensor hears, as the window's connection, GET and SEND send them), what it prints or writes,
// and its exit status for a silent sensor, a wrong echo and a file that is no parameter file.
#include "link/codec.h"
#include "link/platform.h"
#include "sim/fault.h"
#include "sim/simthread.h"
#include "tests/common/calibtranscript.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace tintra;

namespace {

QByteArray ReadFileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<uint16_t> Orders(const QList<QByteArray> &frames)
{
    QList<uint16_t> out;
    for (const QByteArray &f : frames)
        out << GetWord(reinterpret_cast<const unsigned char *>(f.constData()), 1);
    return out;
}

// The window's connection (automatic sending off, identification), then its GET or SEND.
const QList<uint16_t> linkUp{50, 7}; // the connection
const QList<uint16_t> getRam = linkUp + QList<uint16_t>{3} + QList<uint16_t>(31, 4);
const QList<uint16_t> getEeprom = linkUp + QList<uint16_t>{8, 3} + QList<uint16_t>(31, 4);
const QList<uint16_t> sendEeprom = linkUp + QList<uint16_t>{1} + QList<uint16_t>(31, 2) + QList<uint16_t>{6};

// Back from `get --json` to the image: every word must be found under its name, in order.
sim::Image ImageOfJson(const QByteArray &json)
{
    sim::Image image{};
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    const QStringList scalars{"POWER", "PMODE", "AVERAGE", "EVALMODE", "INTLIM", "MAXCOL-No.", "OUTMODE", "TRIGGER",
                              "EXTEACH", "CALCMODE", "DYN WIN LO", "DYN WIN HI", "COLOR GROUPS", "LED MODE", "GAIN"};
    QStringList keys = o.keys(), expected = scalars + QStringList{"source", "COLOR TEACH TABLE", "GROUP TABLE", "HOLD TABLE"};
    keys.sort();
    expected.sort();
    if (keys != expected || o.value("source") != QJsonValue("RAM"))
        return image;
    for (int i = 0; i < scalars.size(); ++i)
        image[size_t(i < 4 ? i : i + 1)] = uint16_t(o.value(scalars[i]).toInt(-1));
    const QJsonArray teach = o.value("COLOR TEACH TABLE").toArray(), groups = o.value("GROUP TABLE").toArray(),
                     holds = o.value("HOLD TABLE").toArray();
    if (teach.size() != 31 || groups.size() != 31 || holds.size() != 32 || holds[0]["row"].toInt() != 255)
        return image;
    image[4] = uint16_t(holds[0]["HOLD"].toInt());
    const char *cols[] = {"X", "Y", "CTO", "INT", "ITO"}; // calculation mode 0
    for (int r = 0; r < 31; ++r) {
        for (int k = 0; k < 5; ++k)
            image[size_t(16 + 7 * r + k)] = uint16_t(teach[r][cols[k]].toInt(-1));
        image[size_t(16 + 7 * r + 5)] = uint16_t(groups[r]["GROUP"].toInt(-1));
        image[size_t(16 + 7 * r + 6)] = uint16_t(holds[r + 1]["HOLD"].toInt(-1));
    }
    return image;
}

// Runs tintractl with `args`: its exit status, standard output and error.
struct Ran {
    int status = -1;
    QByteArray out, err;
};
Ran RunCtl(const QStringList &args)
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tintractl"), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

Q_DECLARE_METATYPE(tintra::sim::Rgb)

class TestTintractl : public QObject {
    Q_OBJECT

private slots:
    void commandsSpeakAsTheWindowDoes_data()
    {
        QTest::addColumn<QString>("args");      // FILE, GOOD and BAD stand for files of the run
        QTest::addColumn<int>("faultOrder");    // -1 none
        QTest::addColumn<int>("faultKind");
        QTest::addColumn<int>("status");
        QTest::addColumn<QList<uint16_t>>("orders");
        // "ram", "eeprom": that image as a parameter file; "json": the RAM image with named
        // fields; "=...": exactly this on standard output; else a text on standard error.
        QTest::addColumn<QString>("out");
        const int none = -1;
        QTest::newRow("identify") << "identify" << none << 0 << 0 << linkUp << "id";
        QTest::newRow("get ram -o") << "get ram -o FILE" << none << 0 << 0 << getRam << "ram";
        QTest::newRow("get eeprom, standard output") << "get eeprom" << none << 0 << 0 << getEeprom << "eeprom";
        QTest::newRow("send eeprom") << "send eeprom GOOD" << none << 0 << 0 << sendEeprom << "sent";
        QTest::newRow("no parameter file: nothing sent") << "send ram BAD" << none << 0 << 2 << QList<uint16_t>() << "";
        QTest::newRow("unknown place: nothing sent") << "get flash" << none << 0 << 2 << QList<uint16_t>() << "";
        QTest::newRow("get ram --json") << "get ram --json -o FILE" << none << 0 << 0 << getRam << "json";
        QTest::newRow("compare ram, two fields differ")
            << "compare ram GOOD" << none << 0 << 1 << getRam
            << "=FIELD\tFILE\tRAM\nPMODE\t1 = DYN\t0 = STAT\nINTLIM\t777\t100\nCOLOR TEACH TABLE 30: CTO\t333\t1\n";
        QTest::newRow("compare eeprom, the same") << "compare eeprom SAME" << none << 0 << 0 << getEeprom << "=";
        QTest::newRow("compare, no parameter file: nothing sent")
            << "compare ram BAD" << none << 0 << 2 << QList<uint16_t>() << "not a parameter file";
        // Over a pseudo-terminal (--serial DEVICE): the same frames.
        QTest::newRow("serial: get eeprom") << "SERIAL get eeprom" << none << 0 << 0 << getEeprom << "eeprom";
        QTest::newRow("serial: send eeprom") << "SERIAL send eeprom GOOD" << none << 0 << 0 << sendEeprom << "sent";
        QTest::newRow("serial: compare ram") << "SERIAL compare ram GOOD" << none << 0 << 1 << getRam
            << "=FIELD\tFILE\tRAM\nPMODE\t1 = DYN\t0 = STAT\nINTLIM\t777\t100\nCOLOR TEACH TABLE 30: CTO\t333\t1\n";
        QTest::newRow("silent sensor at row 0") << "get ram" << 4 << int(sim::Fault::NoAnswer) << 3
                                                << linkUp + QList<uint16_t>{3, 4} << "TIMEOUT";
        QTest::newRow("wrong echo of a row") << "send ram GOOD" << 2 << int(sim::Fault::WrongEcho) << 4
                                             << linkUp + QList<uint16_t>{1, 2} << "wrong echo";
    }
    void commandsSpeakAsTheWindowDoes()
    {
        QFETCH(QString, args);
        QFETCH(int, faultOrder);
        QFETCH(int, faultKind);
        QFETCH(int, status);
        QFETCH(QList<uint16_t>, orders);
        QFETCH(QString, out);

        QTemporaryDir dir;
        sim::SimThread sensor;
        sim::SimThread::Options options;
        const bool serial = args.startsWith(QLatin1String("SERIAL "));
        if (serial) {
            options.ptyLink = dir.filePath(QStringLiteral("tty"));
            args = args.mid(7);
        }
        QVERIFY2(sensor.start(options), qPrintable(sensor.errorString()));
        sim::Image sent = sensor.ramImage();
        sent[1] = 1;   // PMODE DYN
        sent[5] = 777; // INTLIM
        sent[16 + 7 * 30 + 2] = 333;
        const QString file = dir.filePath(QStringLiteral("p.ini")), good = dir.filePath(QStringLiteral("good.ini")),
                      bad = dir.filePath(QStringLiteral("bad.ini")), same = dir.filePath(QStringLiteral("same.ini"));
        QVERIFY(ArrayToFile(same, sensor.eepromImage().data(), anzpara));
        QVERIFY(ArrayToFile(good, sent.data(), anzpara));
        QVERIFY(ArrayToFile(bad, sent.data(), anzpara - 1)); // one line short
        if (faultOrder >= 0) {
            sim::Fault f;
            f.kind = sim::Fault::Kind(faultKind);
            f.order = faultOrder;
            sensor.addFault(f);
        }

        QStringList argv{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(sensor.port())};
        if (serial)
            argv = QStringList{QStringLiteral("--serial"), options.ptyLink};
        for (QString a : args.split(u' ')) {
            a.replace(QLatin1String("FILE"), file).replace(QLatin1String("GOOD"), good).replace(QLatin1String("BAD"), bad).replace(QLatin1String("SAME"), same);
            argv << a;
        }
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tintractl"), argv);
        QVERIFY(p.waitForFinished(30000));
        const QByteArray stdOut = p.readAllStandardOutput(), stdErr = p.readAllStandardError();
        QCOMPARE(p.exitCode(), status);
        QCOMPARE(Orders(sensor.frames()), orders);

        const sim::Image ram = sensor.ramImage(), eeprom = sensor.eepromImage();
        if (out == QLatin1String("id"))
            QCOMPARE(stdOut, QByteArray("SIMULATED COLOUR SENSOR\n"));
        else if (out == QLatin1String("ram"))
            QCOMPARE(ReadFileBytes(file), ArrayText(ram.data(), anzpara));
        else if (out == QLatin1String("eeprom"))
            QCOMPARE(stdOut, ArrayText(eeprom.data(), anzpara));
        else if (out == QLatin1String("sent"))
            QCOMPARE(ArrayText(eeprom.data(), anzpara), ArrayText(sent.data(), anzpara));
        else if (out == QLatin1String("json"))
            QCOMPARE(ImageOfJson(ReadFileBytes(file)), ram);
        else if (out.startsWith(u'='))
            QCOMPARE(QString::fromUtf8(stdOut), out.mid(1));
        else if (!out.isEmpty())
            QVERIFY2(stdErr.contains(out.toUtf8()), stdErr.constData());
        if (status >= 2)
            QVERIFY(stdOut.isEmpty() && !stdErr.isEmpty()); // a reason, and nothing half-printed
    }

    // calibrate against a sensor on a white target (or a coloured, a too bright one): the whole
    // exchange, with the pauses, in the panel's transcript; the lines on standard output and
    // error, the exit status, the factors the sensor holds afterwards (1024 each before).
    void calibrateRunsThePanelsCalibration_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<sim::Rgb>("target");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("factors");
        const sim::Rgb white{2150, 2000, 1850};
        const QStringList sampled{"50", "7", "5 x100"};
        const QString means = "meanR 2150\nmeanG 2000\nmeanB 1850\nmeanD 300\n";
        const QString passed = means + "cfrot 975\ncfgruen 1048\ncfblau 1133\n";
        const QString usage =
            "usage: tintractl [CONNECTION] calibrate --set-value V --max-delta D [--yes]\n";
        const QString kept = "1024 1024 1024";
        QTest::newRow("pass, written")
            << "--set-value 2048 --max-delta 400 --yes" << white << "" << 0
            << sampled + test::CalibWrite("975 1048 1133") << passed << ""
            << "975 1048 1133";
        QTest::newRow("pass over a pseudo-terminal, written")
            << "PTY --set-value 2048 --max-delta 400 --yes" << white << "trail:30:103:4:once" << 0
            << sampled + test::CalibWrite("975 1048 1133") << passed << ""
            << "975 1048 1133";
        QTest::newRow("table chunk refused")
            << "--set-value 2048 --max-delta 400 --yes" << white << "wrongecho:182" << 4
            << sampled + test::CalibWrite("975 1048 1133").mid(0, 5) << passed << "wrong echo\n"
            << "975 1048 1133";
        QTest::newRow("pass, without --yes")
            << "--max-delta 300 --set-value 2048" << white << "" << 0 << sampled << passed
            << "without --yes nothing was sent; --yes would send order 30 "
               "with 975 1048 1133 and the cube-root table (order 180, "
               "19 x order 182)\n"
            << kept;
        QTest::newRow("spread above maximum delta")
            << "--set-value 2048 --max-delta 299 --yes" << white << "" << 5 << sampled << means
            << "ATTENTION!: The maximum delta of the raw data values RED,GREEN and BLUE is to "
               "high. Calibration is not possible. Verify, that the sensor shines on a WHITE target! "
               "Increase MAXIMUM DELTA OF RAW DATAS!\n"
            << kept;
        QTest::newRow("blue 1301")
            << "--set-value 2048 --max-delta 400 --yes" << sim::Rgb{1700, 1700, 1611} << "" << 5
            << sampled << "meanR 1700\nmeanG 1700\nmeanB 1611\nmeanD 89\n"
            << "ATTENTION!: One of the calibration factor is out of range. "
               "Calibration is not possible. Verify, that the senor shines "
               "on a WHITE target! Choose a proper POWER value.\n"
            << kept;
        QTest::newRow("sensor silent from sample 79")
            << "--set-value 2048 --max-delta 400 --yes" << white << "noanswer:5:81" << 3
            << QStringList{"50", "7", "5 x79"} << ""
            << "TIMEOUT\n"
            << kept;
        QTest::newRow("short answer to sample 60")
            << "--set-value 2048 --max-delta 400 --yes" << white << "short:5:62:0:once" << 5
            << QStringList{"50", "7", "5 x60"} << ""
            << "ATTENTION!: 41 of the 100 samples were lost. Calibration is "
               "not possible. Nothing was sent to the EEPROM of the sensor. "
               "Verify the connection to the sensor!\n"
            << kept;
        QTest::newRow("wrong echo of the factors")
            << "--set-value 2048 --max-delta 400 --yes" << white << "wrongecho:30" << 4
            << sampled + QStringList{"30 975 1048 1133"} << passed << "wrong echo\n"
            << "975 1048 1133";
        QTest::newRow("set value 99")
            << "--set-value 99 --max-delta 400 --yes" << white << "" << 2 << QStringList{} << ""
            << "calibrate: --set-value must be a whole number 100 ... 4095, not \"99\"\n" + usage
            << kept;
        QTest::newRow("max delta 4096")
            << "--set-value 4095 --max-delta 4096" << white << "" << 2 << QStringList{} << ""
            << "calibrate: --max-delta must be a whole number 0 ... 4095, not \"4096\"\n" + usage
            << kept;
        QTest::newRow("no max delta")
            << "--set-value 2048 --yes" << white << "" << 2 << QStringList{} << ""
            << "calibrate needs --set-value V and --max-delta D\n" + usage << kept;
        QTest::newRow("set value 2k")
            << "--set-value 2k --max-delta 0" << white << "" << 2 << QStringList{} << ""
            << "calibrate: --set-value must be a whole number 100 ... 4095, not \"2k\"\n" + usage
            << kept;
    }
    void calibrateRunsThePanelsCalibration()
    {
        QFETCH(QString, args);
        QFETCH(sim::Rgb, target);
        QFETCH(QString, fault);
        QFETCH(int, status);
        QFETCH(QStringList, heard);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, factors);
        // "PTY ..." runs over a pseudo-terminal, everything else over TCP.
        QStringList argv = args.split(u' ');
        const bool pty = argv.first() == QLatin1String("PTY");
        QTemporaryDir dir;
        sim::SimThread::Options o;
        o.tcp = !pty;
        if (pty)
            o.ptyLink = dir.filePath(QStringLiteral("ttyCTL"));
        sim::SimThread sensor;
        QVERIFY2(sensor.start(o), qPrintable(sensor.errorString()));
        const QStringList link =
            pty ? QStringList{QStringLiteral("--serial"), o.ptyLink}
                : QStringList{QStringLiteral("--tcp"),
                              QStringLiteral("127.0.0.1:%1").arg(sensor.port())};
        argv = link + QStringList{QStringLiteral("calibrate")} + argv.mid(pty ? 1 : 0);
        sensor.setColour(target);
        sensor.setNoise(0);
        if (!fault.isEmpty()) {
            const std::optional<sim::Fault> f = sim::Fault::parse(fault);
            QVERIFY(f);
            sensor.addFault(*f);
        }
        const Ran r = RunCtl(argv);
        QCOMPARE(test::Heard(sensor, heard, test::CalibFrame), test::Fold(heard));
        QCOMPARE(QString::fromUtf8(r.out), out);
        QCOMPARE(QString::fromUtf8(r.err), err);
        QCOMPARE(r.status, status);
        const std::array<uint16_t, 3> cf = sensor.calibrationFactors();
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(cf[0]).arg(cf[1]).arg(cf[2]), factors);
    }
};

QTEST_GUILESS_MAIN(TestTintractl)
#include "tst_tintractl.moc"
