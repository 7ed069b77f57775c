// White-light calibration and the cube-root table: the factor arithmetic without a window, then
// the calibration panel against the simulated sensor over loopback TCP and a pseudo-terminal,
// driven through its buttons: the frames on the wire, the popups, the factors and the table the
// sensor ends up holding.
#include "core/acquire/acquire.h"
#include "core/calib/calib.h"
#include "link/calibarith.h"
#include "core/display/ramps.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/calibpanel.h"
#include "core/panels/controls.h"
#include "core/shell.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/colourmath.h"
#include "sim/simthread.h"
#include "tests/common/popupscript.h"
#include "tests/common/calibtranscript.h"
#include "ui/uitestutil.h"
#include "widgets/colourbar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <cstring>

using namespace tintra;
using tintra::test::CalibFrame;
using tintra::test::Chunks;
using tintra::sim::Fault;
using tintra::sim::Rgb;

Q_DECLARE_METATYPE(tintra::sim::Rgb)

namespace {


// What a run sends from order 30 on: the factors, 0.5 s, the table, 0.5 s, the closing loop.
QStringList SentAfterRun(const QString &factors, const QStringList &closing = {"5 x3"})
{
    return test::CalibWrite(factors) + QStringList{"pause 0.5"} + closing;
}

// The CALCULATE button's colour changes while `n` samples were requested ("frames:colour"):
// red for five samples, grey for five, and grey at the end.
QString Blinks(int n)
{
    QStringList out;
    for (int i = 0; i < n; i += 5)
        out << QStringLiteral("%1:%2").arg(i).arg(i / 5 % 2 ? "e0e0e0" : "ff0000");
    if (!out.isEmpty() && out.last().endsWith(QLatin1String("ff0000")))
        out << QStringLiteral("%1:e0e0e0").arg(n);
    return out.join(u' ');
}

// Everything the calibration page shows: raw values (numbers and bars), the calibrated bars,
// DELTA, the factors, SET VALUE, MAXIMUM DELTA, and the buttons (enabled, CALCULATE's colour).
QString CalibPage()
{
    const CalibPanel *c = calibpanel;
    auto n = [](int v) { return QString::number(v); };
    auto on = [](const QWidget *w) { return QString::fromLatin1(w->isEnabled() ? "on" : "off"); };
    return QStringList{"raw", c->DispRawR->text(), c->DispRawG->text(), c->DispRawB->text(),
                       n(c->BarRawR->value()), n(c->BarRawG->value()), n(c->BarRawB->value()),
                       "delta", c->DispRawDelta->text(), "cal", n(c->BarCalR->value()),
                       n(c->BarCalG->value()), n(c->BarCalB->value()), "| cf",
                       n(c->EditCFR->value()), n(c->EditCFG->value()), n(c->EditCFB->value()),
                       "| set", n(c->EditSetValue->value()), "max", n(c->EditMaxDelta->value()),
                       "| calc", on(c->ButtonCalcCF),
                       QString::number(ButtonColour(c->ButtonCalcCF), 16), "send",
                       on(c->ButtonSendCF), "get", on(c->ButtonGetCF)}
        .join(u' ');
}

// Calls `changed` on every palette change of the watched widget.
struct PaletteWatch : QObject {
    std::function<void()> changed;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::PaletteChange)
            changed();
        return false;
    }
};

const QString whiteTargetText = QStringLiteral(
    " Make sure, that the sensor shines on a WHITE target! \n Select a proper POWER value that the "
    "RAW DATAS are within the dynamic range.  \n Repeat as long as the intensity for the RAW DATAS "
    "is NOT OK.");
const QString confirmText =
    QStringLiteral(" Are you sure, that you have selected \n the right calibration parameters? ");
const QString declinedText = QStringLiteral(
    "Please insert the right values and press \n CALCULATE CALIBRATION FACTORS again.");
const QString deltaText = QStringLiteral(
    " The maximum delta of the raw data values RED,GREEN and BLUE is to high. \n Calibration is "
    "not possible. \n Verify, that the sensor shines on a WHITE target! \n Increase MAXIMUM DELTA "
    "OF RAW DATAS! ");
const QString rangeText = QStringLiteral(
    " One of the calibration factor is out of range. \n Calibration is not possible. \n Verify, "
    "that the senor shines on a WHITE target! \n Choose a proper POWER value. ");
