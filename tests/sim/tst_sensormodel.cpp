// The simulated sensor's model without any link: order handling, measurement and faults' text.
#include "sim/fault.h"
#include "sim/sensormodel.h"
#include "simclient.h"

#include <QtTest>

using namespace tintra;
using namespace tintra::sim;
using tintra::test::Frame;
using tintra::test::Word;

Q_DECLARE_METATYPE(tintra::sim::Rgb)

namespace {

const unsigned char *bytes(const QByteArray &a)
{
    return reinterpret_cast<const unsigned char *>(a.constData());
}

// A model with a quiet, fixed target.
SensorModel quietModel(Rgb colour)
{
    SensorModel m;
    m.scene = Scene::Fixed;
    m.colour = colour;
    m.noise = 0;
    return m;
}

void setRow(Image &im, int r, std::initializer_list<uint16_t> words)
{
    int k = 0;
    for (uint16_t v : words)
        im[16 + 7 * r + k++] = v;
}

} // namespace

class TestSensorModel : public QObject {
    Q_OBJECT

private slots:
    // ---- arithmetic ----------------------------------------------------------------------

    void rootTableMatchesTheDownloadedOne()
    {
        const RootTable t = defaultRootTable();
        QCOMPARE(t[0], 0);
        QCOMPARE(t[1], 2519);
        QCOMPARE(t[2], 3174);
        QCOMPARE(t[8], 5039);
        QCOMPARE(t[254], 15958);
        QCOMPARE(t[255], 15979);
        QVERIFY(t[4] == 3999 || t[4] == 4000);
    }

    void calibration_data()
    {
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("cf");
        QTest::addColumn<int>("calibrated");
        QTest::newRow("factor 1.0") << 2000 << 1024 << 2000;
        QTest::newRow("factor 0.75") << 2000 << 768 << 1500;
        QTest::newRow("truncates") << 3 << 1300 << 3;
        QTest::newRow("limited to 12 bits") << 4000 << 1300 << 4095;
        QTest::newRow("no 16-bit overflow") << 4095 << 65535 << 4095;
        QTest::newRow("zero factor") << 4095 << 0 << 0;
    }
    void calibration()
    {
        QFETCH(int, raw);
        QFETCH(int, cf);
        QFETCH(int, calibrated);
        QCOMPARE(int(calibrate(uint16_t(raw), uint16_t(cf))), calibrated);
    }

    void coordinates_data()
    {
        QTest::addColumn<int>("calcmode");
        QTest::addColumn<Rgb>("rgb");
        QTest::addColumn<int>("c1");
        QTest::addColumn<int>("c2");
        QTest::addColumn<int>("c3");
        // X/Y/INT: X = 4095 R / sum, Y = 4095 G / sum, INT = sum / 3.
        QTest::newRow("xy grey") << 0 << Rgb{900, 900, 900} << 1365 << 1365 << 900;
        QTest::newRow("xy red") << 0 << Rgb{3000, 600, 500} << 2996 << 599 << 1366;
        QTest::newRow("xy pure red") << 2 << Rgb{4095, 0, 0} << 4095 << 0 << 1365;
        QTest::newRow("xy black") << 0 << Rgb{0, 0, 0} << 0 << 0 << 0;
        QTest::newRow("xy pure blue") << 2 << Rgb{0, 0, 4095} << 0 << 0 << 1365;
        // s/i/M from cube roots: neutral colours sit at s 5000, i 2000.
        QTest::newRow("si black") << 1 << Rgb{0, 0, 0} << 5000 << 2000 << 0;
        QTest::newRow("si white") << 3 << Rgb{4095, 4095, 4095} << 5000 << 2000 << 1198;
        QTest::newRow("si pure red") << 1 << Rgb{4095, 0, 0} << 9993 << 2000 << 399;
        QTest::newRow("si pure green") << 3 << Rgb{0, 4095, 0} << 7 << 3997 << 399;
        QTest::newRow("si pure blue") << 1 << Rgb{0, 0, 4095} << 5000 << 3 << 399;
    }
    void coordinates()
    {
        QFETCH(int, calcmode);
        QFETCH(Rgb, rgb);
        QFETCH(int, c1);
        QFETCH(int, c2);
        QFETCH(int, c3);
        const Coordinates c = coordinatesFor(uint16_t(calcmode), rgb, defaultRootTable());
        QCOMPARE(int(c.c1), c1);
        QCOMPARE(int(c.c2), c2);
        QCOMPARE(int(c.c3), c3);
    }

