// Reads a record file back: lines split at CR LF, fields at TAB. Written apart from the program's
// own record-line code, so a test compares against what the file really holds.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QStringList>

namespace tintra::test {

struct RecordFileContents {
    bool crlf = true;             // every line ended by CR LF
    QList<QStringList> rows;      // fields of each line (the header's trailing TAB gives "")
};

inline RecordFileContents ReadRecordFile(const QString &path)
{
    RecordFileContents c;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return c;
    const QByteArray all = f.readAll();
    int start = 0;
    while (start < all.size()) {
        const int lf = all.indexOf('\n', start);
        const int end = lf < 0 ? int(all.size()) : lf;
        if (lf < 0 || end == start || all[end - 1] != '\r')
            c.crlf = false;
        const int textEnd = (end > start && all[end - 1] == '\r') ? end - 1 : end;
        c.rows << QString::fromLatin1(all.mid(start, textEnd - start)).split(QLatin1Char('\t'));
        start = end + 1;
    }
    return c;
}

// A data line: MM-DD-YYYY, HH:MM:SS and eight unsigned numbers without leading zeros.
inline bool IsDataRow(const QStringList &row)
{
    static const QRegularExpression date(QStringLiteral("^(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])-\\d{4}$"));
    static const QRegularExpression time(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"));
    static const QRegularExpression number(QStringLiteral("^(0|[1-9][0-9]{0,4})$"));
    if (row.size() != 10 || !date.match(row[0]).hasMatch() || !time.match(row[1]).hasMatch())
        return false;
    for (int i = 2; i < 10; ++i)
        if (!number.match(row[i]).hasMatch() || row[i].toUInt() > 65535)
            return false;
    return true;
}

} // namespace tintra::test