const QString lostText = QStringLiteral(
    " %1 of the 100 samples were lost. \n Calibration is not possible. \n Nothing was sent to the "
    "EEPROM of the sensor. \n Verify the connection to the sensor! ");
const QString cfNotSentText = QStringLiteral(
    " The calibration factors could not be sent to the EEPROM of the sensor. \n Calibration is "
    "not finished. \n Verify the connection to the sensor and press SEND CF. ");
const QString tableNotSentText = QStringLiteral(
    " The calibration factors were sent to the EEPROM of the sensor, \n but the cube-root table "
    "could not be sent. \n Verify the connection to the sensor and press SEND CF. ");
const QString passedText = QStringLiteral(
    " Calibration successful! \n Calibration factors were sent to the EEPROM of the sensor. \n GO "
    "mode will be activated. ");

} // namespace

class TestCalib : public QObject {
    Q_OBJECT

    sim::SimThread sim;
    std::unique_ptr<test::ProgramUnderTest> program;
    std::unique_ptr<test::PopupScript> popups;

    // Types `value` into a field as the operator does: focus, select all, digits, Return.
    static void Type(QSpinBox *s, int value)
    {
        test::TypeInto(s, value);
        QCOMPARE(s->value(), value);
    }

    void connectSerial(sim::SimThread &serial)
    {
        sim::SimThread::Options o;
        o.tcp = false;
        o.ptyLink = program->path("ttyCALIB");
        QVERIFY2(serial.start(o), qPrintable(serial.errorString()));
        test::WriteBytes(program->path("ComPorts.cfg"), "7 " + o.ptyLink.toUtf8() + "\n");
        SetComPortsCfgDir(program->dir.path());
        comprotocol = 0;
        comport = 7;
        QCOMPARE(InitRS232(), 0);
    }

private slots:
    void initTestCase() { QVERIFY2(sim.start(), qPrintable(sim.errorString())); }

    void init()
    {
        popups = std::make_unique<test::PopupScript>();
        program = std::make_unique<test::ProgramUnderTest>();
        QVERIFY(program->ok);
        FillRamps();
        sim.reset();
        sim.clearFaults();
        sim.setColour({2150, 2000, 1850}); // the white scene
        sim.setNoise(0);
        comprotocol = 1;
        std::strcpy(ipBuf, "127.0.0.1");
        portNum = sim.port();
        QCOMPARE(InitTCP_IP(), 0);
        sim.clearFrames();
        mainpanel->show();
        QTest::mouseClick(mainpanel->ButtonCalibrate, Qt::LeftButton);
        QVERIFY(calibpanel->isVisible());
    }

    void cleanup()
    {
        poll = 0;
        DisconnectTCP();
        CloseCom();
        SetComPortsCfgDir(QString());
        program.reset();
        popups.reset();
    }

    // in: setvalue, maxdelta, meanD, meanR, meanG, meanB. out: result (0 passed, 1 spread,
    // 2 range), the factors (7 = left alone), the means afterwards.
    void factorArithmetic_data()
    {
        QTest::addColumn<QList<int>>("in");
        QTest::addColumn<QList<int>>("out");
        QTest::newRow("2048 on 2048") << QList{2048, 400, 0, 2048, 2048, 2048}
                                      << QList{0, 1024, 1024, 1024, 2048, 2048, 2048};
        QTest::newRow("750 passes") << QList{750, 400, 0, 1024, 1024, 1024}
                                    << QList{0, 750, 750, 750, 1024, 1024, 1024};
        QTest::newRow("1300 passes") << QList{1300, 400, 0, 1024, 1024, 1024}
                                     << QList{0, 1300, 1300, 1300, 1024, 1024, 1024};
        QTest::newRow("749 fails") << QList{749, 400, 0, 1024, 1024, 1024}
                                   << QList{2, 7, 7, 7, 1024, 1024, 1024};
        QTest::newRow("1301 fails") << QList{1301, 400, 0, 1024, 1024, 1024}
                                    << QList{2, 7, 7, 7, 1024, 1024, 1024};
        QTest::newRow("blue alone 1302") << QList{1024, 400, 0, 1024, 1024, 805}
                                         << QList{2, 7, 7, 7, 1024, 1024, 805};
        QTest::newRow("truncating") << QList{2048, 400, 0, 2150, 2000, 1850}
                                    << QList{0, 975, 1048, 1133, 2150, 2000, 1850};
        // 65 * 1024 / 1 = 66560 would read 1024 if narrowed to 16 bits first.
        QTest::newRow("above 65535") << QList{65, 400, 0, 1, 1, 1} << QList{2, 7, 7, 7, 1, 1, 1};
        QTest::newRow("mean 0 as 1, fails") << QList{2048, 400, 0, 0, 2048, 2048}
                                            << QList{2, 7, 7, 7, 1, 2048, 2048};
        QTest::newRow("mean 0 as 1, setvalue 1") << QList{1, 400, 0, 0, 0, 0}
                                                 << QList{0, 1024, 1024, 1024, 1, 1, 1};
        QTest::newRow("spread = max") << QList{2048, 300, 300, 2048, 2048, 2048}
                                      << QList{0, 1024, 1024, 1024, 2048, 2048, 2048};
        QTest::newRow("spread max+1") << QList{2048, 300, 301, 2048, 2048, 2048}
                                      << QList{1, 7, 7, 7, 2048, 2048, 2048};
        QTest::newRow("spread first") << QList{2048, 0, 1, 0, 0, 0} << QList{1, 7, 7, 7, 0, 0, 0};
    }