    void siMStaysInTheGraphedRanges()
    {
        const RootTable root = defaultRootTable();
        for (int r = 0; r <= 4095; r += 455)
            for (int g = 0; g <= 4095; g += 455)
                for (int b = 0; b <= 4095; b += 455) {
                    const Coordinates c = siM({uint16_t(r), uint16_t(g), uint16_t(b)}, root);
                    QVERIFY(c.c1 <= sMax);
                    QVERIFY(c.c2 <= iMax);
                    QVERIFY(c.c3 <= mMax);
                }
    }

    void matching_data()
    {
        QTest::addColumn<int>("calcmode");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("c1");
        QTest::addColumn<int>("c2");
        QTest::addColumn<int>("c3");
        QTest::addColumn<int>("expected");
        // Plane rows: row 0 X 1000 Y 1000 CTO 100 INT 2000 ITO 200; row 1 the same point with
        // a larger tolerance; row 2 elsewhere.
        QTest::newRow("plane centre") << 0 << 5 << 1000 << 1000 << 2000 << 0;
        QTest::newRow("plane on the circle") << 0 << 5 << 1060 << 1080 << 2000 << 0;
        QTest::newRow("plane just outside -> wider row") << 0 << 5 << 1061 << 1080 << 2000 << 1;
        QTest::newRow("plane INT at tolerance") << 0 << 5 << 1000 << 1000 << 2200 << 0;
        QTest::newRow("plane INT beyond, row 1 too") << 1 << 5 << 1000 << 1000 << 2201 << 255;
        QTest::newRow("plane only row 0 checked") << 0 << 1 << 1101 << 1000 << 2000 << 255;
        QTest::newRow("plane nothing checked") << 0 << 0 << 1000 << 1000 << 2000 << 255;
        QTest::newRow("plane third row") << 1 << 5 << 3000 << 500 << 900 << 2;
        QTest::newRow("plane third row not checked") << 1 << 2 << 3000 << 500 << 900 << 255;
        // Space rows: row 0 (1000, 1000, 2000) TOL 100.
        QTest::newRow("space centre") << 2 << 5 << 1000 << 1000 << 2000 << 0;
        QTest::newRow("space on the sphere") << 2 << 5 << 1060 << 1000 << 2080 << 0;
        QTest::newRow("space outside in 3-D only") << 3 << 5 << 1060 << 1000 << 2081 << 255;
        QTest::newRow("space rows beyond 31 ignored") << 2 << 40 << 3000 << 3000 << 3000 << 255;
    }
    void matching()
    {
        QFETCH(int, calcmode);
        QFETCH(int, rows);
        QFETCH(int, c1);
        QFETCH(int, c2);
        QFETCH(int, c3);
        QFETCH(int, expected);
        Image im{};
        if (calcmode == 0 || calcmode == 1) {
            setRow(im, 0, {1000, 1000, 100, 2000, 200});
            setRow(im, 1, {1000, 1000, 150, 2000, 200});
            setRow(im, 2, {3000, 500, 50, 900, 10});
        } else {
            setRow(im, 0, {1000, 1000, 2000, 100, 0});
            setRow(im, 1, {1000, 1000, 2000, 20, 0});
        }
        const Coordinates p{uint16_t(c1), uint16_t(c2), uint16_t(c3)};
        QCOMPARE(int(matchColour(im, uint16_t(calcmode), p, rows)), expected);
    }

