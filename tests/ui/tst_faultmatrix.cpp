// The fault matrix: every operation that talks to the sensor (one row each) against the faults the
// simulated sensor plays (one column each), over TCP and over a pseudo-terminal (the serial link),
// driven through the operator's buttons.
//
// Each cell plays its fault once on the first answer of the row's order and asserts: the operation
// returns (no hang), the controls are operable again, a fault that leaves the program without a
// complete answer ends in the time-out reaction ("TIMEOUT" in both status fields, the connection
// page, poll and comecho cleared), and, with the fault gone, GET CF reads exactly the sensor's
// factors (no stale answer taken), TRY TO CONNECT shows the identification text and GET CF works
// again over the new connection.
//
// The cells played are listed per row in rows(); they are chosen so that every fault meets every
// kind of exchange (line check, parameter read, echoed write, data frame, factors, recording) while
// the time-out cells, which cost one answer limit each (3 s; the line check waits 5 s over TCP),
// stay few. `late` answers 400 ms after the limit; the next request must not take it. `garbage`
// puts noise that starts like an answer before it, `merge` sends a data frame in the same write.
// Every cell is played over both links. On the serial line the faults keep their meaning as bytes
// on a wire: `split` is the answer arriving in pieces with pauses, `merge` a data frame directly
// behind the answer, and `close` the adapter unplugged and plugged back (both ends of the terminal
// close; a fresh one appears under the same name). The lost device during a wait, GO and SEND,
// also with the device node removed, is played in lostSerialDevice.
//
// TINTRA_MATRIX=LINK[:K/N] plays only the cells over LINK (tcp or pty), and of those only every
// N-th from the K-th, so that the test runner can play parts side by side; TINTRA_MATRIX=lost plays
// only the lost device. Unset: everything.
#include "uitestutil.h"

#include "common/popupscript.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/interfacepanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/calibpanel.h"
#include "core/settings/connection.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <sys/resource.h>

using namespace tintra;
using namespace tintra::test;
using sim::Fault;

namespace {

const QByteArray sensorId = "FAULT MATRIX SENSOR";

// Processor time of the calling thread, in seconds.
double ThreadCpu()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

QString Status() { return datapanel->DispStatus->text(); }
QString PageStatus() { return interfacepanel->DispInterfaceStatus->text(); }

int OrderCount(const QList<QByteArray> &frames, int code)
{
    int n = 0;
    for (const QByteArray &f : frames)
        n += GetWord(reinterpret_cast<const unsigned char *>(f.constData()), 1) == code;
    return n;
}

// A column: the fault played, and whether it leaves the program without a complete answer.
struct Column {
    const char *name;
    Fault::Kind kind;
    int arg;
    bool timesOut;   // the time-out reaction is due
    bool waitsLimit; // ... and only after the full answer limit
};

const Column columns[] = {
    {"noanswer", Fault::NoAnswer, -1, true, true},
    {"short", Fault::ShortAnswer, -1, true, true},
    {"extra", Fault::ExtraBytes, 4, false, false},
    {"wrongecho", Fault::WrongEcho, -1, false, false},
    {"delay", Fault::Delay, 300, false, false},
    {"split", Fault::Split, 3, false, false},
    {"late", Fault::Delay, 3400, true, true}, // arrives after the 3 s limit
    {"close", Fault::Close, -1, true, false},
    {"garbage", Fault::Garbage, 6, false, false},
    {"merge", Fault::Merge, 1, false, false},
};

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT

    sim::SimThread sensor;       // over TCP
    sim::SimThread serialSensor; // over a pseudo-terminal
    QTemporaryDir ptyDir;
    bool serialCell = false;
    std::unique_ptr<ProgramUnderTest> program;
    std::unique_ptr<PopupScript> popups;

    // A row: the order whose answer the fault bends, the columns played, the operation through
    // its buttons, and the button that ends it when it runs until stopped.
    struct Row {
        const char *name;
        int order;
        QStringList faults;
        std::function<void(TestFaultMatrix &)> run;
        std::function<QPushButton *()> stop;
        bool resumes = false; // goes on after a lost answer (later exchanges set comecho again)
    };
    static QList<Row> rows();
    // The sensor of the cell running: over the pseudo-terminal or over TCP.
    sim::SimThread &S() { return serialCell ? serialSensor : sensor; }
    QString ptyPath() const { return ptyDir.filePath(QStringLiteral("ttyMATRIX")); }

