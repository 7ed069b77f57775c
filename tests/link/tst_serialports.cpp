// The machine's serial ports with the devices "ComPorts.cfg" names, mapping a COM number into the
// file, and the facts behind a port that cannot be opened.
#include "common/scriptedpeer.h"
#include "link/serialports.h"
#include "link/state.h"
#include "link/transport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace tintra;
using namespace tintra::test;

class TestSerialPorts : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    void write(const char *name, const QByteArray &bytes)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read(const char *name)
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        SetComPortsCfgDir(dir.path());
    }
    void cleanupTestCase() { SetComPortsCfgDir(QString()); }

    // A pseudo-terminal named in the file is listed with its number; a regular file and a
    // missing device named there are not.
    void listHoldsMappedPseudoTerminals()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyBENCH"));
        QVERIFY(peer.start());
        write("plain", "not a port");
        write("ComPorts.cfg", "# bench\n3 " + QFile::encodeName(peer.linkPath()) + "\n4 " +
                                  QFile::encodeName(path("plain")) + "\n5 " +
                                  QFile::encodeName(path("ttyGONE")) + "\n");
        const QList<SerialPortEntry> ports = ListSerialPorts();
        QStringList devices;
        for (const SerialPortEntry &e : ports)
            devices << e.device;
        QCOMPARE(devices.count(peer.linkPath()), 1);
        QVERIFY(!devices.contains(path("plain")));
        QVERIFY(!devices.contains(path("ttyGONE")));
        const SerialPortEntry pty = ports[devices.indexOf(peer.linkPath())];
        QCOMPARE(pty.comNumber, 3);
        QCOMPARE(SerialPortLabel(pty), "COM 3: " + peer.linkPath());
        SerialPortEntry usb{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K3B2", 0};
        QCOMPARE(SerialPortLabel(usb), QStringLiteral("/dev/ttyUSB0 - FT232R USB UART, FTDI, S/N A10K3B2"));
    }

    void mapComPort_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("no file") << QByteArray() << 2 << "/dev/ttyUSB0" << true
                                 << QByteArray("2 /dev/ttyUSB0\n");
        QTest::newRow("replaces its number in place, keeps the rest")
            << QByteArray("# lab\n2 /dev/ttyS1\n3 /dev/ttyACM0\n2\t/dev/old\n") << 2
            << "/dev/ttyUSB1" << true << QByteArray("# lab\n2 /dev/ttyUSB1\n3 /dev/ttyACM0\n");
        QTest::newRow("lone CRs, no line end at the end")
            << QByteArray("# \xe9t\xe9\r12 /dev/ttyS1") << 2 << "/dev/ttyUSB1" << true
            << QByteArray("# \xe9t\xe9\r12 /dev/ttyS1\r2 /dev/ttyUSB1\r");
        QTest::newRow("number 0") << QByteArray("1 /dev/ttyS0\n") << 0 << "/dev/ttyUSB0" << false
                                  << QByteArray("1 /dev/ttyS0\n");
        QTest::newRow("number 257") << QByteArray("1 /dev/ttyS0\n") << 257 << "/dev/ttyUSB0"
                                    << false << QByteArray("1 /dev/ttyS0\n");
        QTest::newRow("blank in name") << QByteArray() << 1 << "/dev/my port" << false
                                       << QByteArray("<missing>");
        QTest::newRow("binary file left alone") << QByteArray("1 /dev/ttyS0\n\x01\x02\n", 16) << 1
                                                << "/dev/ttyUSB0" << false
                                                << QByteArray("1 /dev/ttyS0\n\x01\x02\n", 16);
    }
    void mapComPort()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, number);
        QFETCH(QString, device);
        QFETCH(bool, ok);
        QFETCH(QByteArray, after);
        QFile::remove(path("ComPorts.cfg"));
        if (!before.isEmpty())
            write("ComPorts.cfg", before);
        QCOMPARE(MapComPort(number, device), ok);
        QCOMPARE(read("ComPorts.cfg"), after);
        if (ok)
            QCOMPARE(ComPortDevice(number), device);
    }

    // Who holds a port, and what kind of failure an opening had.
    void openFacts()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyHELD"));
        QVERIFY(peer.start());
        write("ComPorts.cfg", "6 " + QFile::encodeName(peer.linkPath()) + "\n");

        // Another program holds the port: it is named with its process number.
        QProcess holder;
        holder.setStandardInputFile(peer.linkPath());
        holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(holder.waitForStarted());
        const QString pid = QString::number(holder.processId());
        SerialOpenFacts busy;
        QTRY_VERIFY((busy = ExplainSerialOpen(peer.linkPath(), -7, QString()))
                        .holders.contains(pid + " (sleep)"));
        QCOMPARE(busy.kind, SerialOpenFacts::Busy);
        holder.kill();
        QVERIFY(holder.waitForFinished());
        QVERIFY(!DeviceHolders(peer.linkPath()).join(' ').contains(pid + " ("));

        QCOMPARE(ExplainSerialOpen(path("ttyGONE"), -6, QString()).kind, SerialOpenFacts::Missing);
        write("plain", "x");
        QCOMPARE(ExplainSerialOpen(path("plain"), -7, QString()).kind, SerialOpenFacts::NotSerial);
        QCOMPARE(ExplainSerialOpen(peer.linkPath(), 0, QString()).kind, SerialOpenFacts::None);

        // InitRS232 keeps the facts of its last failure and forgets them after a good opening.
        comprotocol = 0;
        comport = 6;
        QVERIFY(InitRS232() == 0);
        QCOMPARE(LastSerialOpenFacts().kind, SerialOpenFacts::None);
        write("ComPorts.cfg", "6 " + QFile::encodeName(path("plain")) + "\n");
        QCOMPARE(InitRS232(), -7);
        QCOMPARE(LastSerialOpenFacts().kind, SerialOpenFacts::NotSerial);
        QCOMPARE(LastSerialOpenFacts().device, path("plain"));
        CloseCom();
    }
};

QTEST_MAIN(TestSerialPorts)
#include "tst_serialports.moc"