    // ---- orders --------------------------------------------------------------------------

    void parametersAndRowsAreStoredAndEchoed()
    {
        SensorModel m;
        QByteArray f = Frame(OrderSendPara, {700, 1, 4, 2, 20, 300, 9, 0, 2, 1, 3, 500, 2500,
                                             1, 2, 7});
        QByteArray a = m.handleFrame(bytes(f), 0);
        QCOMPARE(a.size(), frameBytes);
        QCOMPARE(a.left(2), QByteArray::fromHex("00AA"));
        QCOMPARE(a.mid(2), f.mid(2));
        QCOMPARE(m.ram[0], 700);
        QCOMPARE(m.ram[10], 3);
        QCOMPARE(m.ram[15], 7);

        f = Frame(OrderSendRow, {30, 11, 12, 13, 14, 15, 16, 17, 0xBEEF});
        a = m.handleFrame(bytes(f), 0);
        QCOMPARE(a.mid(2), f.mid(2));
        QCOMPARE(a.left(2), QByteArray::fromHex("00AA"));
        QCOMPARE(m.ram[226], 11);
        QCOMPARE(m.ram[232], 17);
        QCOMPARE(m.eeprom[226], SensorModel::defaultImage()[226]); // RAM only
    }

    void rowOutsideTheTableIsRefused()
    {
        SensorModel m;
        const Image before = m.ram;
        const QByteArray f = Frame(OrderSendRow, {31, 1, 2, 3, 4, 5, 6, 7});
        QVERIFY(m.handleFrame(bytes(f), 0).isEmpty());
        QVERIFY(m.ram == before);
    }

    void parameterAndRowAnswers()
    {
        SensorModel m;
        m.ram[0] = 0x1234;
        m.ram[15] = 6;
        QByteArray a = m.handleFrame(bytes(Frame(OrderGetPara, {9, 9, 9})), 0);
        QCOMPARE(a.size(), frameBytes);
        QCOMPARE(Word(a, 0), answerHeader);
        QCOMPARE(Word(a, 1), 3);
        QCOMPARE(Word(a, 2), 0x1234);
        for (int k = 1; k < 16; ++k)
            QCOMPARE(Word(a, 2 + k), m.ram[k]);

        setRow(m.ram, 7, {101, 102, 103, 104, 105, 3, 44});
        a = m.handleFrame(bytes(Frame(OrderGetRow, {7})), 0);
        QCOMPARE(Word(a, 0), answerHeader);
        QCOMPARE(Word(a, 1), 4);
        QCOMPARE(Word(a, 2), 7);
        const uint16_t expected[] = {101, 102, 103, 104, 105, 3, 44};
        for (int k = 0; k < 7; ++k)
            QCOMPARE(Word(a, 3 + k), expected[k]);
        for (int k = 10; k < 18; ++k)
            QCOMPARE(Word(a, k), 0);

        a = m.handleFrame(bytes(Frame(OrderGetRow, {31})), 0);
        QCOMPARE(Word(a, 1), 4);
        QCOMPARE(Word(a, 2), 31);
        QCOMPARE(a.mid(6), QByteArray(30, '\0'));
    }

    void eepromCopies()
    {
        SensorModel m;
        m.handleFrame(bytes(Frame(OrderSendPara, {111})), 0);
        QByteArray a = m.handleFrame(bytes(Frame(OrderStoreEeprom)), 0);
        QCOMPARE(Word(a, 0), answerHeader);
        QCOMPARE(Word(a, 1), 6);
        QCOMPARE(m.eeprom[0], 111);
        m.handleFrame(bytes(Frame(OrderSendPara, {222})), 0);
        QCOMPARE(m.ram[0], 222);
        a = m.handleFrame(bytes(Frame(OrderLoadEeprom)), 0);
        QCOMPARE(Word(a, 1), 8);
        QCOMPARE(m.ram[0], 111);
    }

