// The TCP link against a scripted server in its own thread: connecting and its failures, frames on
// the wire, answers that come whole, split, late, short or with a surplus, a server that closes,
// the line check, and that waiting costs neither time nor processor.
#include "common/linkrecorder.h"
#include "common/threadcpu.h"
#include "common/popupscript.h"
#include "common/scriptedpeer.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QTcpServer>
#include <QThread>
#include <QtTest>
#include <cstring>

using namespace tintra;
using tintra::test::LinkRecorder;
using tintra::test::PeerReply;
using tintra::test::PopupScript;
using tintra::test::ScriptedPeer;
using tintra::test::BuildFrame;
using tintra::test::Numbered;

namespace {

QByteArray Sent() { return QByteArray(reinterpret_cast<const char *>(szWriteBuf), frameBytes); }
QByteArray Received() { return QByteArray(reinterpret_cast<const char *>(szReadBuf), frameBytes); }

void Target(const ScriptedPeer &peer)
{
    comprotocol = 1;
    std::strcpy(ipBuf, "127.0.0.1");
    portNum = peer.port();
}

} // namespace

class TestTransportTcp : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        DisconnectTCP();
        poll = 0;
        comecho = 0;
        bytesToRead = 0;
    }
    void cleanup() { DisconnectTCP(); }

    void exchangeWritesOneFrameAndCollectsTheAnswer()
    {
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        LinkRecorder rec;
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        QCOMPARE(ret, int16_t(0));
        QCOMPARE(tcpcon, uint16_t(1));
        QVERIFY(g_hconversation != 0);
        QCOMPARE(rec.busyOn, 1);
        QCOMPARE(rec.busyOff, 1);
        QVERIFY(rec.statuses.isEmpty());

        const QByteArray reply = Numbered('a');
        peer.push(reply);
        BuildFrame(1);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), reply);
        QCOMPARE(peer.frames(), QList<QByteArray>{Sent()});
        QCOMPARE(QByteArray(peer.frames().first().left(4)), QByteArray("\x00\x55\x00\x05", 4));
    }

    void answerShapes_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<QList<int>>("cuts");
        QTest::addColumn<int>("gapMs");
        QList<int> everyByte;
        for (int i = 1; i < frameBytes; ++i)
            everyByte << i;
        QTest::addRow("whole") << 0 << QList<int>{} << 0;
        QTest::addRow("late but in time") << 400 << QList<int>{} << 0;
        QTest::addRow("three pieces") << 0 << QList<int>{1, 20} << 30;
        QTest::addRow("header alone, then the rest") << 0 << QList<int>{2} << 100;
        QTest::addRow("byte by byte") << 0 << everyByte << 2;
    }
    void answerShapes()
    {
        QFETCH(int, delayMs);
        QFETCH(QList<int>, cuts);
        QFETCH(int, gapMs);
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        LinkRecorder rec;
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        const QByteArray reply = Numbered('A');
        peer.push(PeerReply{reply, delayMs, cuts, gapMs, false});
        BuildFrame(2);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), reply);
    }

    // Bytes behind a complete answer belong to nobody: whether they come with the answer, or
    // later while events run, or later while nothing runs, the next exchange gets its own answer.
    void surplusIsNotTakenForTheNextAnswer_data()
    {
        QTest::addColumn<int>("extraDelayMs");
        QTest::addColumn<bool>("processEvents");
        QTest::addRow("with the answer") << 0 << true;
        QTest::addRow("later, events running") << 50 << true;
        QTest::addRow("later, nothing running") << 50 << false;
    }
    void surplusIsNotTakenForTheNextAnswer()
    {
        QFETCH(int, extraDelayMs);
        QFETCH(bool, processEvents);
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        const QByteArray first = Numbered('a');
        const QByteArray second = Numbered('K');
        const QByteArray extra(20, 'Z');
        if (extraDelayMs == 0) {
            peer.push(first + extra);
        } else {
            peer.push(PeerReply{first + extra, 0, {frameBytes}, extraDelayMs, false});
        }
        peer.push(second, 30);
        BuildFrame(3);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), first);
        if (processEvents)
            Sleep(extraDelayMs + 100);
        else
            QThread::msleep(unsigned(extraDelayMs + 100));
        QCOMPARE(bytesToRead, 0); // the late bytes did not reopen the answer
        BuildFrame(4);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), second);
    }

    // A late answer after a failed wait is not used for the following exchange.
    void lateAnswerAfterTimeoutIsNotUsedLater()
    {
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        const QByteArray late = Numbered('a');
        const QByteArray next = Numbered('M');
        peer.push(late, 300);
        peer.push(next);
        BuildFrame(5);
        WriteFrame();
        QCOMPARE(WaitForAnswer(0.1), frameBytes);
        QThread::msleep(400); // the late answer arrives while nothing runs
        BuildFrame(6);
        QCOMPARE(GetDataFrame(), 0);
        QCOMPARE(Received(), next);
        QCOMPARE(peer.frames().size(), 2);
    }

    // 35 bytes: the wait uses its whole limit, sleeping, and reports one byte missing.
    void shortAnswerWaitsTheFullLimitWithoutSpinning()
    {
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        peer.push(Numbered('a').left(35));
        BuildFrame(7);
        const double t0 = Timer();
        const double c0 = test::ThreadCpuSeconds();
        QCOMPARE(GetDataFrame(), 1);
        const double cpu = (test::ThreadCpuSeconds() - c0);
        const double elapsed = Timer() - t0;
        // The reply time-out is 3.0 s.
        QVERIFY2(elapsed >= 3.0 && elapsed < 3.5,
                 qPrintable(QString::number(elapsed)));
        QVERIFY2(cpu < 0.3, qPrintable(QStringLiteral("CPU %1 s").arg(cpu)));
        QCOMPARE(tcpcon, uint16_t(1));
    }

    void serverClosingEndsTheWait_data()
    {
        QTest::addColumn<bool>("answerFirst");
        QTest::addRow("before answering") << false;
        QTest::addRow("right after answering") << true;
    }
    void serverClosingEndsTheWait()
    {
        QFETCH(bool, answerFirst);
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        PopupScript popups;
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        const QByteArray reply = Numbered('c');
        PeerReply r;
        if (answerFirst)
            r.bytes = reply;
        r.delayMs = 50;
        r.closeAfter = true;
        peer.push(r);
        BuildFrame(8);
        const double t0 = Timer();
        const int result = GetDataFrame();
        if (answerFirst) {
            QCOMPARE(result, 0);
            QCOMPARE(Received(), reply);
            QTRY_COMPARE_WITH_TIMEOUT(tcpcon, uint16_t(0), 2000);
        } else {
            QCOMPARE(result, frameBytes);
            QVERIFY(Timer() - t0 < 1.0);
        }
        QCOMPARE(tcpcon, uint16_t(0));
        QCOMPARE(g_hconversation, 0);
        QCOMPARE(popups.messages().size(), 1);
        QCOMPARE(popups.messages().first().title, QStringLiteral("TCP Client"));
        QCOMPARE(popups.messages().first().text, QStringLiteral("Server has closed connection!"));

        // Nothing can come any more: the next exchange fails at once, without another message.
        const double t1 = Timer();
        QCOMPARE(GetDataFrame(), frameBytes);
        QVERIFY(Timer() - t1 < 0.5);
        QCOMPARE(popups.messages().size(), 1);
    }

    void ownDisconnectAndReconnectAreSilent()
    {
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        PopupScript popups;
        peer.setFallback(ScriptedPeer::Echo);
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        const int first = g_hconversation;
        QCOMPARE(InitTCP_IP(), 0); // closes the open connection first
        QVERIFY(g_hconversation != first);
        // A late notification of the old conversation changes nothing.
        ClientTCPCB(unsigned(first), TCP_DISCONNECT, 0, nullptr);
        QCOMPARE(tcpcon, uint16_t(1));
        QVERIFY(g_hconversation != 0);
        QTRY_COMPARE(peer.connections(), 2);
        BuildFrame(9);
        QCOMPARE(GetDataFrame(), 0);
        DisconnectTCP();
        QCOMPARE(tcpcon, uint16_t(0));
        Sleep(100);
        QVERIFY(popups.shown.isEmpty());
    }

    void openingFailures_data()
    {
        QTest::addColumn<QByteArray>("host");
        QTest::addColumn<int>("port"); // -1: a port nobody listens on
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addRow("refused") << QByteArray("127.0.0.1") << -1 << -2
                                 << "UnableToEstablishConnection";
        QTest::addRow("port 0") << QByteArray("127.0.0.1") << 0 << -9 << "InvalidParameter";
        QTest::addRow("port too large") << QByteArray("127.0.0.1") << 70000 << -9
                                        << "InvalidParameter";
        QTest::addRow("no server name") << QByteArray("  ") << 80 << -9 << "InvalidParameter";
    }
    void openingFailures()
    {
        QFETCH(QByteArray, host);
        QFETCH(int, port);
        QFETCH(int, code);
        QFETCH(QString, text);
        if (port == -1) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        } // closed again: nobody listens there now
        LinkRecorder rec;
        comprotocol = 1;
        std::strcpy(ipBuf, host.constData());
        portNum = port;
        tcpcon = 1; // a stale flag must not survive a failed opening
        QCOMPARE(InitTCP_IP(), code);
        QCOMPARE(int(ret), code);
        QCOMPARE(tcpcon, uint16_t(0));
        QCOMPARE(g_hconversation, 0);
        QCOMPARE(rec.statuses, QStringList{text});
        QCOMPARE(QString::fromLatin1(szStatus), text);
        // With no connection every exchange fails at once.
        BuildFrame(10);
        QCOMPARE(GetDataFrame(), frameBytes);
    }

    // Answer bookkeeping that would point past the receive buffer is not followed: the bytes are
    // discarded and the buffer stays as it was.
    void bookkeepingOutsideTheBufferIsRefused_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("missing");
        QTest::addRow("larger than the buffer") << 5000 << 5000;
        QTest::addRow("more missing than expected") << 36 << 100;
    }
    void bookkeepingOutsideTheBufferIsRefused()
    {
        QFETCH(int, size);
        QFETCH(int, missing);
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        std::memset(szReadBuf, 0x11, bufSize);
        dataSize = size;
        bytesToRead = missing;
        peer.send(QByteArray(2000, 'B'));
        Sleep(200);
        QCOMPARE(bytesToRead, missing);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(szReadBuf), bufSize),
                 QByteArray(bufSize, 0x11));
        bytesToRead = 0;
    }

    void stopAutoSendWritesOrder50AndWaitsForNothing()
    {
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        for (int i = 0; i < frameBytes; ++i)
            szWriteBuf[i] = 0xEE;
        const double t0 = Timer();
        StopAutoSend();
        QVERIFY(Timer() - t0 < 0.5);
        QCOMPARE(bytesToRead, 0);
        QVERIFY(peer.waitFrames(1));
        const QByteArray f = peer.frames().first();
        QCOMPARE(f.left(6), QByteArray("\x00\x55\x00\x32\x00\x00", 6));
        QCOMPARE(f.mid(6), QByteArray(30, char(0xEE))); // the rest is left as it was
        QCOMPARE(order, uint16_t(OrderAutoSend));
        // Frames the sensor still sends are read and thrown away.
        peer.send(Numbered('x') + Numbered('y'));
        Sleep(100);
        QCOMPARE(bytesToRead, 0);
    }

    void lineCheckShowsTheIdentification_data()
    {
        QTest::addColumn<QByteArray>("ident");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("paraResult");
        QTest::addRow("four letters, 32 zero bytes")
            << QByteArray("TINT").leftJustified(36, '\0') << "TINT" << 1;
        QTest::addRow("36 letters") << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")
                                    << "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789" << 1;
        QTest::addRow("unprintable bytes")
            << QByteArray("ID\x01\x1b[2J\x7f\xe9").leftJustified(36, '\0')
            << QString::fromLatin1("ID??[2J?\xe9") << 1;
        QTest::addRow("parameter read fails") << QByteArray("V1").leftJustified(36, '\0')
                                              << "V1" << 0;
    }
    void lineCheckShowsTheIdentification()
    {
        QFETCH(QByteArray, ident);
        QFETCH(QString, shown);
        QFETCH(int, paraResult);
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        LinkRecorder rec;
        rec.paraResult = paraResult;
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        std::memset(version, 0x55, sizeof version);
        peer.pushSilence();      // order 50: no answer
        peer.push(ident); // order 7
        const double t0 = Timer();
        CheckComLine();
        QVERIFY2(Timer() - t0 >= 0.1, qPrintable(QString::number(Timer() - t0))); // pause first
        const QList<QByteArray> frames = peer.frames();
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].left(6), QByteArray("\x00\x55\x00\x32\x00\x00", 6));
        QCOMPARE(frames[1].left(4), QByteArray("\x00\x55\x00\x07", 4));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(version), 36), ident);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(version) + 36, 4), QByteArray(4, '\0'));
        QCOMPARE(VersionText(), shown);
        QCOMPARE(rec.statuses, QStringList{shown});
        QCOMPARE(rec.paraReads, 1);
        QCOMPARE(rec.undims, paraResult);
        QCOMPARE(rec.connectionPages, 0);
    }

    void lineCheckFailureEndsInTimeout()
    {
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        PopupScript popups;
        LinkRecorder rec;
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        poll = 1;
        comecho = 1;
        peer.pushSilence();
        PeerReply close;
        close.closeAfter = true;
        peer.push(close); // the server goes away instead of identifying itself
        CheckComLine();
        QCOMPARE(rec.statuses, QStringList{QStringLiteral("TIMEOUT")});
        QCOMPARE(rec.connectionPages, 1);
        QCOMPARE(rec.paraReads, 0);
        QCOMPARE(rec.undims, 0);
        QCOMPARE(poll, uint16_t(0));
        QCOMPARE(comecho, uint16_t(0));
        QCOMPARE(popups.messages().size(), 1);
    }

    // One exchange costs about one round trip: no fixed sleeps, no small-packet delays.
    void exchangesTakeOneRoundTrip()
    {
        ScriptedPeer peer(ScriptedPeer::Tcp);
        QVERIFY(peer.start());
        peer.setFallback(ScriptedPeer::Echo);
        Target(peer);
        QCOMPARE(InitTCP_IP(), 0);
        const int n = 200;
        const double t0 = Timer();
        for (int i = 0; i < n; ++i) {
            BuildFrame(uint16_t(i));
            QCOMPARE(GetDataFrame(), 0);
            QCOMPARE(Received().mid(2), Sent().mid(2));
        }
        const double each = (Timer() - t0) / n;
        qInfo("%.3f ms per exchange", each * 1e3);
        QVERIFY2(each < 0.005, qPrintable(QStringLiteral("%1 ms per exchange").arg(each * 1e3)));
    }
};

QTEST_GUILESS_MAIN(TestTransportTcp)
#include "tst_transport.moc"
