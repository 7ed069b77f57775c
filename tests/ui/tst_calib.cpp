// White-light calibration and the cube-root table: the factor arithmetic without a window, then
// the calibration panel against the simulated sensor over loopback TCP and a pseudo-terminal,
// driven through its buttons: the frames on the wire, the popups, the factors and the table the
// sensor ends up holding.
#include "core/acquire/acquire.h"
#include "core/calib/calib.h"
#include "core/calib/calibarith.h"
#include "core/display/ramps.h"
#include "core/panels.h"
#include "core/panels/controls.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"
#include "tests/common/popupscript.h"
#include "ui/uitestutil.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <cstring>

using namespace tintra;
using tintra::sim::Fault;
using tintra::sim::Rgb;

Q_DECLARE_METATYPE(tintra::sim::Rgb)

namespace {

uint16_t W(const QByteArray &f, int word)
{
    return GetWord(reinterpret_cast<const unsigned char *>(f.constData()), word);
}

// The orders of `frames` with runs folded: "5x100 30 180 182x19 5x3".
QString OrderRuns(const QList<QByteArray> &frames)
{
    QStringList out;
    for (int i = 0; i < frames.size();) {
        int j = i;
        while (j < frames.size() && W(frames[j], 1) == W(frames[i], 1))
            ++j;
        out << (j - i == 1 ? QString::number(W(frames[i], 1))
                           : QStringLiteral("%1x%2").arg(W(frames[i], 1)).arg(j - i));
        i = j;
    }
    return out.join(u' ');
}

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

    // SEND CF: order 30 with the fields as typed, then the table; the sensor holds both.
    void sendCFThenTable()
    {
        Type(calibpanel->EditCFR, 1000);
        Type(calibpanel->EditCFG, 1100);
        Type(calibpanel->EditCFB, 900);
        const double t0 = Timer();
        QTest::mouseClick(calibpanel->ButtonSendCF, Qt::LeftButton);
        const double took = Timer() - t0;
        const QList<QByteArray> f = sim.frames();
        QCOMPARE(OrderRuns(f), QStringLiteral("30 180 182x19"));
        QCOMPARE((QList<int>{W(f[0], 0), W(f[0], 2), W(f[0], 3), W(f[0], 4)}),
                 (QList<int>{85, 1000, 1100, 900}));
        QCOMPARE(int(W(f[1], 2)), 5888);
        // First chunk: address 5888, 14 entries from entry 0 (0, 2519, ...).
        QCOMPARE((QList<int>{W(f[2], 2), W(f[2], 3), W(f[2], 4), W(f[2], 5)}),
                 (QList<int>{5888, 14, 0, 2519}));
        // The 19th: address 6140, count 4, entries 252 ... 255.
        QCOMPARE((QList<int>{W(f[20], 2), W(f[20], 3), W(f[20], 7)}), (QList<int>{6140, 4, 15979}));
        QCOMPARE(sim.calibrationFactors(), (std::array<uint16_t, 3>{1000, 1100, 900}));
        QCOMPARE(sim.rootTable()[255], uint16_t(15979));
        QCOMPARE(sim.rootTable()[1], uint16_t(2519));
        QVERIFY2(took >= 0.19 && took < 2.0, qPrintable(QString::number(took)));
        QCOMPARE(comecho, uint16_t(1));
        QVERIFY(popups->shown.isEmpty());
        QVERIFY(calibpanel->ButtonSendCF->isEnabled());
    }

