// Conversations with the simulated sensor over a real pseudo-terminal: through QSerialPort, as
// the program opens its serial link (19200 8N1, no flow control), and through plain POSIX calls.
#include "sim/simthread.h"
#include "simclient.h"

#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace tintra;
using namespace tintra::sim;
using tintra::test::Frame;
using tintra::test::Word;

namespace {

// Reads from a serial port until `count` bytes or `timeoutMs`; returns what came.
QByteArray readPort(QSerialPort &port, int count, int timeoutMs = 2000)
{
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < count && t.elapsed() < timeoutMs) {
        if (port.bytesAvailable() == 0)
            port.waitForReadyRead(int(std::max<qint64>(1, timeoutMs - t.elapsed())));
        got += port.readAll();
    }
    return got;
}

// Reads from a raw file descriptor until `count` bytes or `timeoutMs`.
QByteArray readFd(int fd, int count, int timeoutMs = 2000)
{
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < count && t.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(std::max<qint64>(1, timeoutMs - t.elapsed()))) <= 0)
            continue;
        char buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0)
            got.append(buf, n);
    }
    return got;
}

} // namespace

class TestSimPty : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    SimThread sim;
    QString link;

    bool openPort(QSerialPort &port)
    {
        port.setPortName(link);
        if (!port.open(QIODevice::ReadWrite))
            return false;
        return port.setBaudRate(QSerialPort::Baud19200) && port.setDataBits(QSerialPort::Data8) &&
               port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop) &&
               port.setFlowControl(QSerialPort::NoFlowControl);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        link = dir.filePath(QStringLiteral("ttySIM"));
        SimThread::Options o;
        o.tcp = false;
        o.ptyLink = link;
        QVERIFY2(sim.start(o), qPrintable(sim.errorString()));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo(link).symLinkTarget().startsWith(QStringLiteral("/dev/pts/")));
    }

    void init()
    {
        sim.reset();
        sim.setNoise(0);
    }

    void serialPortConversation()
    {
        QSerialPort port;
        QVERIFY2(openPort(port), qPrintable(port.errorString()));
        port.clear();
        port.write(Frame(OrderIdent));
        QCOMPARE(readPort(port, frameBytes),
                 QByteArray("SIMULATED COLOUR SENSOR") + QByteArray(13, '\0'));

        // Every byte value passes unchanged (no line editing, no CR/LF translation, no echo).
        const QByteArray para = Frame(OrderSendPara, {0x0D0A, 0x1A03, 0x7F11, 0x1300, 0xFF0D,
                                                      0x0A0A, 0x0404, 0x1C1C, 0x1515, 0x0304, 0,
                                                      0x8000, 0xFFFF, 0x0011, 0x0013, 0x0A0D});
        port.write(para);
        const QByteArray echo = readPort(port, frameBytes);
        QCOMPARE(echo.left(2), QByteArray::fromHex("00AA"));
        QCOMPARE(echo.mid(2), para.mid(2));
        QCOMPARE(sim.ramImage()[0], 0x0D0A);
        QCOMPARE(sim.ramImage()[12], 0xFFFF);

        port.write(Frame(OrderData));
        const QByteArray data = readPort(port, frameBytes);
        QCOMPARE(Word(data, 0), answerHeader);
        QCOMPARE(Word(data, 1), 5);
        QCOMPARE(readPort(port, 1, 100), QByteArray());
    }

    void frameInTwoPiecesOverTheLine()
    {
        QSerialPort port;
        QVERIFY(openPort(port));
        const QByteArray f = Frame(OrderGetRow, {2});
        port.write(f.left(10));
        port.waitForBytesWritten(500);
        QCOMPARE(readPort(port, 1, 80), QByteArray());
        port.write(f.mid(10));
        QCOMPARE(Word(readPort(port, frameBytes), 2), 2);
    }

    void reopenedPortIsServedAgain()
    {
        for (int round = 0; round < 2; ++round) {
            QSerialPort port;
            QVERIFY(openPort(port));
            port.write(Frame(OrderGetCF));
            QCOMPARE(Word(readPort(port, frameBytes), 1), 31);
            port.close();
        }
    }

    void automaticSendingOverTheLine()
    {
        QSerialPort port;
        QVERIFY(openPort(port));
        port.write(Frame(OrderAutoSend, {1}));
        const QByteArray got = readPort(port, 3 * frameBytes, 1500);
        QCOMPARE(got.size(), 3 * frameBytes);
        QCOMPARE(Word(got.mid(2 * frameBytes), 1), 5);
        port.write(Frame(OrderAutoSend, {0}));
        port.waitForBytesWritten(500);
        QTRY_VERIFY(!sim.autoSending());
        QTest::qWait(150);
        port.clear(QSerialPort::Input);
        readPort(port, 1, 20);
        QCOMPARE(readPort(port, 1, 300), QByteArray());
    }

    void shortAnswerFault()
    {
        sim.addFault(*Fault::parse("short:5"));
        QSerialPort port;
        QVERIFY(openPort(port));
        port.write(Frame(OrderData));
        QCOMPARE(readPort(port, frameBytes, 300).size(), 35);
    }

    void posixRawTerminal()
    {
        const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        termios t{};
        QCOMPARE(tcgetattr(fd, &t), 0);
        cfmakeraw(&t);
        cfsetispeed(&t, B19200);
        cfsetospeed(&t, B19200);
        QCOMPARE(tcsetattr(fd, TCSANOW, &t), 0);
        tcflush(fd, TCIOFLUSH);
        const QByteArray f = Frame(OrderGetRow, {4});
        QCOMPARE(::write(fd, f.constData(), 20), 20);
        QCOMPARE(::write(fd, f.constData() + 20, 16), 16);
        const QByteArray a = readFd(fd, frameBytes);
        ::close(fd);
        QCOMPARE(a.size(), frameBytes);
        QCOMPARE(Word(a, 1), 4);
        QCOMPARE(Word(a, 2), 4);
        QCOMPARE(Word(a, 3), sim.ramImage()[16 + 28]);
    }

    void staleLinkIsReplacedOtherFilesKept()
    {
        const QString stale = dir.filePath(QStringLiteral("stale"));
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/tty"), stale));
        SimThread second;
        SimThread::Options o;
        o.tcp = false;
        o.ptyLink = stale;
        QVERIFY2(second.start(o), qPrintable(second.errorString()));
        QVERIFY(QFileInfo(stale).symLinkTarget().startsWith(QStringLiteral("/dev/pts/")));
        second.stop();
        QVERIFY(!QFileInfo::exists(stale) && !QFileInfo(stale).isSymLink()); // removed at stop

        const QString plain = dir.filePath(QStringLiteral("plain"));
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();
        o.ptyLink = plain;
        QVERIFY(!second.start(o));
        QVERIFY(second.errorString().contains(plain));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
    }
};

QTEST_GUILESS_MAIN(TestSimPty)
#include "tst_simpty.moc"