    void target(bool eeprom) { Click(eeprom ? mainpanel->SelectEEPROM : mainpanel->SelectRAM); }
    void calibration(QPushButton *button)
    {
        Click(mainpanel->ButtonCalibrate);
        Click(button);
    }
    void record(int mode)
    {
        Click(mainpanel->ButtonRecorder);
        ChooseItem(recpanel->EditSelectDataRec, mode);
        if (mode == 0) {
            TypeInto(recpanel->EditInterval, 1);
            TypeInto(recpanel->EditRecVal, 2);
        }
        popups->answerFile(NewFileSelected, program->path("rec.dat"));
        Click(recpanel->ButtonSelRecFile);
        popups->answerConfirm(1);
        Click(mode == 0 ? recpanel->ButtonStartRecord : recpanel->ButtonStartTrigRec);
    }

    // GET CF shows exactly the sensor's factors.
    void getCfReadsTheSensor(const char *when)
    {
        S().setCalibrationFactors({1111, 1222, 1333});
        Click(mainpanel->ButtonCalibrate);
        Click(calibpanel->ButtonGetCF);
        const QList<int> shown{calibpanel->EditCFR->value(), calibpanel->EditCFG->value(),
                               calibpanel->EditCFB->value()};
        QVERIFY2(shown == (QList<int>{1111, 1222, 1333}),
                 qPrintable(QStringLiteral("%1: %2 %3 %4, status %5")
                                .arg(QLatin1String(when))
                                .arg(shown[0])
                                .arg(shown[1])
                                .arg(shown[2])
                                .arg(Status())));
    }

    void controlsOperable()
    {
        for (const char *n : {"ButtonSend", "ButtonGet", "ButtonGo", "SelectRAM", "SelectEEPROM",
                              "ButtonTryToConnect", "ButtonCalcCF", "ButtonSendCF", "ButtonGetCF",
                              "ButtonStartRecord", "ButtonStartTrigRec"})
            QVERIFY2(Control<QWidget>(n)->isEnabled(), n);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(sensor.start(), qPrintable(sensor.errorString()));
        sim::SimThread::Options o;
        o.tcp = false;
        o.ptyLink = ptyPath();
        QVERIFY2(serialSensor.start(o), qPrintable(serialSensor.errorString()));
    }
    void init()
    {
        serialCell = QByteArray(QTest::currentDataTag()).startsWith("pty/");
        S().reset();
        S().clearFaults();
        S().setIdText(sensorId);
        S().setColour({2150, 2000, 1850}); // the white target: a calibration passes
        S().setNoise(0);
        popups = std::make_unique<PopupScript>();
        program = std::make_unique<ProgramUnderTest>();
        QVERIFY(program->ok);
        if (serialCell) {
            WriteBytes(program->path("ComPorts.cfg"), "7 " + ptyPath().toUtf8() + "\n");
            SetComPortsCfgDir(program->dir.path());
            WriteBytes(program->path("ComSettings.cfg"), "0\n7\n127.0.0.1\n1\n");
        } else {
            WriteBytes(program->path("ComSettings.cfg"),
                       "1\n1\n127.0.0.1\n" + QByteArray::number(sensor.port()) + "\n");
        }
        InitAll();
        QCOMPARE(Status(), QString::fromLatin1(sensorId));
        mainpanel->show();
        S().clearFrames();
    }
    void cleanup()
    {
        poll = 0;
        S().clearFaults();
        DisconnectTCP();
        CloseCom();
        SetComPortsCfgDir(QString());
        program.reset();
        popups.reset();
    }

    void cell_data();
    void cell();
    void lostSerialDevice_data();
    void lostSerialDevice();
};