    void identification_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("short") << QByteArray("ABCD") << QByteArray("ABCD") + QByteArray(32, '\0');
        QTest::newRow("exactly 36") << QByteArray(36, 'Z') << QByteArray(36, 'Z');
        QTest::newRow("cut to 36") << QByteArray(40, 'Q') << QByteArray(36, 'Q');
        QTest::newRow("empty") << QByteArray() << QByteArray(36, '\0');
    }
    void identification()
    {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, answer);
        SensorModel m;
        m.idText = id;
        QCOMPARE(m.handleFrame(bytes(Frame(OrderIdent)), 0), answer);
    }

    void calibrationFactors()
    {
        SensorModel m;
        const QByteArray f = Frame(OrderSendCF, {1000, 1100, 1200, 77});
        QByteArray a = m.handleFrame(bytes(f), 0);
        QCOMPARE(a.mid(2), f.mid(2));
        QCOMPARE(m.cf[0], 1000);
        QCOMPARE(m.cf[2], 1200);
        a = m.handleFrame(bytes(Frame(OrderGetCF, {5, 5, 5})), 0);
        QCOMPARE(Word(a, 0), answerHeader);
        QCOMPARE(Word(a, 1), 31);
        QCOMPARE(Word(a, 2), 1000);
        QCOMPARE(Word(a, 3), 1100);
        QCOMPARE(Word(a, 4), 1200);
        QCOMPARE(Word(a, 5), 0);
    }

    void rootTableDownload()
    {
        SensorModel m;
        m.rootTable.fill(0);
        QByteArray f = Frame(OrderRootStart, {rootTableBase});
        QCOMPARE(m.handleFrame(bytes(f), 0).mid(2), f.mid(2));
        // The last block: 4 entries at 6140.
        f = Frame(OrderRootBlock, {6140, 4, 15911, 15932, 15958, 15979});
        const QByteArray a = m.handleFrame(bytes(f), 0);
        QCOMPARE(a.left(2), QByteArray::fromHex("00AA"));
        QCOMPARE(a.mid(2), f.mid(2));
        QCOMPARE(m.rootTable[252], 15911);
        QCOMPARE(m.rootTable[255], 15979);
        QCOMPARE(m.rootTable[251], 0);
    }

    void badRootBlocksAreRefused_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("count");
        QTest::newRow("count 0") << 5888 << 0;
        QTest::newRow("count 15") << 5888 << 15;
        QTest::newRow("before the table") << 5887 << 4;
        QTest::newRow("past the end") << 6141 << 4;
    }
    void badRootBlocksAreRefused()
    {
        QFETCH(int, address);
        QFETCH(int, count);
        SensorModel m;
        const RootTable before = m.rootTable;
        const QByteArray f = Frame(OrderRootBlock, {uint16_t(address), uint16_t(count), 1, 2, 3, 4});
        QVERIFY(m.handleFrame(bytes(f), 0).isEmpty());
        QVERIFY(m.rootTable == before);
    }

    void silentOrders_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("auto send on") << Frame(OrderAutoSend, {1});
        QTest::newRow("unknown order") << Frame(99);
        QTest::newRow("order 0") << Frame(0);
        QByteArray noSync = Frame(OrderGetPara);
        noSync[1] = 0x56;
        QTest::newRow("no sync word") << noSync;
    }
    void silentOrders()
    {
        QFETCH(QByteArray, frame);
        SensorModel m;
        QVERIFY(m.handleFrame(bytes(frame), 0).isEmpty());
    }

    void autoSendSwitch()
    {
        SensorModel m;
        QVERIFY(!m.autoSend);
        m.handleFrame(bytes(Frame(OrderAutoSend, {1})), 0);
        QVERIFY(m.autoSend);
        m.handleFrame(bytes(Frame(OrderAutoSend, {0})), 0);
        QVERIFY(!m.autoSend);
    }

    // ---- data frames ---------------------------------------------------------------------

    void dataFrameLayout_data()
    {
        QTest::addColumn<int>("calcmode");
        QTest::addColumn<Rgb>("rgb");
        QTest::addColumn<int>("c1");
        QTest::addColumn<int>("c2");
        QTest::addColumn<int>("c3");
        QTest::newRow("X/Y INT") << 0 << Rgb{1000, 2000, 3000} << 682 << 1365 << 2000;
        QTest::newRow("X/Y/INT") << 2 << Rgb{1000, 2000, 3000} << 682 << 1365 << 2000;
        const Coordinates si = siM({1000, 2000, 3000}, defaultRootTable());
        QTest::newRow("s/i M") << 1 << Rgb{1000, 2000, 3000} << int(si.c1) << int(si.c2)
                               << int(si.c3);
        QTest::newRow("s/i/M") << 3 << Rgb{1000, 2000, 3000} << int(si.c1) << int(si.c2)
                               << int(si.c3);
    }
    void dataFrameLayout()
    {
        QFETCH(int, calcmode);
        QFETCH(Rgb, rgb);
        QFETCH(int, c1);
        QFETCH(int, c2);
        QFETCH(int, c3);
        SensorModel m = quietModel(rgb);
        m.ram[10] = uint16_t(calcmode);
        m.ram[6] = 0; // no rows checked: the start-up rows are laid out for the plane modes
        const QByteArray a = m.handleFrame(bytes(Frame(OrderData)), 60000);
        QCOMPARE(a.size(), frameBytes);
        QCOMPARE(Word(a, 0), answerHeader);
        QCOMPARE(Word(a, 1), 5);
        QCOMPARE(Word(a, 2), rgb.r); // calibrated with factor 1.0
        QCOMPARE(Word(a, 3), rgb.g);
        QCOMPARE(Word(a, 4), rgb.b);
        QCOMPARE(int(Word(a, 5)), c1);
        QCOMPARE(int(Word(a, 6)), c2);
        QCOMPARE(int(Word(a, 7)), c3);
        QCOMPARE(Word(a, 8), noColour);
        QCOMPARE(Word(a, 9), rgb.r);    // raw
        QCOMPARE(Word(a, 10), rgb.g);
        QCOMPARE(Word(a, 11), rgb.b);
        QVERIFY(Word(a, 12) >= 30 && Word(a, 12) <= 40);
        QCOMPARE(Word(a, 13), noColour);
        QCOMPARE(Word(a, 14), 0); // fixed scene: no trigger
        QCOMPARE(Word(a, 15), 0); // first frame
        QCOMPARE(Word(a, 16), 0);
        QCOMPARE(Word(a, 17), 0);
        QCOMPARE(Word(m.handleFrame(bytes(Frame(OrderData)), 60000), 15), 1);
    }

    void calibrationFactorsScaleTheCalibratedValues()
    {
        SensorModel m = quietModel({2000, 2000, 4000});
        m.cf = {512, 1024, 1200};
        const QByteArray a = m.dataFrame(0);
        QCOMPARE(Word(a, 2), 1000);
        QCOMPARE(Word(a, 3), 2000);
        QCOMPARE(Word(a, 4), 4095);
        QCOMPARE(Word(a, 9), 2000);
        QCOMPARE(Word(a, 11), 4000);
        // Coordinates come from the calibrated values: 4095 * 1000 / 7095.
        QCOMPARE(Word(a, 5), 577);
    }

    void colourNumberAndGroup_data()
    {
        QTest::addColumn<int>("calcmode");
        QTest::addColumn<int>("intlim");
        QTest::addColumn<bool>("groups");
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("group");
        // Row 3 is taught at the fixed colour; its group entry is 17.
        QTest::newRow("plane match, groups off") << 0 << 0 << false << 3 << 3;
        QTest::newRow("plane match, groups on") << 0 << 0 << true << 3 << 17;
        QTest::newRow("space match") << 2 << 0 << true << 3 << 17;
        QTest::newRow("s/i plane match") << 1 << 0 << false << 3 << 3;
        QTest::newRow("s/i space match") << 3 << 0 << true << 3 << 17;
        QTest::newRow("INT at INTLIM still matches") << 0 << 1000 << false << 3 << 3;
        QTest::newRow("INT below INTLIM") << 0 << 1001 << true << 255 << 255;
        QTest::newRow("space INT below INTLIM") << 2 << 1001 << false << 255 << 255;
    }
    void colourNumberAndGroup()
    {
        QFETCH(int, calcmode);
        QFETCH(int, intlim);
        QFETCH(bool, groups);
        QFETCH(int, colour);
        QFETCH(int, group);
        const Rgb rgb{1500, 1000, 500}; // INT 1000
        SensorModel m = quietModel(rgb);
        m.ram[5] = uint16_t(intlim);
        m.ram[6] = 31;
        m.ram[10] = uint16_t(calcmode);
        m.ram[13] = groups ? 1 : 0;
        const Coordinates p = coordinatesFor(uint16_t(calcmode), rgb, m.rootTable);
        if (calcmode == 0 || calcmode == 1)
            setRow(m.ram, 3, {p.c1, p.c2, 30, p.c3, 30, 17});
        else
            setRow(m.ram, 3, {p.c1, p.c2, p.c3, 30, 1, 17});
        const QByteArray a = m.dataFrame(0);
        QCOMPARE(int(Word(a, 8)), colour);
        QCOMPARE(int(Word(a, 13)), group);
    }

    void col5ChecksFiveRows()
    {
        const Rgb rgb{1500, 1000, 500};
        SensorModel m = quietModel(rgb);
        const Coordinates p = xyInt(rgb);
        setRow(m.ram, 6, {p.c1, p.c2, 30, p.c3, 30});
        m.ram[6] = 31;
        QCOMPARE(Word(m.dataFrame(0), 8), 6);
        m.ram[3] = 3; // EVALMODE COL5: rows 0 ... 4 only
        QCOMPARE(Word(m.dataFrame(0), 8), noColour);
        m.ram[3] = 0;
        m.ram[6] = 6; // MAXCOL-No. 6: rows 0 ... 5
        QCOMPARE(Word(m.dataFrame(0), 8), noColour);
    }

    void cycleSceneShowsTheTaughtColoursInTurn()
    {
        SensorModel m;
        m.noise = 4;
        const int period = m.cyclePeriodMs;
        const uint16_t expected[] = {0, 1, 2, 3, 4, noColour};
        for (int step = 0; step < 6; ++step) {
            const QByteArray early = m.dataFrame(qint64(step) * period + 10);
            const QByteArray late = m.dataFrame(qint64(step) * period + period * 3 / 4);
            QCOMPARE(Word(early, 8), expected[step]);
            QCOMPARE(Word(late, 8), expected[step]);
            QCOMPARE(Word(early, 14), 1); // trigger in the first half of each colour
            QCOMPARE(Word(late, 14), 0);
        }
        QCOMPARE(Word(m.dataFrame(6 * period + 1), 8), 0); // and round again
    }

    void noiseIsSmallAndPresent()
    {
        SensorModel m = quietModel({2000, 2000, 2000});
        m.noise = 4;
        QSet<int> seen;
        for (int i = 0; i < 200; ++i) {
            const int r = Word(m.dataFrame(0), 9);
            QVERIFY(r >= 1996 && r <= 2004);
            seen.insert(r);
        }
        QVERIFY(seen.size() > 3);
    }

    void temperatureDrifts()
    {
        SensorModel m;
        int lo = 100, hi = 0;
        for (qint64 t = 0; t < 120000; t += 1000) {
            lo = std::min<int>(lo, m.temperature(t));
            hi = std::max<int>(hi, m.temperature(t));
            QVERIFY(std::abs(int(m.temperature(t + 1000)) - int(m.temperature(t))) <= 1);
        }
        QCOMPARE(lo, 30);
        QCOMPARE(hi, 40);
    }

    // ---- fault text ----------------------------------------------------------------------

    void faultParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("fromFrame");
        QTest::addColumn<int>("arg");
        QTest::addColumn<bool>("once");
        QTest::newRow("kind only") << "noanswer" << true << int(Fault::NoAnswer) << -1 << 1 << -1
                                   << false;
        QTest::newRow("order") << "short:5" << true << int(Fault::ShortAnswer) << 5 << 1 << -1
                               << false;
        QTest::newRow("any order from 3") << "EXTRA:*:3:10" << true << int(Fault::ExtraBytes)
                                          << -1 << 3 << 10 << false;
        QTest::newRow("empty fields") << "delay:::800" << true << int(Fault::Delay) << -1 << 1
                                      << 800 << false;
        QTest::newRow("once") << "wrongecho:1:2:7:once" << true << int(Fault::WrongEcho) << 1
                              << 2 << 7 << true;
        QTest::newRow("split") << "split:3::4" << true << int(Fault::Split) << 3 << 1 << 4
                               << false;
        QTest::newRow("close") << "close:7" << true << int(Fault::Close) << 7 << 1 << -1 << false;
        QTest::newRow("trail") << "trail:30:101:4:once" << true << int(Fault::Trail) << 30 << 101
                               << 4 << true;
        QTest::newRow("unknown kind") << "explode" << false << 0 << 0 << 0 << 0 << false;
        QTest::newRow("bad order") << "short:x" << false << 0 << 0 << 0 << 0 << false;
        QTest::newRow("frame 0") << "short:5:0" << false << 0 << 0 << 0 << 0 << false;
        QTest::newRow("negative arg") << "delay:5:1:-3" << false << 0 << 0 << 0 << 0 << false;
        QTest::newRow("byte past frame") << "wrongecho:1:1:36" << false << 0 << 0 << 0 << 0
                                         << false;
        QTest::newRow("split into 0") << "split:5:1:0" << false << 0 << 0 << 0 << 0 << false;
        QTest::newRow("not once") << "short:5:1:1:twice" << false << 0 << 0 << 0 << 0 << false;
        QTest::newRow("too many") << "short:5:1:1:once:x" << false << 0 << 0 << 0 << 0 << false;
    }
    void faultParsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QString error;
        const auto f = Fault::parse(text, &error);
        QCOMPARE(f.has_value(), valid);
        if (!valid) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QFETCH(int, kind);
        QFETCH(int, order);
        QFETCH(int, fromFrame);
        QFETCH(int, arg);
        QFETCH(bool, once);
        QCOMPARE(int(f->kind), kind);
        QCOMPARE(f->order, order);
        QCOMPARE(f->fromFrame, fromFrame);
        QCOMPARE(f->arg, arg);
        QCOMPARE(f->once, once);
        // The text form reads back as the same fault.
        const auto again = Fault::parse(f->toString());
        QVERIFY(again.has_value());
        QCOMPARE(int(again->kind), kind);
        QCOMPARE(again->order, order);
        QCOMPARE(again->fromFrame, fromFrame);
        QCOMPARE(again->arg, arg);
        QCOMPARE(again->once, once);
    }

    void faultSelection()
    {
        Fault f;
        f.order = 5;
        f.fromFrame = 3;
        QVERIFY(!f.appliesTo(5, 2));
        QVERIFY(f.appliesTo(5, 3));
        QVERIFY(!f.appliesTo(3, 3));
        f.order = -1;
        QVERIFY(f.appliesTo(3, 4));
    }
};

QTEST_GUILESS_MAIN(TestSensorModel)
#include "tst_sensormodel.moc"
