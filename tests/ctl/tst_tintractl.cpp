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
        QTest::addColumn<QString>("out");       // "ram", "eeprom": that image as a parameter file
        const int none = -1;
        QTest::newRow("identify") << "identify" << none << 0 << 0 << linkUp << "id";
        QTest::newRow("get ram -o") << "get ram -o FILE" << none << 0 << 0 << getRam << "ram";
        QTest::newRow("get eeprom, standard output") << "get eeprom" << none << 0 << 0 << getEeprom << "eeprom";
        QTest::newRow("send eeprom") << "send eeprom GOOD" << none << 0 << 0 << sendEeprom << "sent";
        QTest::newRow("no parameter file: nothing sent") << "send ram BAD" << none << 0 << 2 << QList<uint16_t>() << "";
        QTest::newRow("unknown place: nothing sent") << "get flash" << none << 0 << 2 << QList<uint16_t>() << "";
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

        sim::SimThread sensor;
        QVERIFY2(sensor.start(), qPrintable(sensor.errorString()));
        sim::Image sent = sensor.ramImage();
        sent[5] = 777; // INTLIM
        sent[16 + 7 * 30 + 2] = 333;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("p.ini")), good = dir.filePath(QStringLiteral("good.ini")),
                      bad = dir.filePath(QStringLiteral("bad.ini"));
        QVERIFY(ArrayToFile(good, sent.data(), anzpara));
        QVERIFY(ArrayToFile(bad, sent.data(), anzpara - 1)); // one line short
        if (faultOrder >= 0) {
            sim::Fault f;
            f.kind = sim::Fault::Kind(faultKind);
            f.order = faultOrder;
            sensor.addFault(f);
        }

        QStringList argv{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(sensor.port())};
        for (QString a : args.split(u' ')) {
            a.replace(QLatin1String("FILE"), file).replace(QLatin1String("GOOD"), good).replace(QLatin1String("BAD"), bad);
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
        else if (!out.isEmpty())
            QVERIFY2(stdErr.contains(out.toUtf8()), stdErr.constData());
        if (status != 0)
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
