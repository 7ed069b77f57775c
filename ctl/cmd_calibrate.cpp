// calibrate: the white-light calibration run of the calibration panel, without the panel.
#include "ctl.h"

#include "link/calibrun.h"
#include "link/codec.h"
#include "link/state.h"

namespace tintra::ctl {

namespace {

bool writeFactors = false;

// "--NAME N" with N a whole number lo ... hi.
int TakeNumber(const QString &name, const QString &text, int lo, int hi, uint16_t *into)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < lo || v > hi)
        return Fail(QStringLiteral("calibrate: %1 must be a whole number %2 ... %3, not \"%4\"")
                        .arg(name)
                        .arg(lo)
                        .arg(hi)
                        .arg(text));
    *into = uint16_t(v);
    return Done;
}

int ParseCalibrate(const QStringList &given)
{
    QStringList args = given;
    bool haveValue = false, haveDelta = false;
    writeFactors = false;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--yes")) {
            writeFactors = true;
        } else if (a == QLatin1String("--set-value") && !args.isEmpty()) {
            if (const int r = TakeNumber(a, args.takeFirst(), setValueMin, setValueMax, &setvalue))
                return r;
            haveValue = true;
        } else if (a == QLatin1String("--max-delta") && !args.isEmpty()) {
            if (const int r = TakeNumber(a, args.takeFirst(), maxDeltaMin, maxDeltaMax, &maxdelta))
                return r;
            haveDelta = true;
        } else {
            return Fail(QStringLiteral("calibrate: unexpected %1").arg(a));
        }
    }
    if (!haveValue || !haveDelta)
        return Fail(QStringLiteral("calibrate needs --set-value V and --max-delta D"));
    return Done;
}

// A refused calibration: the panel's "ATTENTION!" text on one line.
int Refuse(const QString &text)
{
    return Fail(QStringLiteral("ATTENTION!: ") + text.simplified(), Refused);
}

void Print(const char *name, int value) { out() << name << ' ' << value << '\n'; }

int RunCalibrate()
{
    SampleHooks hooks;
    int done = 0;
    hooks.arrived = [&done] { Progress("calibrate", ++done, calibSamples); };
    const int received = TakeCalibSamples(hooks);
    if (received < calibSamples) {
        ProgressEnd();
        // Nothing at all came: the sensor is silent. Part of a frame: the samples are lost.
        if (bytesToRead >= frameBytes)
            return Fail(QStringLiteral("TIMEOUT"), NoAnswer);
        return Refuse(QString::fromUtf8(samplesLostText).arg(calibSamples - received));
    }
    Print("meanR", meanR);
    Print("meanG", meanG);
    Print("meanB", meanB);
    Print("meanD", meanD);
    switch (FactorsFromMeans()) {
    case CFResult::SpreadTooHigh:
        out().flush();
        return Refuse(QString::fromUtf8(maximumDeltaText));
    case CFResult::OutOfRange:
        out().flush();
        return Refuse(QString::fromUtf8(cfOutOfRangeText));
    case CFResult::Passed:
        break;
    }
    Print("cfrot", cfrot);
    Print("cfgruen", cfgruen);
    Print("cfblau", cfblau);
    out().flush();
    if (!writeFactors) {
        err() << "without --yes nothing was sent; --yes would send order 30 with " << cfrot << ' '
              << cfgruen << ' ' << cfblau << " and the cube-root table (order 180, 19 x order 182)"
              << Qt::endl;
        return Done;
    }
    if (WriteCalibration() != WriteResult::Written)
        return ExchangeFailed();
    return Done;
}

} // namespace

const Command calibrateCommand{
    "calibrate", "calibrate --set-value V --max-delta D [--yes]",
    "The program's white-light calibration (CALCULATE CALIBRATION FACTORS) with the sensor on a\n"
    "white target: 100 data frames (order 5), the means of the raw values and of their spread,\n"
    "the spread check, the factors V * 1024 / mean and their check (750 ... 1300). Prints the\n"
    "means, the spread and the factors on standard output, one NAME VALUE a line (meanR meanG\n"
    "meanB meanD cfrot cfgruen cfblau). Without --yes nothing that changes the sensor is sent.\n"
    "A refused calibration is exit status 5, its reason on standard error; nothing is written.\n"
    "  --set-value V  the value the three channels are calibrated to, 100 ... 4095 (SET VALUE)\n"
    "  --max-delta D  the largest mean spread of the raw values, 0 ... 4095 (MAXIMUM DELTA)\n"
    "  --yes          write the factors (order 30), then the cube-root table (orders 180, 182)\n",
    ParseCalibrate, RunCalibrate};

} // namespace tintra::ctl
