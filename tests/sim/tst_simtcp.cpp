// Conversations with the simulated sensor over a real loopback TCP connection; the simulator
// runs in its own thread (SimThread) as the program's tests use it.
#include "sim/simthread.h"
#include "simclient.h"

#include <QtTest>

using namespace tintra;
using namespace tintra::sim;
using tintra::test::Frame;
using tintra::test::TcpPeer;
using tintra::test::Word;

class TestSimTcp : public QObject {
    Q_OBJECT

    SimThread sim;

private slots:
    void initTestCase() { QVERIFY2(sim.start(), qPrintable(sim.errorString())); }

    void init()
    {
        sim.reset();
        sim.setNoise(0);
    }

    void answersAndEchoes()
    {
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        QCOMPARE(peer.exchange(Frame(OrderIdent)),
                 QByteArray("SIMULATED COLOUR SENSOR") + QByteArray(13, '\0'));

        const QByteArray para = Frame(OrderSendPara, {600, 0, 2, 1, 5, 50, 4, 1, 0, 0, 0, 900,
                                                      2900, 0, 1, 2});
        QByteArray a = peer.exchange(para);
        QCOMPARE(a.left(2), QByteArray::fromHex("00AA"));
        QCOMPARE(a.mid(2), para.mid(2));

        a = peer.exchange(Frame(OrderGetPara));
        QCOMPARE(Word(a, 0), answerHeader);
        QCOMPARE(Word(a, 1), 3);
        QCOMPARE(a.mid(4), para.mid(4));

        a = peer.exchange(Frame(OrderGetRow, {2}));
        QCOMPARE(Word(a, 1), 4);
        QCOMPARE(Word(a, 2), 2);
        QCOMPARE(Word(a, 3), sim.ramImage()[16 + 14]);

        a = peer.exchange(Frame(OrderData));
        QCOMPARE(Word(a, 0), answerHeader);
        QCOMPARE(Word(a, 1), 5);

        // Silent orders: nothing comes back, and the next answer is not disturbed.
        peer.send(Frame(OrderAutoSend, {0}));
        peer.send(Frame(123));
        a = peer.exchange(Frame(OrderGetCF));
        QCOMPARE(Word(a, 1), 31);
        QCOMPARE(Word(a, 2), 1024);
        QCOMPARE(peer.readFor(50), QByteArray());

        // Every frame is recorded in arrival order.
        const QList<QByteArray> frames = sim.frames();
        QCOMPARE(frames.size(), 8);
        QCOMPARE(frames[1], para);
        QCOMPARE(Word(frames[5], 1), 50);
        QCOMPARE(Word(frames[6], 1), 123);
        sim.clearFrames();
        QVERIFY(sim.frames().isEmpty());
    }

