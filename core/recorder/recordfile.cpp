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
    QFile f(path);
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("no file name");
        return false;
    }
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const bool ok = f.write(bytes) == bytes.size() && f.flush();
    if (!ok && error)
        *error = f.errorString();
    f.close();
    return ok;
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