QList<TestFaultMatrix::Row> TestFaultMatrix::rows()
{
    using T = TestFaultMatrix;
    auto none = [] { return static_cast<QPushButton *>(nullptr); };
    auto stopGo = [] { return mainpanel->ButtonStop; };
    auto cols = [](const char *s) { return QString::fromLatin1(s).split(QLatin1Char(' ')); };
    return {
        {"start-up line check", 7, cols("garbage"),
         [](T &) { InitAll(); }, none},
        {"line check", 7, cols("noanswer extra wrongecho split close garbage"),
         [](T &) { Click(mainpanel->ButtonConnect); Click(interfacepanel->ButtonTryToConnect); }, none},
        {"GET RAM", 3, cols("short extra wrongecho split late close garbage"),
         [](T &t) { t.target(false); Click(mainpanel->ButtonGet); }, none},
        {"GET EEPROM", 8, cols("noanswer wrongecho delay"),
         [](T &t) { t.target(true); Click(mainpanel->ButtonGet); }, none},
        {"SEND RAM", 1, cols("noanswer extra wrongecho split merge"),
         [](T &t) { t.target(false); Click(mainpanel->ButtonSend); }, none},
        {"SEND EEPROM", 6, cols("short wrongecho close garbage"),
         [](T &t) { t.target(true); Click(mainpanel->ButtonSend); }, none},
        {"GO", 5, cols("noanswer short extra split close garbage merge"),
         [](T &) { Click(mainpanel->ButtonGo); }, stopGo},
        {"calibration", 5, cols("noanswer wrongecho"),
         [](T &t) {
             t.popups->answerConfirm(1); // white target
             t.popups->answerConfirm(1); // calculate
             t.calibration(calibpanel->ButtonCalcCF);
         },
         stopGo, true},
        {"SEND CF", 30, cols("noanswer extra wrongecho garbage"),
         [](T &t) { t.calibration(calibpanel->ButtonSendCF); }, none},
        {"cube-root download", 182, cols("wrongecho split merge"),
         [](T &t) { t.calibration(calibpanel->ButtonSendCF); }, none},
        {"GET CF", 31, cols("short extra late close merge"),
         [](T &t) { t.calibration(calibpanel->ButtonGetCF); }, none},
        {"timed record", 5, cols("noanswer split"),
         [](T &t) { t.record(0); }, none},
        {"triggered record", 50, cols("close"), [](T &t) { t.record(3); },
         [] { return recpanel->ButtonStopTrigRec; }},
    };
}

namespace {

// The part of the matrix this run plays (TINTRA_MATRIX, see the top of the file).
struct Part {
    QString link; // "tcp", "pty", "lost" or empty for all
    int k = 1, n = 1;
    bool plays(const QString &cellLink, int index) const
    {
        return (link.isEmpty() || link == cellLink) && index % n == k - 1;
    }
};

Part ThisPart()
{
    Part p;
    const QString text = qEnvironmentVariable("TINTRA_MATRIX");
    p.link = text.section(QLatin1Char(':'), 0, 0);
    const QString share = text.section(QLatin1Char(':'), 1);
    if (!share.isEmpty()) {
        p.k = share.section(QLatin1Char('/'), 0, 0).toInt();
        p.n = share.section(QLatin1Char('/'), 1).toInt();
        if (p.n < 1 || p.k < 1 || p.k > p.n)
            qFatal("TINTRA_MATRIX: K/N with 1 <= K <= N expected, got %s", qPrintable(text));
    }
    if (!p.link.isEmpty() && p.link != QLatin1String("tcp") && p.link != QLatin1String("pty") &&
        p.link != QLatin1String("lost"))
        qFatal("TINTRA_MATRIX: tcp, pty or lost expected, got %s", qPrintable(text));
    return p;
}

} // namespace

void TestFaultMatrix::cell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    const QList<Row> all = rows();
    const Part part = ThisPart();
    for (const char *link : {"tcp", "pty"}) {
        int index = 0;
        for (int r = 0; r < all.size(); ++r)
            for (int c = 0; c < int(std::size(columns)); ++c)
                if (all[r].faults.contains(QLatin1String(columns[c].name)) &&
                    part.plays(QLatin1String(link), index++))
                    QTest::addRow("%s/%s/%s", link, all[r].name, columns[c].name) << r << c;
    }
}

