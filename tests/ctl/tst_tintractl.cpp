// tintractl against the simulated sensor over TCP: each command's whole exchange (the orders the
// sensor hears, as the window's connection, GET and SEND send them), what it prints or writes,
// and its exit status for a silent sensor, a wrong echo and a file that is no parameter file.
#include "link/codec.h"
#include "link/platform.h"
#include "sim/fault.h"
#include "sim/simthread.h"

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

} // namespace

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
};

QTEST_GUILESS_MAIN(TestTintractl)
#include "tst_tintractl.moc"
