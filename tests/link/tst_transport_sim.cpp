// The links end to end against the simulated sensor, over TCP and over a pseudo-terminal: the line
// check, a run of data frames, a sensor that is sending by itself when the line check starts, and
// the sensor's faults.
#include "common/linkrecorder.h"
#include "common/popupscript.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

using namespace tintra;
using tintra::sim::Fault;
using tintra::sim::SimThread;
using tintra::test::LinkRecorder;
using tintra::test::PopupScript;

class TestTransportSim : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    SimThread sim;

    // Opens the link of the current row's kind to the simulator.
    bool open(bool tcp)
    {
        if (tcp) {
            comprotocol = 1;
            std::strcpy(ipBuf, "localhost");
            portNum = sim.port();
            return InitTCP_IP() == 0;
        }
        comprotocol = 0;
        comport = 3;
        return InitRS232() == 0;
    }

    static void addLinks()
    {
        QTest::addColumn<bool>("tcp");
        QTest::addRow("tcp") << true;
        QTest::addRow("serial") << false;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        SimThread::Options o;
        o.ptyLink = dir.filePath(QStringLiteral("ttySim"));
        QVERIFY2(sim.start(o), qPrintable(sim.errorString()));
        QFile cfg(dir.filePath(QStringLiteral("ComPorts.cfg")));
        QVERIFY(cfg.open(QIODevice::WriteOnly));
        cfg.write("3 " + QFile::encodeName(o.ptyLink) + "\n");
        cfg.close();
        SetComPortsCfgDir(dir.path());
    }
    void init()
    {
        sim.reset();
        sim.clearFaults();
        sim.clearFrames();
        poll = 0;
        comecho = 0;
    }
    void cleanup()
    {
        DisconnectTCP();
        CloseCom();
    }
    void cleanupTestCase() { SetComPortsCfgDir(QString()); }

    void lineCheck_data() { addLinks(); }
    void lineCheck()
    {
        QFETCH(bool, tcp);
        LinkRecorder rec;
        sim.setIdText("TEST SENSOR V3");
        QVERIFY(open(tcp));
        CheckComLine();
        QCOMPARE(rec.statuses, QStringList{QStringLiteral("TEST SENSOR V3")});
        QCOMPARE(rec.undims, 1);
        const QList<QByteArray> frames = sim.frames();
        QCOMPARE(frames.size(), 2);
        QCOMPARE(GetWord(reinterpret_cast<const unsigned char *>(frames[0].constData()), 1), 50);
        QCOMPARE(GetWord(reinterpret_cast<const unsigned char *>(frames[1].constData()), 1), 7);
    }

    // The sensor sends data frames by itself when the program connects: the line check stops it
    // and still reads the identification text, not a data frame.
    void lineCheckStopsAutomaticSending_data() { addLinks(); }
    void lineCheckStopsAutomaticSending()
    {
        QFETCH(bool, tcp);
        LinkRecorder rec;
        sim.setIdText("AUTO");
        QVERIFY(open(tcp));
        order = OrderAutoSend;
        FillTxBuf(order, 1, 0, 0);
        WriteFrame();
        bytesToRead = 0;
        QTRY_VERIFY(sim.autoSending());
        Sleep(250); // frames are on their way
        CheckComLine();
        QVERIFY(!sim.autoSending());
        QCOMPARE(rec.statuses, QStringList{QStringLiteral("AUTO")});
    }

    void dataFrames_data() { addLinks(); }
    void dataFrames()
    {
        QFETCH(bool, tcp);
        QVERIFY(open(tcp));
        order = OrderData;
        FillTxBuf(order, 0, 0, 0);
        uint16_t lastCounter = 0;
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(GetDataFrame(), 0);
            GetRxBufData();
            QCOMPARE(databuf[0], answerHeader);
            QVERIFY(i == 0 || databuf[15] != lastCounter); // a fresh frame each time
            lastCounter = databuf[15];
        }
        QCOMPARE(sim.frames().size(), 20);
    }

    void faults_data()
    {
        QTest::addColumn<bool>("tcp");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("result");
        QTest::addRow("tcp split") << true << "split:5:1:6" << 0;
        QTest::addRow("serial split") << false << "split:5:1:6" << 0;
        QTest::addRow("tcp extra bytes") << true << "extra:5:1:4:once" << 0;
        QTest::addRow("serial extra bytes") << false << "extra:5:1:4:once" << -4;
        QTest::addRow("tcp closes") << true << "close:5" << 36;
    }
    void faults()
    {
        QFETCH(bool, tcp);
        QFETCH(QString, fault);
        QFETCH(int, result);
        PopupScript popups;
        QVERIFY(open(tcp));
        sim.addFault(*Fault::parse(fault));
        order = OrderData;
        FillTxBuf(order, 0, 0, 0);
        QCOMPARE(GetDataFrame(), result);
        if (fault.startsWith(QLatin1String("close"))) {
            QCOMPARE(tcpcon, uint16_t(0));
            QCOMPARE(popups.messages().size(), 1);
            return;
        }
        // The link is still in step: the next exchange is good.
        QCOMPARE(GetDataFrame(), 0);
        GetRxBufData();
        QCOMPARE(databuf[0], answerHeader);
        QVERIFY(popups.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTransportSim)
#include "tst_transport_sim.moc"