    void badEchoStopsTheTransfer_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("orders");
        QTest::newRow("order 30") << "wrongecho:30" << "30";
        QTest::newRow("order 180") << "wrongecho:180" << "30 180";
        // Frames after the fault: 30, 180, then chunk b is frame 3 + b; chunk 5 is the sixth.
        QTest::newRow("chunk 5") << "wrongecho:182:8" << "30 180 182x6";
        // The last entry of a chunk is part of its echo check.
        QTest::newRow("last entry") << "wrongecho:182:2:35" << "30 180 182";
    }

    void badEchoStopsTheTransfer()
    {
        QFETCH(QString, fault);
        QFETCH(QString, orders);
        sim.addFault(*Fault::parse(fault));
        QTest::mouseClick(calibpanel->ButtonSendCF, Qt::LeftButton);
        QCOMPARE(OrderRuns(sim.frames()), orders);
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
        QCOMPARE(OrderRuns(sim.frames()), QStringLiteral("31"));
        QCOMPARE((QList<int>{calibpanel->EditCFR->value(), calibpanel->EditCFG->value(),
                             calibpanel->EditCFB->value()}),
                 fields);
        QCOMPARE(datapanel->DispStatus->text() == QStringLiteral("TIMEOUT"), !fault.isEmpty());
        if (fault.isEmpty())
            QCOMPARE((QList<int>{pp[0], pp[1], pp[2], cfrot, cfgruen, cfblau}),
                     (QList<int>{170, 31, 900, 900, 1000, 1250}));
        QVERIFY(calibpanel->ButtonGetCF->isEnabled());
    }

    // The whole run from CALCULATE CALIBRATION FACTORS, over TCP and a pseudo-terminal. STOP is
    // pressed during the sampling (which goes on) and after three frames of the closing loop.
    void calibrationRun_data()
    {
        QTest::addColumn<bool>("serial");
        QTest::addColumn<Rgb>("target");
        QTest::addColumn<QList<int>>("answers");  // to SEND POWER, CONFIRM CALCULATION!
        QTest::addColumn<QString>("message");     // title|text of the one message, or empty
        QTest::addColumn<QString>("orders");
        QTest::addColumn<QList<int>>("sent");     // order 30's factors
        const Rgb white{2150, 2000, 1850};
        const QString all = QStringLiteral("5x100 30 180 182x19 5x3");
        const QString passed = QStringLiteral("CALIBRATION PASSED!|") + passedText;
        const QList<int> computed{975, 1048, 1133}, previous{1024, 1024, 1024};
        QTest::newRow("white tcp") << false << white << QList<int>{1, 1} << passed << all
                                   << computed;
        QTest::newRow("white pty") << true << white << QList<int>{1, 1} << passed << all
                                   << computed;
        QTest::newRow("coloured: spread")
            << false << Rgb{2400, 1800, 900} << QList<int>{1, 1}
            << QStringLiteral("ATTENTION!|") + deltaText << all << previous;
        QTest::newRow("too bright: range")
            << false << Rgb{3000, 2900, 2800} << QList<int>{1, 1}
            << QStringLiteral("ATTENTION!|") + rangeText << all << previous;
        QTest::newRow("calculation declined")
            << false << white << QList<int>{1, 0} << QStringLiteral("INFO!|") + declinedText
            << QStringLiteral("30 180 182x19 5x3") << previous;
        QTest::newRow("white target declined")
            << false << white << QList<int>{0} << QString() << QString() << QList<int>{};
    }

    void calibrationRun()
    {
        QFETCH(bool, serial);
        QFETCH(Rgb, target);
        QFETCH(QList<int>, answers);
        QFETCH(QString, message);
        QFETCH(QString, orders);
        QFETCH(QList<int>, sent);
        sim::SimThread serialSensor;
        sim::SimThread &sensor = serial ? serialSensor : sim;
        if (serial) {
            DisconnectTCP();
            connectSerial(serialSensor);
            serialSensor.setNoise(0);
            serialSensor.clearFrames();
        }
        sensor.setColour(target);
        for (int a : answers)
            popups->answerConfirm(a);

        // Colours of CALCULATE and dimming seen while the run is on.
        QSet<unsigned> colours;
        bool calcDimmed = false;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            colours << ButtonColour(calibpanel->ButtonCalcCF);
            calcDimmed = calcDimmed || !calibpanel->ButtonCalcCF->isEnabled();
        });
        sampler.start(2);
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

        QStringList confirms;
        for (const test::ShownPopup &p : popups->shown)
            if (p.kind == QLatin1String("confirm"))
                confirms << p.title + u'|' + p.text;
        const QStringList expectConfirms =
            QStringList{QStringLiteral("SEND POWER|") + whiteTargetText,
                        QStringLiteral("CONFIRM CALCULATION!|") + confirmText}
                .mid(0, answers.size());
        QCOMPARE(confirms, expectConfirms);
        QStringList messages;
        for (const test::ShownPopup &p : popups->messages())
            messages << p.title + u'|' + p.text;
        QCOMPARE(messages, message.isEmpty() ? QStringList{} : QStringList{message});

        const QList<QByteArray> f = sensor.frames();
        QCOMPARE(OrderRuns(f), orders);
        QVERIFY(calibpanel->ButtonCalcCF->isEnabled());
        QCOMPARE(ButtonColour(calibpanel->ButtonCalcCF), 0xE0E0E0u);
        if (sent.isEmpty())
            return;
        QVERIFY(calcDimmed);
        const int at30 = orders.startsWith(u'5') ? 100 : 0;
        QCOMPARE((QList<int>{W(f[at30], 2), W(f[at30], 3), W(f[at30], 4)}), sent);
        QCOMPARE((QList<int>{calibpanel->EditCFR->value(), calibpanel->EditCFG->value(),
                             calibpanel->EditCFB->value()}),
                 sent);
        QCOMPARE(sensor.calibrationFactors(),
                 (std::array<uint16_t, 3>{uint16_t(sent[0]), uint16_t(sent[1]), uint16_t(sent[2])}));
        if (at30)
            QVERIFY(colours.contains(0xFF0000u)); // blinked during the sampling
        if (sent[0] == 975) {
            // The means of the run, and the calibrated values of the closing loop near SET VALUE.
            QCOMPARE((QList<int>{meanR, meanG, meanB, meanD}), (QList<int>{2150, 2000, 1850, 300}));
            for (uint16_t v : {dataR, dataG, dataB})
                QVERIFY2(v >= 2046 && v <= 2048, qPrintable(QString::number(v)));
            QCOMPARE(calibpanel->DispRawDelta->text(), QStringLiteral("300"));
        }
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
        QCOMPARE(OrderRuns(sim.frames()), QStringLiteral("5x100 30 180 182x19"));
    }

    // 10 of the 100 samples lost (surplus bytes on the serial line): the means fall to 90 %.
    void lostSamplesLowerTheMeans()
    {
        DisconnectTCP();
        sim::SimThread serialSensor;
        connectSerial(serialSensor);
        serialSensor.setNoise(0);
        serialSensor.setColour({2150, 2000, 1850});
        serialSensor.addFault(*Fault::parse(QStringLiteral("extra:5:91:4"))); // samples 91 ... 100
        popups->answerConfirm(1);
        popups->answerConfirm(1);
        QTest::mouseClick(calibpanel->ButtonCalcCF, Qt::LeftButton);
        QCOMPARE((QList<int>{meanR, meanG, meanB, meanD}), (QList<int>{1935, 1800, 1665, 270}));
        // The sampling went on after each loss; the closing loop ended at its first loss.
        QCOMPARE(OrderRuns(serialSensor.frames()), QStringLiteral("5x100 30 180 182x19 5"));
        QCOMPARE(popups->messages().last().title, QStringLiteral("CALIBRATION PASSED!"));
        QCOMPARE(serialSensor.calibrationFactors(), (std::array<uint16_t, 3>{1083, 1165, 1259}));
        QCOMPARE(datapanel->DispStatus->text(), QStringLiteral("TIMEOUT"));
    }
};

QTEST_MAIN(TestCalib)
#include "tst_calib.moc"
