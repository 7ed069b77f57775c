// The white-light calibration's frames as transcript lines (tests/common/transcript.h), shared by
// the calibration panel's tests and tintractl's: both runs must put the same frames on the wire.
#pragma once

#include "sim/colourmath.h"
#include "tests/common/transcript.h"

namespace tintra::test {

// The table's 19 chunk frames as transcript lines, the first `n` of them.
inline QStringList Chunks(int n = 19)
{
    QStringList out;
    for (int b = 0; b < n; ++b)
        out << QStringLiteral("182 %1 %2").arg(5888 + 14 * b).arg(b < 18 ? 14 : 4);
    return out;
}

// Frames as transcript lines, with the words that the order defines: none for data requests
// and GET CF (their payload has no meaning), the factors of order 30, the address of order 180;
// a chunk of the cube-root table reads "182 address count" when the entries it carries are the
// sensor's own table at that address (every word otherwise).
inline QString CalibFrame(const QByteArray &f)
{
    static const sim::RootTable table = sim::defaultRootTable();
    const auto w = [&f](int word) {
        return GetWord(reinterpret_cast<const unsigned char *>(f.constData()), word);
    };
    const int order = w(1), at = w(2) - 5888, count = w(3);
    const int defined = order == 30 ? 3 : order == 180 ? 1 : order == 5 || order == 31 ? 0 : -1;
    if (defined >= 0) {
        QStringList words{QString::number(order)};
        for (int k = 2; k < 2 + defined; ++k)
            words << QString::number(w(k));
        return words.join(u' ');
    }
    if (order != 182 || at < 0 || count > 14 || at + count > 256)
        return FrameLine(f);
    for (int k = 0; k < count; ++k)
        if (w(4 + k) != table[size_t(at + k)])
            return FrameLine(f);
    return QStringLiteral("182 %1 %2").arg(w(2)).arg(count);
}

// Writing a calibration: the factors, 0.5 s, the table (order 180, 0.2 s, the chunks); the run
// then waits 0.5 s more before anything else.
inline QStringList CalibWrite(const QString &factors)
{
    return QStringList{"30 " + factors, "pause 0.5", "180 5888", "pause 0.2"} + Chunks();
}

} // namespace tintra::test
