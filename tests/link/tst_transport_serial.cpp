// The serial link against a scripted peer on a pseudo-terminal, the COM port names from
// "ComPorts.cfg", the status text tables, the time-out reaction and the recorder's interval wait.
#include "common/linkrecorder.h"
#include "common/threadcpu.h"
#include "common/popupscript.h"
#include "common/scriptedpeer.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <cstring>

using namespace tintra;
using tintra::test::LinkRecorder;
using tintra::test::PeerReply;
using tintra::test::ScriptedPeer;
using tintra::test::BuildFrame;
using tintra::test::Numbered;

namespace {

QByteArray Sent() { return QByteArray(reinterpret_cast<const char *>(szWriteBuf), frameBytes); }
QByteArray Received(int n = frameBytes)
{
    return QByteArray(reinterpret_cast<const char *>(szReadBuf), n);
}

bool WriteText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

} // namespace

class TestTransportSerial : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    // A peer on a pseudo-terminal reachable as COM 7.
    bool openPeer(ScriptedPeer &peer)
    {
        if (!peer.start())
            return false;
        if (!WriteText(path("ComPorts.cfg"), "7 " + QFile::encodeName(peer.linkPath()) + "\n"))
            return false;
        comprotocol = 0;
        comport = 7;
        return InitRS232() == 0;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        SetComPortsCfgDir(dir.path());
    }
    void init()
    {
        CloseCom();
        QFile::remove(path("ComPorts.cfg"));
        comprotocol = 0;
        poll = 0;
        comecho = 0;
    }
    void cleanupTestCase()
    {
        CloseCom();
        SetComPortsCfgDir(QString());
    }

    void statusTexts_data()
    {
        QTest::addColumn<bool>("tcp");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        const char *serial[][2] = {{"-1", "Unknown system error"}, {"-2", "Invalid port number"},
                                   {"-3", "Port is not open"},     {"-4", "Unknown I/0 error"},
                                   {"-6", "No serial port found"}, {"-7", "Cannot open port"},
                                   {"-99", "Timeout"},             {"-5", "RS-232 error!"},
                                   {"-8", "RS-232 error!"},        {"-100", "RS-232 error!"},
                                   {"0", ""}};
        for (auto &row : serial)
            QTest::addRow("serial %s", row[0]) << false << QByteArray(row[0]).toInt()
                                               << QString::fromLatin1(row[1]);
        const char *tcp[] = {"UnableToRegisterService", "UnableToEstablishConnection",
                             "ExistingServer", "FailedToConnect", "ServerNotRegistered",
                             "TooManyConversations", "ReadFailed", "WriteFailed",
                             "InvalidParameter", "OutOfMemory", "TimeOutError ",
                             "NoConnectionEstablished ", "GeneralIOErr", "ConnectionClosed",
                             "UnableToLoadWinsockDLL", "IncorrectWinsockDLLVersion",
                             "NetworkSubsystemNotReady ", "ConnectionsStillOpen",
                             "DisconnectPending", "InfoNotAvailable"};
        for (int i = 0; i < 20; ++i)
            QTest::addRow("tcp %d", -1 - i) << true << -1 - i << QString::fromLatin1(tcp[i]);
        QTest::addRow("tcp -21") << true << -21 << "Connection to server failed";
        QTest::addRow("tcp -32768") << true << -32768 << "Connection to server failed";
        QTest::addRow("tcp 0") << true << 0 << "";
    }
    void statusTexts()
    {
        QFETCH(bool, tcp);
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(tcp ? TcpStatusText(code) : SerialStatusText(code), text);
    }

    void comPortNames_data()
    {
        QTest::addColumn<QByteArray>("cfg"); // "-": no file
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("device");
        QTest::addRow("no file") << QByteArray("-") << 1 << "/dev/ttyS0";
        QTest::addRow("no file, COM 12") << QByteArray("-") << 12 << "/dev/ttyS11";
        QTest::addRow("port 0") << QByteArray("-") << 0 << "";
        const QByteArray cfg = "# ports of this machine\n"
                               "\n"
                               "5   /dev/ttyUSB0\n"
                               "  6\t/dev/ttyACM1  \r\n"
                               "7\n"
                               "x /dev/ttyX\n"
                               "5 /dev/ttyUSB9\n"
                               "8 /dev/serial/by-id/my adapter\n";
        QTest::addRow("mapped") << cfg << 5 << "/dev/ttyUSB0";
        QTest::addRow("tab and CR LF") << cfg << 6 << "/dev/ttyACM1";
        QTest::addRow("line without device") << cfg << 7 << "/dev/ttyS6";
        QTest::addRow("not listed") << cfg << 2 << "/dev/ttyS1";
        QTest::addRow("blank in path") << cfg << 8 << "/dev/serial/by-id/my adapter";
        // A lone CR ends a line as well: no device name holds a line break.
        QTest::addRow("CR line ends") << QByteArray("# old editor\r3 /dev/ttyUSB3\r4 /dev/ttyUSB4\r") << 3 << "/dev/ttyUSB3";
        QTest::addRow("CR inside a line") << QByteArray("5 /dev/ttyUSB5\r9 x\n") << 5 << "/dev/ttyUSB5";
    }
    void comPortNames()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(int, port);
        QFETCH(QString, device);
        if (cfg != "-")
            QVERIFY(WriteText(path("ComPorts.cfg"), cfg));
        QCOMPARE(ComPortDevice(port), device);
    }

    void openingFailures_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addRow("port 0") << 0 << QByteArray() << -2 << "Invalid port number";
        QTest::addRow("port above 256") << 257 << QByteArray("257 /dev/ttyS0\n") << -2
                                        << "Invalid port number";
        QTest::addRow("no such device") << 9 << QByteArray("9 /dev/ttyNoSuchPort77\n") << -6
                                        << "No serial port found";
        QTest::addRow("not a serial device") << 9 << QByteArray("9 @DIR@/plain.txt\n") << -7
                                             << "Cannot open port";
        QTest::addRow("memory device") << 9 << QByteArray("9 /dev/zero\n") << -7
                                       << "Cannot open port";
        QTest::addRow("a directory") << 9 << QByteArray("9 @DIR@\n") << -7 << "Cannot open port";
    }
    void openingFailures()
    {
        QFETCH(int, port);
        QFETCH(QByteArray, cfg);
        QFETCH(int, code);
        QFETCH(QString, text);
        QVERIFY(WriteText(path("plain.txt"), "not a port"));
        cfg.replace("@DIR@", QFile::encodeName(dir.path()));
        QVERIFY(WriteText(path("ComPorts.cfg"), cfg));
        LinkRecorder rec;
        comport = uint16_t(port);
        poll = 1;
        QCOMPARE(InitRS232(), code);
        QCOMPARE(int(ret), code);
        QCOMPARE(poll, uint16_t(0));
        QCOMPARE(rec.statuses, QStringList{text});
        QCOMPARE(QString::fromLatin1(szStatus), text);
        // Nothing is open: an exchange fails at once and nothing is written anywhere.
        BuildFrame(1);
        const double t0 = Timer();
        QCOMPARE(GetDataFrame(), frameBytes);
        QVERIFY(Timer() - t0 < 0.5);
    }

    void exchange_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<QList<int>>("cuts");
        QTest::addColumn<int>("gapMs");
        QTest::addRow("whole") << 0 << QList<int>{} << 0;
        QTest::addRow("late but in time") << 300 << QList<int>{} << 0;
        QTest::addRow("in pieces") << 0 << QList<int>{1, 2, 18, 35} << 25;
    }
    void exchange()
    {
        QFETCH(int, delayMs);
        QFETCH(QList<int>, cuts);
        QFETCH(int, gapMs);
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        QCOMPARE(ComPortDevice(7), peer.linkPath());
        const QByteArray reply = Numbered('a');
        peer.push(PeerReply{reply, delayMs, cuts, gapMs, false});
        BuildFrame(2);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(dataSize, frameBytes);
        QCOMPARE(Received(), reply);
        QCOMPARE(peer.frames(), QList<QByteArray>{Sent()});
    }

    // Two frames already queued at the first look: the wait ends at once, takes all 72 bytes and
    // the exchange counts as failed.
    void surplusFailsAtOnce()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        const QByteArray a = Numbered('a');
        const QByteArray b = Numbered('A');
        peer.push(a + b);
        BuildFrame(3);
        const double t0 = Timer();
        QCOMPARE(GetDataFrame(), -36);
        QVERIFY(Timer() - t0 < 1.0);
        QCOMPARE(dataSize, 72);
        QCOMPARE(Received(72), a + b);
        // Everything was taken: the next exchange sees only its own answer.
        peer.push(Numbered('k'));
        BuildFrame(4);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), Numbered('k'));
    }

    // A flood larger than the receive buffer is read up to the buffer's end and dropped.
    void floodStaysInsideTheBuffer()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        peer.push(QByteArray(3000, 'F'));
        BuildFrame(5);
        QVERIFY(GetDataFrame() < 0);
        QVERIFY(dataSize >= 1024);
        QCOMPARE(Received(1024), QByteArray(1024, 'F'));
    }

    // A sensor that keeps sending while nobody asks: the program keeps about an input queue's
    // worth (1024 bytes, dropping the oldest in whole frames) instead of everything, and the next
    // exchange is clean.
    void unaskedFloodIsBounded()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        QSerialPort *port = QCoreApplication::instance()->findChild<QSerialPort *>();
        QVERIFY(port);
        // 2 MB in pieces, each taken in by the event loop before the next is sent.
        qint64 most = 0;
        const QByteArray piece = Numbered('u').repeated(56);
        for (int i = 0; i < 1000; ++i) {
            peer.send(piece);
            QCoreApplication::processEvents();
            most = std::max(most, port->bytesAvailable());
        }
        const QByteArray last = ScriptedPeer::answer("LAST");
        peer.send(last);
        QTRY_VERIFY(port->peek(2048).endsWith(last));
        QVERIFY2(most >= 1024 - 36 && most < 1024 + 36, qPrintable(QString::number(most)));
        QCOMPARE(port->bytesAvailable() % 36, 0); // whole frames dropped
        QVERIFY(port->peek(36) == Numbered('u') || port->peek(36) == last);
        peer.push(Numbered('k'));
        BuildFrame(11);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), Numbered('k'));
    }

    // Stale bytes, in the system's queue or already read by the program, are flushed before the
    // frame goes out.
    void staleBytesAreFlushed_data()
    {
        QTest::addColumn<bool>("processEvents");
        QTest::addRow("queued in the system") << false;
        QTest::addRow("already buffered") << true;
    }
    void staleBytesAreFlushed()
    {
        QFETCH(bool, processEvents);
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        peer.send(QByteArray(50, 'S'));
        if (processEvents)
            Sleep(50);
        else
            QThread::msleep(50);
        peer.push(Numbered('m'), 20);
        BuildFrame(6);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), Numbered('m'));
    }

    void shortAnswerFailsAtTheLimit()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        peer.push(Numbered('a').left(35));
        BuildFrame(7);
        FlushQueues();
        WriteFrame();
        const double t0 = Timer();
        const double c0 = test::ThreadCpuSeconds();
        QCOMPARE(WaitForAnswer(0.5), 1);
        const double cpu = (test::ThreadCpuSeconds() - c0);
        const double elapsed = Timer() - t0;
        QVERIFY2(elapsed >= 0.5 && elapsed < 1.0, qPrintable(QString::number(elapsed)));
        QVERIFY2(cpu < 0.1, qPrintable(QStringLiteral("CPU %1 s").arg(cpu)));
        QCOMPARE(Received(35), Numbered('a').left(35));
    }

    void lineCheckOverSerial()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        LinkRecorder rec;
        peer.pushSilence();
        peer.push(QByteArray("SERIAL SENSOR 42").leftJustified(36, '\0'));
        CheckComLine();
        const QList<QByteArray> frames = peer.frames();
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].left(6), QByteArray("\x00\x55\x00\x32\x00\x00", 6));
        QCOMPARE(frames[1].left(4), QByteArray("\x00\x55\x00\x07", 4));
        QCOMPARE(rec.statuses, QStringList{QStringLiteral("SERIAL SENSOR 42")});
        QCOMPARE(rec.paraReads, 1);
        QCOMPARE(rec.undims, 1);
    }

    void lineCheckWithoutAnswerTimesOut()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        LinkRecorder rec;
        poll = 1;
        comecho = 1;
        peer.pushSilence();
        peer.push(QByteArray(35, 'x'));
        const double t0 = Timer();
        CheckComLine();
        QVERIFY(Timer() - t0 >= 3.0 && Timer() - t0 < 3.5); // the reply time-out
        QCOMPARE(rec.statuses, QStringList{QStringLiteral("TIMEOUT")});
        QCOMPARE(rec.connectionPages, 1);
        QCOMPARE(rec.paraReads, 0);
        QCOMPARE(poll, uint16_t(0));
        QCOMPARE(comecho, uint16_t(0));
    }

    void reopeningClosesFirst()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        QCOMPARE(InitRS232(), 0); // the same port again: closed, then opened
        peer.setFallback(ScriptedPeer::Echo);
        BuildFrame(8);
        QCOMPARE(GetDataFrame(), 0);
        CloseCom();
        CloseCom(); // harmless when not open
        QCOMPARE(GetDataFrame(), frameBytes);
    }

    // Frames the sensor sent unasked (late answers, automatic sending) lie in the input queue when
    // GO asks for data: they are flushed, and what is read is the answer to the request.
    void dataRequestFlushesUnaskedFrames()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        auto *port = qApp->findChild<QSerialPort *>();
        QVERIFY(port);
        peer.send(Numbered('z') + Numbered('y'));
        QTRY_VERIFY(port->bytesAvailable() >= 72); // arrived and unread
        peer.push(Numbered('a'));
        BuildFrame(5);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), Numbered('a'));
    }

    // The device goes away during a wait: the wait ends early, the port is closed, and later
    // exchanges fail at once without busying the processor.
    void deviceGoneDuringAWait()
    {
        ScriptedPeer peer(ScriptedPeer::Pty, path("ttyPeer"));
        QVERIFY(openPeer(peer));
        BuildFrame(10);
        FlushQueues();
        WriteFrame();
        QTimer::singleShot(100, [&peer] { peer.hangUp(); });
        const double t0 = Timer();
        const double c0 = test::ThreadCpuSeconds();
        QCOMPARE(WaitForAnswer(), frameBytes);
        QVERIFY2(Timer() - t0 < 1.0, qPrintable(QString::number(Timer() - t0)));
        QVERIFY((test::ThreadCpuSeconds() - c0) < 0.3);
        const double t1 = Timer();
        QCOMPARE(GetDataFrame(), frameBytes);
        QVERIFY(Timer() - t1 < 0.5);
    }

    void timeoutReaction()
    {
        LinkRecorder rec;
        poll = 1;
        comecho = 1;
        SetPopupTimeout();
        QCOMPARE(poll, uint16_t(0));
        QCOMPARE(comecho, uint16_t(0));
        QCOMPARE(rec.statuses, QStringList{QStringLiteral("TIMEOUT")});
        QCOMPARE(rec.connectionPages, 1);
    }

    void noLinkChosen()
    {
        LinkRecorder rec;
        comprotocol = 2;
        BuildFrame(9);
        QCOMPARE(GetDataFrame(), frameBytes);
        CheckComLine();
        QCOMPARE(rec.lastStatus(), QStringLiteral("TIMEOUT"));
        QCOMPARE(rec.paraReads, 0);
    }

    void intervalWait_data()
    {
        QTest::addColumn<double>("startedAgo");
        QTest::addColumn<int>("stopAfterMs"); // -1: poll stays 1
        QTest::addColumn<double>("minWait");
        QTest::addColumn<double>("maxWait");
        QTest::addRow("rest of the interval") << 0.7 << -1 << 0.25 << 0.6;
        QTest::addRow("interval already over") << 1.5 << -1 << 0.0 << 0.1;
        QTest::addRow("stopped meanwhile") << 0.0 << 150 << 0.1 << 0.6;
    }
    void intervalWait()
    {
        QFETCH(double, startedAgo);
        QFETCH(int, stopAfterMs);
        QFETCH(double, minWait);
        QFETCH(double, maxWait);
        zeitint = 1;
        poll = 1;
        recstart = Timer() - startedAgo;
        if (stopAfterMs >= 0)
            QTimer::singleShot(stopAfterMs, [] { poll = 0; });
        const double t0 = Timer();
        SlowDown();
        const double waited = Timer() - t0;
        QVERIFY2(waited >= minWait && waited <= maxWait, qPrintable(QString::number(waited)));
    }
};

QTEST_GUILESS_MAIN(TestTransportSerial)
#include "tst_transport_serial.moc"