    void factorArithmetic()
    {
        QFETCH(QList<int>, in);
        QFETCH(QList<int>, out);
        std::array<uint16_t, 3> m{uint16_t(in[3]), uint16_t(in[4]), uint16_t(in[5])};
        std::array<uint16_t, 3> cf{7, 7, 7};
        const CFResult r = ComputeCF(uint16_t(in[0]), uint16_t(in[1]), uint16_t(in[2]), m, cf);
        QCOMPARE((QList<int>{int(r), cf[0], cf[1], cf[2], m[0], m[1], m[2]}), out);
        QCOMPARE(int(MeanOfSamples(99 * 2048 + 99)), 2028); // always over 100, truncating
    }

    void rootTableAndChunks()
    {
        Calc3rdRoot();
        const int entries[][2] = {{0, 0},       {1, 2519},     {2, 3174},   {3, 3634},
                                  {5, 4308},    {8, 5039},     {254, 15958}, {255, 15979}};
        for (const auto &e : entries)
            QCOMPARE(int(data3rdRoot[e[0]]), e[1]);
        // Exact cubes: one below with the nearest double to one third, or exact.
        for (const auto &e : {std::pair{4, 4000}, std::pair{32, 8000}, std::pair{108, 12000}})
            QVERIFY(data3rdRoot[e.first] == e.second || data3rdRoot[e.first] == e.second - 1);
        int total = 0;
        for (int b = 0; b < 19; ++b) {
            const RootChunk c = RootChunkOf(b);
            QCOMPARE(c.first, total);
            QCOMPARE(int(c.address), 5888 + 14 * b);
            QCOMPARE(int(c.count), b < 18 ? 14 : 4);
            total += c.count;
        }
        QCOMPARE(total, 256);
    }

    // Every new control: its info text on a right click, start value and limits of the fields.
    void controlsInfoAndLimits()
    {
        const QString cf = QStringLiteral(" Edit Box for the calibration factor. ");
        const QList<QPair<const char *, QString>> info = {
            {"EditCFR", cf},
            {"EditCFG", cf},
            {"EditCFB", cf},
            {"EditSetValue", QStringLiteral(" Choose the setvalue for RED,GREEN and BLUE. ")},
            {"EditMaxDelta", QStringLiteral(" Choose the maximum DELTA value of RED,GREEN and BLUE. ")},
            {"ButtonCalcCF", QStringLiteral(" Calculate the calibration factors for RED, GREEN and BLUE. ")},
            {"ButtonSendCF", QStringLiteral(" Calibration factors for RED,GREEN and BLUE will be send to "
                                            "the EEPROM of the sensor.")},
            {"ButtonGetCF", QStringLiteral(" Calibration factors for RED,GREEN and BLUE will be read from "
                                           "the sensor.")}};
        for (const auto &row : info) {
            popups->clear();
            QWidget *w = FindControl(row.first);
            QVERIFY2(w, row.first);
            test::RightClick(w);
            QCOMPARE(popups->messages().size(), 1);
            QCOMPARE(popups->messages()[0].title, QStringLiteral("INFO!"));
            QCOMPARE(popups->messages()[0].text, row.second);
        }
        for (auto [s, start, lo, hi] : {std::tuple{calibpanel->EditSetValue, 2048, 100, 4095},
                                        std::tuple{calibpanel->EditMaxDelta, 400, 0, 4095},
                                        std::tuple{calibpanel->EditCFG, 1024, 0, 65535}})
            QCOMPARE((QList<int>{s->value(), s->minimum(), s->maximum()}),
                     (QList<int>{start, lo, hi}));
    }

