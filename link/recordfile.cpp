#include "recordfile.h"

#include <QFile>

namespace tintra {

QByteArray RecordHeader()
{
    return QByteArrayLiteral("DATE\tTIME\tRED\tGREEN\tBLUE\tX s\tY i\tINT M\tCOLOR\tTEMP\t\r\n");
}

QByteArray RecordLine(const QString &date, const QString &time, const uint16_t values[recordValues])
{
    QByteArray line;
    line.reserve(64);
    line += date.toLatin1();
    line += '\t';
    line += time.toLatin1();
    for (int i = 0; i < recordValues; ++i) {
        line += '\t';
        line += QByteArray::number(unsigned(values[i]));
    }
    line += "\r\n";
    return line;
}

bool AppendToRecordFile(const QString &path, const QByteArray &bytes, QString *error)
{
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("no file name");
        return false;
    }
    // Unbuffered: a write that fails reports the system's reason at once and leaves nothing
    // queued, so the file can be cut back to its previous end.
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const qint64 before = f.size();
    // A write that fits in part reports no error: the rest is written again, and the write that
    // then fails brings the system's reason (no space left, file too large).
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    if (done == bytes.size())
        return true;
    if (error)
        *error = f.errorString();
    // No half line stays at the end, and the next line does not start in the middle of one.
    f.resize(before);
    return false;
}

RecordTime SplitRecordTime(uint16_t interval, uint16_t values)
{
    const uint32_t total = uint32_t(interval) * uint32_t(values);
    RecordTime t;
    t.days = total / 86400;
    uint32_t rest = total % 86400;
    t.hours = rest / 3600;
    rest %= 3600;
    t.minutes = rest / 60;
    t.seconds = rest % 60;
    return t;
}

} // namespace tintra