void TestFaultMatrix::cell()
{
    if (!QTest::currentDataTag())
        QSKIP("this part plays no cells");
    QFETCH(int, row);
    QFETCH(int, column);
    const Row r = rows().at(row);
    const Column &c = columns[column];
    S().addFault(Fault{c.kind, r.order, 1, c.arg, true});

    // Operations that run until stopped get STOP once the faulted exchange is behind them
    // (a third frame of the order went out) or, for the triggered recording, after a second.
    QElapsedTimer clock;
    clock.start();
    QTimer stopper;
    connect(&stopper, &QTimer::timeout, this, [&] {
        QPushButton *stop = r.stop();
        const bool behind = OrderCount(S().frames(), r.order) >= 3 || clock.elapsed() > 1000;
        if (stop && poll == 1 && behind)
            Click(stop);
        if (clock.elapsed() > 20000) // a hang: end it so the cell fails instead of the run
            poll = 0;
    });
    stopper.start(200);
    r.run(*this);
    stopper.stop();
    const double took = clock.elapsed() / 1000.0;

    QVERIFY2(took < 15.0, qPrintable(QString::number(took)));
    QVERIFY(OrderCount(S().frames(), r.order) >= 1);
    if (c.timesOut) {
        if (c.waitsLimit)
            QVERIFY2(took >= 3.0 - 0.1, qPrintable(QString::number(took)));
        else // a lost connection or terminal is noticed at once, not after the answer limit
            QVERIFY2(took < 2.0, qPrintable(QString::number(took)));
        QCOMPARE(Status(), QStringLiteral("TIMEOUT"));
        QCOMPARE(PageStatus(), QStringLiteral("TIMEOUT"));
        QVERIFY(interfacepanel->isVisible());
        QCOMPARE(poll, uint16_t(0));
        if (!r.resumes)
            QCOMPARE(comecho, uint16_t(0));
    }
    controlsOperable();

    // The fault is gone. A late answer has arrived by now and must not be taken for GET CF.
    S().clearFaults();
    if (c.kind == Fault::Delay)
        QTest::qWait(std::max(0, c.arg - int(clock.elapsed()) + 300));
    if (c.kind != Fault::Close)
        getCfReadsTheSensor("same connection");
    Click(mainpanel->ButtonConnect);
    Click(interfacepanel->ButtonTryToConnect);
    QCOMPARE(Status(), QString::fromLatin1(sensorId));
    getCfReadsTheSensor("after TRY TO CONNECT");
    controlsOperable();
}

// The serial adapter is unplugged while the program waits for an answer, during GO and during
// SEND: the operation ends in the time-out reaction without busying the processor, and TRY TO
// CONNECT works again once the device is back. Either the pseudo-terminal's other side closes and
// the adapter comes back under another name mapped to the same COM port, or the device node
// named in "ComPorts.cfg" is removed with it and comes back under the same name (meanwhile TRY
// TO CONNECT finds no device and ends in the time-out reaction).
void TestFaultMatrix::lostSerialDevice_data()
{
    QTest::addColumn<int>("operation"); // 0 waiting for GET CF's answer, 1 GO, 2 SEND RAM
    QTest::addColumn<bool>("nodeRemoved");
    if (!ThisPart().plays(QStringLiteral("lost"), 0))
        return; // another part plays the lost device
    for (const bool removed : {false, true}) {
        const char *how = removed ? "node removed" : "other side closed";
        QTest::addRow("%s, during a wait", how) << 0 << removed;
        QTest::addRow("%s, during GO", how) << 1 << removed;
        QTest::addRow("%s, during SEND", how) << 2 << removed;
    }
}