    // SEND CF: order 30 with the fields as typed, then the table at once; the sensor holds both.
    void sendCFThenTable()
    {
        Type(calibpanel->EditCFR, 1000);
        Type(calibpanel->EditCFG, 1100);
        Type(calibpanel->EditCFB, 900);
        const double t0 = Timer();
        QTest::mouseClick(calibpanel->ButtonSendCF, Qt::LeftButton);
        const double took = Timer() - t0;
        const QStringList expected =
            QStringList{"30 1000 1100 900", "180 5888", "pause 0.2"} + Chunks();
        QCOMPARE(test::Heard(sim, expected, CalibFrame), test::Fold(expected));
        QCOMPARE(sim.calibrationFactors(), (std::array<uint16_t, 3>{1000, 1100, 900}));
        QCOMPARE(sim.rootTable()[255], uint16_t(15979));
        QCOMPARE(sim.rootTable()[1], uint16_t(2519));
        QVERIFY2(took < 2.0, qPrintable(QString::number(took)));
        QCOMPARE(comecho, uint16_t(1));
        QVERIFY(popups->shown.isEmpty());
        QVERIFY(calibpanel->ButtonSendCF->isEnabled());
    }

    void badEchoStopsTheTransfer_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("heard");
        const QStringList table{"30 1024 1024 1024", "180 5888", "pause 0.2"};
        QTest::newRow("order 30") << "wrongecho:30" << table.mid(0, 1);
        QTest::newRow("order 180") << "wrongecho:180" << table.mid(0, 2);
        // Frames after the fault: 30, 180, then chunk b is frame 3 + b; chunk 5 is the sixth.
        QTest::newRow("chunk 5") << "wrongecho:182:8" << table + Chunks(6);
        // The last entry of a chunk is part of its echo check.
        QTest::newRow("last entry") << "wrongecho:182:2:35" << table + Chunks(1);
    }

    void badEchoStopsTheTransfer()
    {
        QFETCH(QString, fault);
        QFETCH(QStringList, heard);
        sim.addFault(*Fault::parse(fault));
        QTest::mouseClick(calibpanel->ButtonSendCF, Qt::LeftButton);
        QCOMPARE(test::Heard(sim, heard, CalibFrame), test::Fold(heard));
        QCOMPARE(comecho, uint16_t(0));
        QCOMPARE(datapanel->DispStatus->text(), QStringLiteral("TIMEOUT"));
        QVERIFY(calibpanel->ButtonSendCF->isEnabled());
    }

    void getCF_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QList<int>>("fields");
        QTest::newRow("reply") << "" << QList<int>{900, 1000, 1250};
        QTest::newRow("no reply") << "close:31" << QList<int>{1024, 1024, 1024};
    }

    void getCF()
    {
        QFETCH(QString, fault);
        QFETCH(QList<int>, fields);
        sim.setCalibrationFactors({900, 1000, 1250});
        if (!fault.isEmpty())
            sim.addFault(*Fault::parse(fault));
        QTest::mouseClick(calibpanel->ButtonGetCF, Qt::LeftButton);
        QCOMPARE(test::Heard(sim, {"31"}, CalibFrame), QStringList{"31"});
        QCOMPARE((QList<int>{calibpanel->EditCFR->value(), calibpanel->EditCFG->value(),
                             calibpanel->EditCFB->value()}),
                 fields);
        QCOMPARE(datapanel->DispStatus->text() == QStringLiteral("TIMEOUT"), !fault.isEmpty());
        if (fault.isEmpty())
            QCOMPARE((QList<int>{pp[0], pp[1], pp[2], cfrot, cfgruen, cfblau}),
                     (QList<int>{170, 31, 900, 900, 1000, 1250}));
        QVERIFY(calibpanel->ButtonGetCF->isEnabled());
    }

    // The whole run from CALCULATE CALIBRATION FACTORS, over TCP and a pseudo-terminal, with the
    // CF fields typed to 1000 1100 900 first. STOP is pressed during the sampling (which goes on)
    // and after three frames of the closing loop. Compared whole: the messages, every frame the
    // sensor heard with the pauses between them, the blinking of CALCULATE, the page afterwards,
    // and the factors and means.
    void calibrationRun_data()
    {
        QTest::addColumn<bool>("serial");
        QTest::addColumn<Rgb>("target");
        QTest::addColumn<QList<int>>("answers");  // to SEND POWER, CONFIRM CALCULATION!
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<bool>("teach");          // TEACH MEAN VAL pressed during the sampling
        QTest::addColumn<QStringList>("messages"); // title|text
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<int>("samples");         // data frames the sampling asked for
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("sensor");      // factors in the sensor, means
        const Rgb white{2150, 2000, 1850};
        const QStringList passed{"CALIBRATION PASSED!|" + passedText};
        const QStringList pass = QStringList{"5 x100"} + SentAfterRun("975 1048 1133");
        const QString settings = "| set 2048 max 400 | calc on e0e0e0 send on get on";
        const QString white300 = "raw 2150 2000 1850 2150 2000 1850 delta 300 cal ";
        const QString passPage = white300 + "2047 2046 2046 | cf 975 1048 1133 " + settings;
        const QString passSensor = "975 1048 1133 means 2150 2000 1850 300";
        const QString kept = "| cf 1000 1100 900 " + settings;
        const QString lostPage = white300 + "2150 2000 1850 " + kept;
        QTest::newRow("white tcp") << false << white << QList<int>{1, 1} << QStringList{} << false
                                   << passed << pass << 100 << passPage << passSensor;
        // Noise trails the echo of order 30 and of the last chunk: the flushes before the table
        // and before the closing loop throw it away.
        QTest::newRow("white pty, noise after echoes")
            << true << white << QList<int>{1, 1}
            << QStringList{"trail:30:101:4:once", "trail:182:121:4:once"} << false << passed
            << pass << 100 << passPage << passSensor;
        QTest::newRow("TEACH MEAN VAL during sampling starts no GO")
            << false << white << QList<int>{1, 1} << QStringList{} << true << passed << pass << 100
            << passPage << passSensor;
        // The fields go out as they stand; noise that trails the last sample's answer arrives
        // while the message is read and is flushed before order 30.
        QTest::newRow("coloured pty: spread")
            << true << Rgb{2400, 1800, 900} << QList<int>{1, 1} << QStringList{"trail:5:100:4:once"}
            << false << QStringList{"ATTENTION!|" + deltaText}
            << QStringList{"5 x100"} + SentAfterRun("1000 1100 900") << 100
            << "raw 2400 1800 900 2400 1800 900 delta 1500 cal 2343 1933 791 " + kept
            << "1000 1100 900 means 2400 1800 900 1500";
        QTest::newRow("too bright: range")
            << false << Rgb{3000, 2900, 2800} << QList<int>{1, 1} << QStringList{} << false
            << QStringList{"ATTENTION!|" + rangeText}
            << QStringList{"5 x100"} + SentAfterRun("1000 1100 900") << 100
            << "raw 3000 2900 2800 3000 2900 2800 delta 200 cal 2929 3115 2460 " + kept
            << "1000 1100 900 means 3000 2900 2800 200";
        QTest::newRow("calculation declined")
            << false << white << QList<int>{1, 0} << QStringList{} << false
            << QStringList{"INFO!|" + declinedText} << SentAfterRun("1000 1100 900") << 0
            << white300 + "2099 2148 1625 " + kept
            << "1000 1100 900 means 0 0 0 0";
        QTest::newRow("white target declined")
            << false << white << QList<int>{0} << QStringList{} << false << QStringList{}
            << QStringList{} << 0 << "raw    0 0 0 delta  cal 0 0 0 " + kept
            << "1024 1024 1024 means 0 0 0 0";
        // Lost samples: refused, nothing sent, no loop; a silent sensor costs one time-out.
        QTest::newRow("5 samples lost pty")
            << true << white << QList<int>{1, 1} << QStringList{"extra:5:96:4:once"} << false
            << QStringList{"ATTENTION!|" + lostText.arg(5)} << QStringList{"5 x96"} << 96
            << lostPage << "1024 1024 1024 means 0 0 0 0";
        QTest::newRow("sensor silent from sample 81")
            << false << white << QList<int>{1, 1} << QStringList{"noanswer:5:81"} << false
            << QStringList{"ATTENTION!|" + lostText.arg(20)} << QStringList{"5 x81"} << 81
            << lostPage << "1024 1024 1024 means 0 0 0 0";
        // The new factors or the table do not get through: said so, no loop.
        const QString unsentPage = white300 + "2150 2000 1850 | cf 975 1048 1133 " + settings;
        QTest::newRow("order 30 unanswered")
            << false << white << QList<int>{1, 1} << QStringList{"noanswer:30"} << false
            << QStringList{"ATTENTION!|" + cfNotSentText}
            << QStringList{"5 x100", "30 975 1048 1133"} << 100 << unsentPage
            << "975 1048 1133 means 2150 2000 1850 300";
        QTest::newRow("table chunk refused")
            << false << white << QList<int>{1, 1} << QStringList{"wrongecho:182"} << false
            << QStringList{"ATTENTION!|" + tableNotSentText}
            << QStringList{"5 x100"} + SentAfterRun("975 1048 1133").mid(0, 5) << 100
            << unsentPage << passSensor;
        // A loss in the closing loop ends it (the time-out reaction); the pass stands.
        QTest::newRow("closing loop ends at its first loss")
            << true << white << QList<int>{1, 1} << QStringList{"extra:5:123:4"} << false << passed
            << QStringList{"5 x100"} + SentAfterRun("975 1048 1133", {"5 x2"}) << 100 << passPage
            << passSensor;
    }

    void calibrationRun()
    {
        QFETCH(bool, serial);
        QFETCH(Rgb, target);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, faults);
        QFETCH(bool, teach);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, heard);
        QFETCH(int, samples);
        QFETCH(QString, page);
        QFETCH(QString, sensor);
        sim::SimThread serialSensor;
        sim::SimThread &peer = serial ? serialSensor : sim;
        if (serial) {
            DisconnectTCP();
            connectSerial(serialSensor);
            serialSensor.setNoise(0);
        }
        peer.setColour(target);
        Type(calibpanel->EditCFR, 1000);
        Type(calibpanel->EditCFG, 1100);
        Type(calibpanel->EditCFB, 900);
        meanR = meanG = meanB = meanD = 0;
        peer.clearFrames();
        for (const QString &f : faults)
            peer.addFault(*Fault::parse(f));
        for (int a : answers)
            popups->answerConfirm(a);
        // The operator reads each message for a while.
        popups->whileShown = [](const test::ShownPopup &p) {
            if (p.kind == QLatin1String("message"))
                QTest::qWait(700);
        };

        // CALCULATE's colour at each change, with the number of frames requested so far, and
        // whether it was dimmed while the run was on.
        QStringList blinks;
        PaletteWatch watch;
        watch.changed = [&] {
            blinks << QStringLiteral("%1:%2")
                          .arg(peer.frames().size())
                          .arg(ButtonColour(calibpanel->ButtonCalcCF), 6, 16, QChar(u'0'));
        };
        calibpanel->ButtonCalcCF->installEventFilter(&watch);
        bool calcDimmed = false;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            calcDimmed = calcDimmed || !calibpanel->ButtonCalcCF->isEnabled();
        });
        sampler.start(2);
        if (teach)
            QTimer::singleShot(150, ttpanel->ButtonTeachMeanVal, &QPushButton::click);
        QTimer::singleShot(300, mainpanel->ButtonStop, &QPushButton::click); // during sampling
        int closing = 0;
        SetFrameListener([&] {
            if (++closing == 3)
                QTest::mouseClick(mainpanel->ButtonStop, Qt::LeftButton);
        });
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [] { poll = 0; });
        safety.start(10000);
        QTest::mouseClick(calibpanel->ButtonCalcCF, Qt::LeftButton);
        SetFrameListener({});
        sampler.stop();
        calibpanel->ButtonCalcCF->removeEventFilter(&watch);

        QStringList confirms, shown;
        for (const test::ShownPopup &p : popups->shown)
            (p.kind == QLatin1String("confirm") ? confirms : shown) << p.title + u'|' + p.text;
        const QStringList expectConfirms =
            QStringList{QStringLiteral("SEND POWER|") + whiteTargetText,
                        QStringLiteral("CONFIRM CALCULATION!|") + confirmText}
                .mid(0, answers.size());
        QCOMPARE(confirms, expectConfirms);
        QCOMPARE(shown, messages);
        QCOMPARE(test::Heard(peer, heard, CalibFrame), test::Fold(heard));
        QCOMPARE(blinks.join(u' ') + (calcDimmed ? " dimmed" : ""),
                 Blinks(samples) + (answers[0] == 1 ? " dimmed" : ""));
        QCOMPARE(CalibPage(), page);
        const std::array<uint16_t, 3> cf = peer.calibrationFactors();
        QCOMPARE(QStringLiteral("%1 %2 %3 means %4 %5 %6 %7")
                     .arg(cf[0]).arg(cf[1]).arg(cf[2])
                     .arg(meanR).arg(meanG).arg(meanB).arg(meanD),
                 sensor);
    }

    // Closing the main window during the sampling: the factors and the table still go out, but
    // no closing loop starts that nothing could end any more.
    void closingDuringSamplingStartsNoLoop()
    {
        popups->answerConfirm(1);
        popups->answerConfirm(1);
        QTimer::singleShot(300, mainpanel, [] { mainpanel->close(); });
        QTimer::singleShot(0, calibpanel->ButtonCalcCF, &QPushButton::click);
        QTimer safety;
        QObject::connect(&safety, &QTimer::timeout, [] { poll = 0; });
        safety.start(8000);
        QCOMPARE(RunUserInterface(), 0);
        const QStringList heard = QStringList{"5 x100"} + SentAfterRun("975 1048 1133").mid(0, 23);
        QCOMPARE(test::Heard(sim, heard, CalibFrame), test::Fold(heard));
    }

    // Echo checks: the answer to one frame of an operation has one byte inverted, each of the 36
    // in turn. A byte inside the echo (the answer header and words 1 ... n-1) stops the
    // operation at that frame with the time-out reaction; a byte outside it is accepted.
    // Operations: 0 SEND to RAM, 1 SEND to EEPROM, 2 GET from EEPROM, 3 SEND CF.
    void echoComparesItsWordsOnly_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("frame"); // the frame whose answer is bent, counted from 1
        QTest::addColumn<int>("words"); // the echo length n
        QTest::addColumn<int>("frames"); // frames of the whole operation
        QTest::newRow("1 parameters") << 0 << 1 << 18 << 32;
        QTest::newRow("2 row 5") << 0 << 7 << 9 << 32;
        QTest::newRow("6 store") << 1 << 33 << 2 << 33;
        QTest::newRow("8 load") << 2 << 1 << 2 << 33;
        QTest::newRow("30 factors") << 3 << 1 << 5 << 21;
        QTest::newRow("180 table start") << 3 << 2 << 2 << 21;
        QTest::newRow("182 chunk 0") << 3 << 3 << 18 << 21;
        QTest::newRow("182 chunk 18") << 3 << 21 << 8 << 21;
    }

    void echoComparesItsWordsOnly()
    {
        QFETCH(int, operation);
        QFETCH(int, frame);
        QFETCH(int, words);
        QFETCH(int, frames);
        QPushButton *const buttons[] = {mainpanel->ButtonSend, mainpanel->ButtonSend,
                                        mainpanel->ButtonGet, calibpanel->ButtonSendCF};
        if (operation == 1 || operation == 2)
            QTest::mouseClick(mainpanel->SelectEEPROM, Qt::LeftButton);
        QStringList got, expected;
        for (int byte = 0; byte < 36; ++byte) {
            sim.clearFaults();
            sim.clearFrames();
            sim.addFault(Fault{Fault::WrongEcho, -1, frame, byte, true});
            SetStatusText(QString());
            QTest::mouseClick(mainpanel->ButtonCalibrate, Qt::LeftButton); // after TIMEOUT's page
            QTest::mouseClick(buttons[operation], Qt::LeftButton);
            got << QStringLiteral("byte %1: %2 frames, comecho %3, %4")
                       .arg(byte)
                       .arg(sim.frames().size())
                       .arg(comecho)
                       .arg(datapanel->DispStatus->text());
            const bool inside = byte < 2 * words;
            expected << QStringLiteral("byte %1: %2 frames, comecho %3, %4")
                            .arg(byte)
                            .arg(inside && operation != 1 ? frame : frames)
                            .arg(inside ? 0 : 1)
                            .arg(inside ? "TIMEOUT" : "");
        }
        QCOMPARE(got, expected);
    }
};

QTEST_MAIN(TestCalib)
#include "tst_calib.moc"
