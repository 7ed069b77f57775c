#include "fields.h"

#include "itemlists.h"

#include <span>

namespace tintra {

namespace {

// The sixteen parameters in image order. Word 4 is the hold time of colour number 255, the hold
// table's first row; it is named there.
const char *const scalarNames[16] = {
    "POWER",    "PMODE",   "AVERAGE",  "EVALMODE",   nullptr,      "INTLIM",       "MAXCOL-No.", "OUTMODE",
    "TRIGGER",  "EXTEACH", "CALCMODE", "DYN WIN LO", "DYN WIN HI", "COLOR GROUPS", "LED MODE",   "GAIN",
};

const char *const teachCaptions[calcModes][teachColumns] = {
    {"X", "Y", "CTO", "INT", "ITO"},
    {"s", "i", "siTO", "M", "MTO"},
    {"X", "Y", "INT", "TOL", ""},
    {"s", "i", "M", "TOL", ""},
};

std::span<const RingItem> RingItems(int word)
{
    switch (word) {
    case 1: return pmodeItems;
    case 2: return averageItems;
    case 3: return evalmodeItems;
    case 7: return outmodeItems;
    case 8: return triggerItems;
    case 9: return exteachItems;
    case 10: return calcmodeItems;
    case 14: return ledmodeItems;
    case 15: return gainItems;
    default: return {};
    }
}

} // namespace

const char *TeachColumnCaption(unsigned calcmode, int k)
{
    if (k < 0 || k >= teachColumns)
        return "";
    return teachCaptions[calcmode < calcModes ? calcmode : 0][k];
}

QString FieldName(int word, unsigned calcmode)
{
    if (word < 0 || word >= anzpara)
        return QString();
    if (word == 4)
        return QStringLiteral("HOLD TABLE 255: HOLD");
    if (word < 16)
        return QString::fromLatin1(scalarNames[word]);
    const int r = (word - 16) / 7, k = (word - 16) % 7;
    if (k < teachColumns)
        return QStringLiteral("COLOR TEACH TABLE %1: %2").arg(r).arg(QLatin1String(TeachColumnCaption(calcmode, k)));
    return k == teachColumns ? QStringLiteral("GROUP TABLE %1: GROUP").arg(r)
                             : QStringLiteral("HOLD TABLE %1: HOLD").arg(r);
}

QString FieldValueText(int word, uint16_t value)
{
    for (const RingItem &item : RingItems(word))
        if (item.code == int(value) && item.label[0] != 0)
            return QStringLiteral("%1 = %2").arg(value).arg(QLatin1String(item.label));
    return QString::number(value);
}

QList<FieldDiff> DiffImages(const ParaImage &first, const ParaImage &other, unsigned calcmode)
{
    QList<FieldDiff> out;
    for (int w = 0; w < anzpara; ++w) {
        const uint16_t a = first[size_t(w)], b = other[size_t(w)];
        if (a != b)
            out.append({w, FieldName(w, calcmode), FieldValueText(w, a), FieldValueText(w, b)});
    }
    return out;
}

} // namespace tintra