    void ramRestoredFromEeprom()
    {
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        const Image eeprom = sim.eepromImage();
        // 1 then 8: what was sent to RAM is replaced by the EEPROM set.
        peer.exchange(Frame(OrderSendPara, {999, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
        peer.exchange(Frame(OrderSendRow, {4, 9, 9, 9, 9, 9, 9, 9}));
        QCOMPARE(sim.ramImage()[0], 999);
        QCOMPARE(Word(peer.exchange(Frame(OrderLoadEeprom)), 1), 8);
        QVERIFY(sim.ramImage() == eeprom);
        QCOMPARE(Word(peer.exchange(Frame(OrderGetPara)), 2), eeprom[0]);

        // 1, 6, change, 8: the stored set comes back.
        peer.exchange(Frame(OrderSendPara, {777}));
        QCOMPARE(Word(peer.exchange(Frame(OrderStoreEeprom)), 1), 6);
        peer.exchange(Frame(OrderSendPara, {111}));
        QCOMPARE(Word(peer.exchange(Frame(OrderGetPara)), 2), 111);
        peer.exchange(Frame(OrderLoadEeprom));
        QCOMPARE(Word(peer.exchange(Frame(OrderGetPara)), 2), 777);
        QCOMPARE(sim.eepromImage()[0], 777);
    }

    void calibrationReachesTheDataFrame()
    {
        sim.setColour({2000, 2000, 2000});
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        peer.exchange(Frame(OrderSendCF, {512, 1024, 1536}));
        const auto cf = sim.calibrationFactors();
        QCOMPARE(cf[0], 512);
        QCOMPARE(cf[2], 1536);
        const QByteArray a = peer.exchange(Frame(OrderData));
        QCOMPARE(Word(a, 2), 1000);
        QCOMPARE(Word(a, 3), 2000);
        QCOMPARE(Word(a, 4), 3000);
        QCOMPARE(Word(a, 9), 2000);
    }

    void framesAreAssembledFromPieces()
    {
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        const QByteArray f = Frame(OrderGetRow, {1});
        peer.send(f.left(7));
        QCOMPARE(peer.readFor(60), QByteArray()); // nothing until the frame is whole
        peer.send(f.mid(7));
        QCOMPARE(Word(peer.read(frameBytes), 2), 1);

        // Two frames in one write, then noise before a frame.
        peer.send(Frame(OrderGetRow, {3}) + Frame(OrderGetRow, {4}));
        QCOMPARE(Word(peer.read(frameBytes), 2), 3);
        QCOMPARE(Word(peer.read(frameBytes), 2), 4);
        peer.send(QByteArray::fromHex("FFAA12") + Frame(OrderGetRow, {5}));
        QCOMPARE(Word(peer.read(frameBytes), 2), 5);
        QCOMPARE(peer.readFor(30), QByteArray());
    }

    void abandonedPieceIsDropped()
    {
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        peer.send(Frame(OrderGetRow, {9}).left(20));
        QTest::qWait(SensorSim::staleInputMs + 100);
        QCOMPARE(Word(peer.exchange(Frame(OrderGetRow, {6})), 2), 6);
        QCOMPARE(sim.frames().size(), 1);
    }

    void oneClientAtATime()
    {
        auto first = std::make_unique<TcpPeer>();
        QVERIFY(first->connectTo(sim.port()));
        QCOMPARE(Word(first->exchange(Frame(OrderGetRow, {1})), 2), 1);

        TcpPeer second;
        QVERIFY(second.connectTo(sim.port())); // queued by the server
        second.send(Frame(OrderGetRow, {2}));
        QCOMPARE(second.readFor(100), QByteArray());
        QCOMPARE(Word(first->exchange(Frame(OrderGetRow, {3})), 2), 3);

        first->socket.disconnectFromHost();
        first.reset();
        // The waiting client is taken on and its frame answered.
        QCOMPARE(Word(second.read(frameBytes), 2), 2);
        QCOMPARE(Word(second.exchange(Frame(OrderGetRow, {4})), 2), 4);
    }

    void automaticSending()
    {
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        peer.send(Frame(OrderAutoSend, {1}));
        QByteArray got = peer.readFor(560);
        QCOMPARE(got.size() % frameBytes, 0);
        const int n = int(got.size() / frameBytes);
        QVERIFY2(n >= 3 && n <= 7, qPrintable(QString::number(n)));
        for (int i = 0; i < n; ++i) {
            const QByteArray f = got.mid(i * frameBytes, frameBytes);
            QCOMPARE(Word(f, 0), answerHeader);
            QCOMPARE(Word(f, 1), 5);
        }
        QVERIFY(sim.autoSending());

        peer.send(Frame(OrderAutoSend, {0}));
        QTest::qWait(50);
        peer.readFor(10);
        QCOMPARE(peer.readFor(300), QByteArray());
        QVERIFY(!sim.autoSending());
    }

    void automaticSendingEndsWithTheClient()
    {
        {
            TcpPeer peer;
            QVERIFY(peer.connectTo(sim.port()));
            peer.send(Frame(OrderAutoSend, {1}));
            QVERIFY(peer.read(frameBytes).size() == frameBytes);
        }
        QTRY_VERIFY(!sim.autoSending());
        TcpPeer next;
        QVERIFY(next.connectTo(sim.port()));
        QCOMPARE(next.readFor(250), QByteArray());
    }

    void triggeredSending()
    {
        sim.setAutoSendMode(AutoSendMode::Trigger);
        sim.setColour({1000, 1000, 1000}); // fixed scene: no trigger of its own
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        peer.send(Frame(OrderAutoSend, {1}));
        QCOMPARE(peer.readFor(250), QByteArray());
        sim.fireTrigger();
        const QByteArray f = peer.read(frameBytes);
        QCOMPARE(f.size(), frameBytes);
        QCOMPARE(Word(f, 14), 1);

        // In the cycle scene every colour change is a trigger.
        sim.setScene(Scene::Cycle);
        sim.sim().withModel([](SensorModel &m) { m.cyclePeriodMs = 200; });
        const QByteArray got = peer.readFor(700);
        QVERIFY2(got.size() >= 2 * frameBytes && got.size() <= 4 * frameBytes,
                 qPrintable(QString::number(got.size())));
        QCOMPARE(Word(got, 14), 1);
    }

    void faults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("expected"); // answer to order 4, row 2, as received
        const QByteArray good = Frame(OrderGetRow, {2});
        SensorModel m;
        QByteArray answer = m.handleFrame(
            reinterpret_cast<const unsigned char *>(good.constData()), 0);
        QTest::newRow("none") << QString() << answer;
        QTest::newRow("no answer") << "noanswer:4" << QByteArray();
        QTest::newRow("short") << "short:4" << answer.left(35);
        QTest::newRow("extra") << "extra:4::5" << answer + QByteArray(5, char(0xEE));
        QByteArray wrong = answer;
        wrong[1] = char(0xAB);
        QTest::newRow("wrong echo") << "wrongecho:4" << wrong;
        wrong = answer;
        wrong[5] = char(~wrong[5]);
        QTest::newRow("byte flipped") << "wrongecho:4::5" << wrong;
        QTest::newRow("split") << "split:4::3" << answer;
        QTest::newRow("garbage") << "garbage:4::4" << QByteArray("\x00\xAA\xC5\xC5", 4) + answer;
        QTest::newRow("trail") << "trail:4::3" << answer + QByteArray(3, char(0xEE)); // 200 ms on
        QTest::newRow("other order") << "noanswer:5" << answer;
        QTest::newRow("later frame") << "noanswer:*:2" << answer;
    }
    void faults()
    {
        QFETCH(QString, fault);
        QFETCH(QByteArray, expected);
        if (!fault.isEmpty())
            sim.addFault(*Fault::parse(fault));
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        peer.send(Frame(OrderGetRow, {2}));
        QCOMPARE(peer.read(std::max<int>(1, int(expected.size())), expected.isEmpty() ? 200 : 2000),
                 expected);
        QCOMPARE(peer.readFor(50), QByteArray()); // and nothing more
        QCOMPARE(peer.socket.state(), QAbstractSocket::ConnectedState);
    }

    void splitAnswerComesInPieces()
    {
        sim.addFault(*Fault::parse("split:5::3"));
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        QElapsedTimer t;
        t.start();
        peer.send(Frame(OrderData));
        QByteArray got;
        int reads = 0;
        while (got.size() < frameBytes && t.elapsed() < 2000) {
            if (peer.socket.waitForReadyRead(500)) {
                got += peer.socket.readAll();
                ++reads;
            }
        }
        QCOMPARE(got.size(), frameBytes);
        QCOMPARE(Word(got, 1), 5);
        QVERIFY(reads >= 2);
        QVERIFY(t.elapsed() >= 2 * SensorSim::splitPauseMs - 5);
    }

    void delayedAnswer()
    {
        sim.addFault(*Fault::parse("delay:3::300"));
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        QElapsedTimer t;
        t.start();
        peer.send(Frame(OrderGetPara));
        peer.send(Frame(OrderGetRow, {1})); // not affected, but waits behind the late answer
        QCOMPARE(peer.readFor(200), QByteArray());
        QCOMPARE(Word(peer.read(frameBytes), 1), 3);
        QVERIFY(t.elapsed() >= 290);
        QCOMPARE(Word(peer.read(frameBytes), 1), 4);
    }

    void resetDropsWhatIsStillOnItsWay()
    {
        sim.addFault(*Fault::parse("delay:3::300"));
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        // One write, so the piece is in the simulator by the time the first frame is.
        peer.send(Frame(OrderGetPara) + Frame(OrderGetRow, {1}).left(10));
        QTRY_COMPARE(sim.frames().size(), 1);
        sim.reset();
        QCOMPARE(peer.readFor(450), QByteArray()); // the late answer was dropped
        peer.send(Frame(OrderGetRow, {2}));        // and the piece was forgotten
        QCOMPARE(Word(peer.read(frameBytes), 2), 2);
    }

    // merge: the answer and two data frames leave in one write (one read on loopback).
    void mergeFaultOneWrite()
    {
        sim.addFault(*Fault::parse("merge:4::2"));
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        peer.send(Frame(OrderGetRow, {2}));
        QVERIFY(peer.socket.waitForReadyRead(2000));
        const QByteArray got = peer.socket.readAll();
        QCOMPARE(got.size(), 3 * frameBytes);
        QCOMPARE(QList<int>({Word(got, 1), Word(got, 2), Word(got.mid(36), 1), Word(got.mid(72), 1)}),
                 QList<int>({4, 2, 5, 5}));
        QCOMPARE(peer.readFor(50), QByteArray());
    }

    void closeFault()
    {
        sim.addFault(*Fault::parse("close:5"));
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        QCOMPARE(Word(peer.exchange(Frame(OrderGetRow, {1})), 2), 1);
        peer.send(Frame(OrderData));
        QVERIFY(peer.socket.state() == QAbstractSocket::UnconnectedState ||
                peer.socket.waitForDisconnected(2000));
        QVERIFY(peer.buffer.isEmpty() && peer.socket.readAll().isEmpty());
        // The sensor takes the next client.
        sim.clearFaults();
        TcpPeer next;
        QVERIFY(next.connectTo(sim.port()));
        QCOMPARE(Word(next.exchange(Frame(OrderData)), 1), 5);
    }

    void faultFromNthFrameAndOnce()
    {
        sim.addFault(*Fault::parse("noanswer:*:3::once"));
        sim.addFault(*Fault::parse("short:4:5"));
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        // Sends a frame and returns how many answer bytes came.
        auto answered = [&](const QByteArray &f) {
            peer.send(f);
            return int(peer.read(frameBytes, 300).size());
        };
        QCOMPARE(answered(Frame(OrderGetRow, {1})), frameBytes); // frame 1
        QCOMPARE(answered(Frame(OrderGetRow, {1})), frameBytes); // frame 2
        QCOMPARE(answered(Frame(OrderGetRow, {1})), 0);          // 3: no answer, once
        QCOMPARE(answered(Frame(OrderGetRow, {1})), frameBytes); // 4
        QCOMPARE(answered(Frame(OrderGetRow, {1})), 35);         // 5: short from now on
        QCOMPARE(answered(Frame(OrderGetPara)), frameBytes);     // but only for order 4
        QCOMPARE(answered(Frame(OrderGetRow, {1})), 35);
    }

    void ordersStillActUnderAFault()
    {
        sim.addFault(*Fault::parse("noanswer:1"));
        TcpPeer peer;
        QVERIFY(peer.connectTo(sim.port()));
        peer.send(Frame(OrderSendPara, {432}));
        QTRY_COMPARE(sim.ramImage()[0], 432);
        QCOMPARE(peer.readFor(100), QByteArray());
    }

    void restartsOnAFreePort()
    {
        SimThread other;
        SimThread::Options o;
        o.port = sim.port(); // taken
        QVERIFY(!other.start(o));
        QVERIFY(!other.errorString().isEmpty());
        QVERIFY(!other.isRunning());
        QVERIFY(other.start());
        QVERIFY(other.port() != 0 && other.port() != sim.port());
        TcpPeer peer;
        QVERIFY(peer.connectTo(other.port()));
        QCOMPARE(peer.exchange(Frame(OrderIdent)).size(), frameBytes);
        other.stop();
        QVERIFY(!other.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestSimTcp)
#include "tst_simtcp.moc"
