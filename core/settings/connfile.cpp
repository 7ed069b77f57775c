// The connection settings files without any window: "ComSettings.cfg" (protocol, COM port, server,
// port number) and the remembered servers in "IPComboBox.cfg".
#include "connection.h"

#include "link/platform.h"

#include <QDir>
#include <QFile>

namespace tintra {

namespace {

#ifdef Q_OS_WIN
const char lineEnd[] = "\r\n";
#else
const char lineEnd[] = "\n";
#endif

QString FirstChars(const QString &text, int n) { return text.left(n); }

} // namespace

bool ReadComSettings(const QString &path, ConnectionSettings *s, FileRead *why)
{
    QStringList lines;
    // Four lines are used; reading stops there. A line is cut to 255 characters below, so 1 KB
    // of it is plenty even for multi-byte characters.
    FileRead r = ReadTextHead(path, &lines, 4, 1024);
    if (r == FileRead::Ok && lines.isEmpty())
        r = FileRead::Truncated; // nothing at all: a write that never finished
    if (why)
        *why = r;
    if (r != FileRead::Ok)
        return false;
    while (lines.size() < 4)
        lines << QString();
    s->protocol = DecimalValue(FirstChars(lines[0], 100));
    s->comPort = DecimalValue(FirstChars(lines[1], 100));
    s->server = FirstChars(lines[2], 255);
    s->portNumber = FirstChars(lines[3], 31);
    return true;
}

bool WriteComSettings(const QString &path, const ConnectionSettings &s)
{
    QByteArray out;
    out += QByteArray::number(s.protocol) + lineEnd;
    out += QByteArray::number(s.comPort) + lineEnd;
    out += s.server.left(255).toUtf8() + lineEnd;
    out += s.portNumber.left(31).toUtf8() + lineEnd;
    return WriteFileAtomically(path, out);
}

QStringList ReadServerFile(const QString &path, FileRead *why)
{
    QByteArray content;
    const FileRead r = ReadSmallFile(path, &content);
    if (why)
        *why = r;
    return r == FileRead::Ok ? ParseServerList(content) : QStringList();
}

QStringList ParseServerList(const QByteArray &content)
{
    QStringList servers;
    const qint64 count = content.size() / (serverRecordSize + 1);
    const QList<QByteArray> lines = SplitLines(content);
    for (qint64 i = 0; i < count && i < lines.size() && servers.size() < maxServerEntries; ++i) {
        QByteArray line = lines[i].left(serverRecordSize);
        const int zero = int(line.indexOf('\0'));
        if (zero >= 0)
            line.truncate(zero);
        if (!line.isEmpty())
            servers << QString::fromUtf8(line);
    }
    return servers;
}

bool ServerFileInLayout(const QString &path)
{
    QByteArray content;
    const FileRead r = ReadSmallFile(path, &content);
    if (r == FileRead::Missing)
        return true;
    return r == FileRead::Ok && ServerListInLayout(content);
}

bool ServerListInLayout(const QByteArray &content)
{
    qsizetype pos = 0;
    while (pos < content.size()) {
        const qsizetype end = pos + serverRecordSize;
        if (end < content.size() && content[end] == '\n')
            pos = end + 1;
        else if (end + 1 < content.size() && content[end] == '\r' && content[end + 1] == '\n')
            pos = end + 2;
        else if (end < content.size() && content[end] == '\r')
            pos = end + 1; // a lone CR, an old editor's line end
        else
            return false;
    }
    return true;
}

bool KeepServerFileCopy(const QString &path)
{
    if (ServerFileInLayout(path))
        return true;
    const QString bak = path + QStringLiteral(".bak");
    // Through the guarded reader: a pipe or a device in the list's place is not opened (it would
    // block the window) and is not replaced by a list either.
    if (CopySmallFile(path, bak) != FileRead::Ok)
        return false;
    MessagePopup(QStringLiteral("INFO!"),
                 QStringLiteral(" %1 \n did not hold a list of servers in this program's layout. \n"
                                " It has been kept as \n %2 \n before the new list was saved. ")
                     .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(bak)));
    return true;
}

QByteArray ServerRecord(const QString &text)
{
    QByteArray r = CutServerText(text).toUtf8();
    r.append(QByteArray(serverRecordSize - int(r.size()), '\0'));
    return r;
}

QByteArray FormatServerList(const QStringList &servers)
{
    QByteArray out;
    for (const QString &s : servers)
        out += ServerRecord(s) + lineEnd;
    return out;
}

bool WriteServerFile(const QString &path, const QStringList &servers)
{
    return WriteFileAtomically(path, FormatServerList(servers));
}

QString CutServerText(const QString &text)
{
    QString t = text;
    while (t.toUtf8().size() > maxServerChars)
        t.chop(1);
    return t;
}

int DecimalValue(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

} // namespace tintra
