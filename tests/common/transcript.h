// Whole exchanges as text, to compare with a literal transcript written from the description of
// an operation.
//
// A transcript is a list of entries:
//   "30 1000 1100 900"  one frame: its order word, then its payload words up to the last that is
//                       not zero (a data request reads "5");
//   "5 x100"            a run of equal frames;
//   "pause 0.5"         the gap before the next frame lasts at least 0.5 s.
// Heard() renders the frames a simulated sensor received in the same form and checks each pause
// the expectation names against the frames' arrival times; a pause that fell short reads
// "pause 0.5 (0.012 s)", so one QCOMPARE shows a wrong order, word, pause or missing step
// anywhere in the operation:
//     QCOMPARE(test::Heard(sensor, expected), test::Fold(expected));
#pragma once

#include "link/codec.h"
#include "sim/simthread.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>

namespace tintra::test {

using FrameFormat = std::function<QString(const QByteArray &)>;

// "order w2 w3 ...", up to the last payload word that is not zero.
inline QString FrameLine(const QByteArray &frame)
{
    const auto *b = reinterpret_cast<const unsigned char *>(frame.constData());
    const int words = int(frame.size()) / 2;
    int last = 1;
    for (int w = 2; w < words; ++w)
        if (GetWord(b, w) != 0)
            last = w;
    QStringList parts;
    for (int w = 1; w <= last; ++w)
        parts << QString::number(GetWord(b, w));
    return parts.join(u' ');
}

// "5 x3" becomes three "5"; everything else stays.
inline QStringList Unfold(const QStringList &transcript)
{
    QStringList out;
    for (const QString &e : transcript) {
        const int x = int(e.lastIndexOf(QLatin1String(" x")));
        bool ok = false;
        const int n = x > 0 ? e.mid(x + 2).toInt(&ok) : 0;
        if (ok && n > 0)
            for (int i = 0; i < n; ++i)
                out << e.left(x);
        else
            out << e;
    }
    return out;
}

// Runs of equal entries folded into "entry xN" (pauses are never folded).
inline QStringList Fold(const QStringList &transcript)
{
    const QStringList flat = Unfold(transcript);
    QStringList out;
    for (qsizetype i = 0; i < flat.size();) {
        qsizetype j = i + 1;
        if (!flat[i].startsWith(QLatin1String("pause")))
            while (j < flat.size() && flat[j] == flat[i])
                ++j;
        out << (j - i == 1 ? flat[i] : QStringLiteral("%1 x%2").arg(flat[i]).arg(j - i));
        i = j;
    }
    return out;
}

// The frames as a folded transcript, with the pauses that `expected` names before its n-th frame
// put before the n-th frame received, each checked against the arrival times.
inline QStringList Heard(const QList<QByteArray> &frames, const QList<qint64> &timesUs,
                         const QStringList &expected, const FrameFormat &format = FrameLine)
{
    // Pauses the expectation puts before frame n (counted from 0).
    QList<QPair<int, double>> pauses;
    int n = 0;
    for (const QString &e : Unfold(expected)) {
        if (e.startsWith(QLatin1String("pause ")))
            pauses.append({n, e.mid(6).toDouble()});
        else
            ++n;
    }
    QStringList out;
    qsizetype p = 0;
    for (int i = 0; i < frames.size(); ++i) {
        for (; p < pauses.size() && pauses[p].first == i; ++p) {
            const double want = pauses[p].second;
            const double gap = i > 0 && i < timesUs.size() ? (timesUs[i] - timesUs[i - 1]) / 1e6 : 0;
            // A millisecond of slack for the two clocks' rounding.
            out << (gap >= want - 0.001
                        ? QStringLiteral("pause %1").arg(want)
                        : QStringLiteral("pause %1 (%2 s)").arg(want).arg(gap, 0, 'f', 3));
        }
        out << format(frames[i]);
    }
    return Fold(out);
}

inline QStringList Heard(const sim::SimThread &sensor, const QStringList &expected,
                         const FrameFormat &format = FrameLine)
{
    return Heard(sensor.frames(), sensor.frameTimesUs(), expected, format);
}

} // namespace tintra::test
