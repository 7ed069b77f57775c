#include "sensormodel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tintra::sim {

namespace {

constexpr uint16_t defaultCto = 150; // colour tolerance of the start-up rows
constexpr uint16_t defaultIto = 300; // intensity tolerance of the start-up rows
constexpr int frameWords = anzframe;

QByteArray blankAnswer(uint16_t orderCode)
{
    QByteArray a(frameBytes, '\0');
    auto *p = reinterpret_cast<unsigned char *>(a.data());
    PutWord(p, 0, answerHeader);
    PutWord(p, 1, orderCode);
    return a;
}

// The command frame sent back with the answer header in place of the sync word.
QByteArray echo(const unsigned char *frame)
{
    QByteArray a(reinterpret_cast<const char *>(frame), frameBytes);
    a[0] = 0x00;
    a[1] = char(0xAA);
    return a;
}

void putWord(QByteArray &a, int word, uint16_t v)
{
    PutWord(reinterpret_cast<unsigned char *>(a.data()), word, v);
}

} // namespace

SensorModel::SensorModel() : ram(defaultImage()), eeprom(ram), rootTable(defaultRootTable()) {}

const std::vector<Rgb> &SensorModel::cycleColours()
{
    static const std::vector<Rgb> colours = {
        {3000, 600, 500},   // red
        {600, 2800, 700},   // green
        {500, 800, 3000},   // blue
        {2800, 2600, 500},  // yellow
        {3200, 3200, 3200}, // white
        {40, 40, 40},       // no target: below INTLIM
    };
    return colours;
}

Image SensorModel::defaultImage()
{
    Image im{};
    const uint16_t scalars[16] = {
        500,  // POWER
        0,    // PMODE STAT
        1,    // AVERAGE
        0,    // EVALMODE
        10,   // HOLD for colour 255
        100,  // INTLIM
        5,    // MAXCOL-No.
        1,    // OUTMODE BINARY
        0,    // TRIGGER CONT
        0,    // EXTEACH OFF
        0,    // CALCMODE X/Y INT
        1000, // DYN WIN LO
        3000, // DYN WIN HI
        0,    // colour groups off
        1,    // LED MODE AC
        3,    // GAIN
    };
    std::copy(std::begin(scalars), std::end(scalars), im.begin());
    const auto &colours = cycleColours();
    for (int r = 0; r < anzVec; ++r) {
        uint16_t *row = &im[16 + 7 * r];
        if (r < 5) {
            const Coordinates c = xyInt(colours[r]);
            row[0] = c.c1;
            row[1] = c.c2;
            row[2] = defaultCto;
            row[3] = c.c3;
            row[4] = defaultIto;
        } else {
            std::fill(row, row + 5, 1); // an untaught row
        }
        row[5] = static_cast<uint16_t>(r % anzOut); // group
        row[6] = 10;                                // hold
    }
    return im;
}

int SensorModel::rowsChecked() const
{
    if (ram[3] == 3) // EVALMODE COL5
        return anzOut;
    return std::min<int>(ram[6], anzVec);
}

Rgb SensorModel::targetColour(qint64 nowMs) const
{
    if (scene == Scene::Fixed)
        return colour;
    const auto &colours = cycleColours();
    const qint64 period = std::max(cyclePeriodMs, 1);
    return colours[(nowMs / period) % qint64(colours.size())];
}

uint16_t SensorModel::triggerState(qint64 nowMs) const
{
    if (scene == Scene::Fixed)
        return 0;
    const qint64 period = std::max(cyclePeriodMs, 2);
    return (nowMs % period) < period / 2 ? 1 : 0;
}

uint16_t SensorModel::temperature(qint64 nowMs) const
{
    const double phase = 2.0 * std::numbers::pi * double(nowMs) / 120000.0;
    return static_cast<uint16_t>(std::lround(35.0 + 5.0 * std::sin(phase)));
}

