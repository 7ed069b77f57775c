#include "taffile.h"

#include "link/platform.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

namespace tintra {

QByteArray FormatTableAttributes(const int colours[taColours], const QStringList &texts)
{
    QByteArray out;
    for (int i = 0; i < taColours; ++i)
        out += QByteArray::number(colours[i]).rightJustified(10, ' ') + "\r\n";
    for (int i = 0; i < taTexts; ++i) {
        QString t = i < texts.size() ? texts[i] : QString();
        t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        out += t.toUtf8() + "\r\n";
    }
    return out;
}

namespace {

QString decodeText(const QByteArray &line)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString t = utf8.decode(line);
    if (utf8.hasError())
        t = QString::fromLatin1(line);
    // A lone CR inside a line is a line break as well: a text stays one line, as when written.
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    if (t.size() > taTextMax) {
        int n = taTextMax;
        if (t.at(n - 1).isHighSurrogate())
            --n; // never cut a character in half
        t.truncate(n);
    }
    return t;
}

} // namespace

bool ParseTableAttributes(const QByteArray &content, int colours[taColours], QStringList *texts)
{
    // Lines end in LF or CR LF, and a lone CR then belongs to its text (a blank, see decodeText).
    // A file without any LF is an old editor's: its lines end in a lone CR.
    const char lineEnd = content.contains('\n') ? '\n' : '\r';
    QList<QByteArray> lines = content.split(lineEnd);
    if (content.endsWith(lineEnd))
        lines.removeLast(); // the piece after the last line end
    // The colours must all be there; row texts that a file lacks (an editor that drops trailing
    // empty lines) are empty.
    if (lines.size() < taColours)
        return false;
    for (QByteArray &l : lines)
        if (l.endsWith('\r'))
            l.chop(1);

    int c[taColours];
    for (int i = 0; i < taColours; ++i) {
        const QByteArray number = lines[i].trimmed();
        bool ok = false;
        const int v = number.toInt(&ok, 10);
        if (!ok || number.startsWith('+') || v < 0 || v > 0xFFFFFF)
            return false;
        c[i] = v;
    }
    QStringList t;
    for (int i = 0; i < taTexts; ++i)
        t << (taColours + i < lines.size() ? decodeText(lines[taColours + i]) : QString());
    std::copy(c, c + taColours, colours);
    *texts = t;
    return true;
}

bool WriteTableAttributesFile(const QString &path, const int colours[taColours],
                              const QStringList &texts)
{
    return WriteFileAtomically(path, FormatTableAttributes(colours, texts));
}

bool ReadTableAttributesFile(const QString &path, int colours[taColours], QStringList *texts)
{
    // Only a regular file of sensible size is read: a device or a pipe in its place is refused
    // unopened (a pipe would block the window).
    QByteArray content;
    if (ReadSmallFile(path, &content, taFileMax) != FileRead::Ok)
        return false;
    return ParseTableAttributes(content, colours, texts);
}

} // namespace tintra