void TestFaultMatrix::lostSerialDevice()
{
    if (!QTest::currentDataTag())
        QSKIP("another part plays the lost device");
    QFETCH(int, operation);
    QFETCH(bool, nodeRemoved);
    DisconnectTCP();
    auto serial = std::make_unique<sim::SimThread>();
    sim::SimThread::Options o;
    o.tcp = false;
    o.ptyLink = program->path("ttyUSB0");
    QVERIFY2(serial->start(o), qPrintable(serial->errorString()));
    serial->setIdText("SERIAL " + sensorId);
    WriteBytes(program->path("ComPorts.cfg"), "7 " + o.ptyLink.toUtf8() + "\n");
    SetComPortsCfgDir(program->dir.path());
    WriteBytes(program->path("ComSettings.cfg"), "0\n7\n127.0.0.1\n1\n");
    InitAll();
    QCOMPARE(Status(), QStringLiteral("SERIAL FAULT MATRIX SENSOR"));
    serial->clearFrames();
    if (operation == 0)
        serial->addFault(Fault{Fault::NoAnswer, 31, 1, -1, true});
    if (operation == 2) // the fourth row's echo lingers, so SEND is waiting when the device goes
        serial->addFault(Fault{Fault::Delay, 2, 5, 1000, true});

    // Unplugged once the operation is under way (a few frames out, or waiting).
    QElapsedTimer clock;
    double cpuAtLoss = -1, wallAtLoss = 0;
    QTimer unplug;
    connect(&unplug, &QTimer::timeout, this, [&] {
        if (serial->isRunning() && (serial->frames().size() >= 5 || clock.elapsed() > 300)) {
            serial->stop();
            if (nodeRemoved) // the node goes with the adapter
                QFile::remove(program->path("ttyUSB0"));
            cpuAtLoss = ThreadCpu();
            wallAtLoss = clock.elapsed() / 1000.0;
        }
        if (clock.elapsed() > 20000)
            poll = 0;
    });
    clock.start();
    unplug.start(20);
    if (operation == 0) {
        Click(mainpanel->ButtonCalibrate);
        Click(calibpanel->ButtonGetCF);
    } else {
        Click(mainpanel->SelectRAM);
        Click(operation == 1 ? mainpanel->ButtonGo : mainpanel->ButtonSend);
    }
    unplug.stop();
    const double wall = clock.elapsed() / 1000.0 - wallAtLoss;
    const double cpu = ThreadCpu() - cpuAtLoss;

    QVERIFY2(cpuAtLoss >= 0, qPrintable(QStringLiteral("not unplugged: %1 frames, %2 s, status %3")
                                            .arg(serial->isRunning() ? serial->frames().size() : -1)
                                            .arg(clock.elapsed() / 1000.0)
                                            .arg(Status())));
    QVERIFY2(wall < 3.0 + 1.0, qPrintable(QString::number(wall)));
    QVERIFY2(cpu < 0.25 + 0.3 * wall, qPrintable(QStringLiteral("%1 s of %2 s").arg(cpu).arg(wall)));
    QCOMPARE(Status(), QStringLiteral("TIMEOUT"));
    QCOMPARE(PageStatus(), QStringLiteral("TIMEOUT"));
    QVERIFY(interfacepanel->isVisible());
    QCOMPARE(poll, uint16_t(0));
    QCOMPARE(comecho, uint16_t(0));
    controlsOperable();

    sim::SimThread again;
    if (nodeRemoved) {
        QVERIFY(!QFileInfo::exists(o.ptyLink));
        Click(interfacepanel->ButtonTryToConnect);
        QCOMPARE(int(ret), -6); // the device does not exist: the time-out reaction follows
        QCOMPARE(PageStatus(), QStringLiteral("TIMEOUT"));
        controlsOperable();
        // Back under the same name.
    } else {
        // Back under another device name, mapped to the same COM port.
        o.ptyLink = program->path("ttyUSB1");
        WriteBytes(program->path("ComPorts.cfg"), "7 " + o.ptyLink.toUtf8() + "\n");
    }
    QVERIFY2(again.start(o), qPrintable(again.errorString()));
    again.setIdText("SERIAL SENSOR BACK");
    Click(interfacepanel->ButtonTryToConnect);
    QCOMPARE(Status(), QStringLiteral("SERIAL SENSOR BACK"));
    QVERIFY(OrderCount(again.frames(), 7) == 1);
    CloseCom();
    SetComPortsCfgDir(QString());
}

QTEST_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