QByteArray SensorModel::dataFrame(qint64 nowMs, bool triggered)
{
    const Rgb target = targetColour(nowMs);
    std::uniform_int_distribution<int> dist(-std::max(noise, 0), std::max(noise, 0));
    auto noisy = [&](uint16_t v) {
        const int n = noise > 0 ? dist(rng_) : 0;
        return static_cast<uint16_t>(std::clamp(int(v) + n, 0, 4095));
    };
    const Rgb raw{noisy(target.r), noisy(target.g), noisy(target.b)};
    const Rgb cal{calibrate(raw.r, cf[0]), calibrate(raw.g, cf[1]), calibrate(raw.b, cf[2])};
    const uint16_t calcmode = ram[10];
    const Coordinates p = coordinatesFor(calcmode, cal, rootTable);
    const uint16_t intensity = xyInt(cal).c3;

    uint16_t col = noColour;
    if (intensity >= ram[5])
        col = matchColour(ram, calcmode, p, rowsChecked());
    uint16_t group = noColour;
    if (col != noColour)
        group = ram[13] ? ram[16 + 7 * col + 5] : col;

    QByteArray a = blankAnswer(OrderData);
    const uint16_t words[16] = {cal.r,
                                cal.g,
                                cal.b,
                                p.c1,
                                p.c2,
                                p.c3,
                                col,
                                raw.r,
                                raw.g,
                                raw.b,
                                temperature(nowMs),
                                group,
                                static_cast<uint16_t>(triggered ? 1 : triggerState(nowMs)),
                                frameCounter++,
                                0,
                                0};
    for (int k = 0; k < 16; ++k)
        putWord(a, 2 + k, scriptedData.empty() ? words[k] : scriptedData.front()[std::size_t(k)]);
    if (scriptedData.size() > 1)
        scriptedData.pop_front();
    return a;
}

QByteArray SensorModel::handleFrame(const unsigned char *frame, qint64 nowMs)
{
    uint16_t w[frameWords];
    for (int i = 0; i < frameWords; ++i)
        w[i] = GetWord(frame, i);
    if (w[0] != sync)
        return {};

    switch (w[1]) {
    case OrderSendPara:
        std::copy(w + 2, w + 18, ram.begin());
        return echo(frame);
    case OrderSendRow:
        // A row outside the table is neither stored nor confirmed.
        if (w[2] >= anzVec)
            return {};
        std::copy(w + 3, w + 10, ram.begin() + 16 + 7 * w[2]);
        return echo(frame);
    case OrderGetPara: {
        QByteArray a = blankAnswer(OrderGetPara);
        for (int k = 0; k < 16; ++k)
            putWord(a, 2 + k, ram[k]);
        return a;
    }
    case OrderGetRow: {
        QByteArray a = blankAnswer(OrderGetRow);
        putWord(a, 2, w[2]);
        if (w[2] < anzVec)
            for (int k = 0; k < 7; ++k)
                putWord(a, 3 + k, ram[16 + 7 * w[2] + k]);
        return a;
    }
    case OrderData:
        return dataFrame(nowMs);
    case OrderStoreEeprom:
        eeprom = ram;
        return echo(frame);
    case OrderIdent: {
        QByteArray a = idText.left(frameBytes);
        a.append(QByteArray(frameBytes - a.size(), '\0'));
        return a;
    }
    case OrderLoadEeprom:
        ram = eeprom;
        return echo(frame);
    case OrderSendCF:
        cf = {w[2], w[3], w[4]};
        return echo(frame);
    case OrderGetCF: {
        QByteArray a = blankAnswer(OrderGetCF);
        for (int k = 0; k < 3; ++k)
            putWord(a, 2 + k, cf[k]);
        return a;
    }
    case OrderAutoSend:
        autoSend = w[2] != 0;
        return {};
    case OrderRootStart:
        rootBase = w[2];
        return echo(frame);
    case OrderRootBlock: {
        // A block that does not fit the frame or the table is refused without an echo.
        const int count = w[3];
        const int first = int(w[2]) - int(rootBase);
        if (count < 1 || count > 14 || first < 0 || first + count > rootTableSize)
            return {};
        std::copy(w + 4, w + 4 + count, rootTable.begin() + first);
        return echo(frame);
    }
    default:
        return {};
    }
}

} // namespace tintra::sim
