// The machine's serial ports for the connection page, the COM number mapping in "ComPorts.cfg",
// and the facts behind a port that cannot be opened.
#include "serialports.h"

#include "platform.h"
#include "transport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tintra {

namespace {

// The line end a line finishes with (CR LF, LF or a lone CR), empty for none.
QByteArray LineEndOf(const QByteArray &line)
{
    if (line.endsWith("\r\n"))
        return QByteArrayLiteral("\r\n");
    if (line.endsWith('\n') || line.endsWith('\r'))
        return line.right(1);
    return QByteArray();
}

SerialOpenFacts &LastFacts()
{
    static SerialOpenFacts facts;
    return facts;
}

QString Canonical(const QString &device)
{
    const QString c = QFileInfo(device).canonicalFilePath();
    return c.isEmpty() ? device : c;
}

} // namespace

QList<SerialPortEntry> ListSerialPorts()
{
    const auto mappings = ComPortMappings();
    auto numberOf = [&](const QString &device) {
        for (const auto &m : mappings)
            if (m.second == device || Canonical(m.second) == Canonical(device))
                return m.first;
        return 0;
    };
    QList<SerialPortEntry> out;
    QStringList seen;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry e;
        e.device = info.systemLocation();
        e.description = info.description();
        e.manufacturer = info.manufacturer();
        e.serialNumber = info.serialNumber();
        e.comNumber = numberOf(e.device);
        seen << Canonical(e.device);
        out << e;
    }
    // Pseudo-terminals and other devices the system does not list, as the file names them.
    for (const auto &m : mappings) {
        if (m.first < 1 || m.first > maxComPort || seen.contains(Canonical(m.second)))
            continue;
        if (SerialDeviceCheck(m.second) != 0)
            continue;
        SerialPortEntry e;
        e.device = m.second;
        e.comNumber = numberOf(m.second);
        seen << Canonical(m.second);
        out << e;
    }
    std::sort(out.begin(), out.end(), [](const SerialPortEntry &a, const SerialPortEntry &b) {
        return a.device < b.device;
    });
    return out;
}

QString SerialPortLabel(const SerialPortEntry &e)
{
    QStringList about;
    for (const QString &s : {e.description, e.manufacturer})
        if (!s.trimmed().isEmpty() && !about.contains(s.trimmed()))
            about << s.trimmed();
    if (!e.serialNumber.trimmed().isEmpty())
        about << QStringLiteral("S/N ") + e.serialNumber.trimmed();
    QString text = e.device;
    if (!about.isEmpty())
        text += QStringLiteral(" - ") + about.join(QStringLiteral(", "));
    if (e.comNumber > 0)
        text = QStringLiteral("COM %1: ").arg(e.comNumber) + text;
    return text;
}

bool MapComPort(int n, const QString &device)
{
    if (n < 1 || n > maxComPort || device.isEmpty() ||
        device.contains(QRegularExpression(QStringLiteral("\\s"))))
        return false;
    const QString path = ComPortsCfgPath();
    QList<QByteArray> lines;
    const FileRead r = ReadTextFile(path, &lines);
    if (r != FileRead::Ok && r != FileRead::Missing)
        return false; // a file that is not ours is left as it is
    const QByteArray mapping = QByteArray::number(n) + ' ' + QFile::encodeName(device);
    // A line that is added takes the file's own line end (an old editor's lone CR, too).
    QByteArray lineEnd = "\n";
    for (const QByteArray &l : std::as_const(lines)) {
        const QByteArray end = LineEndOf(l);
        if (!end.isEmpty()) {
            lineEnd = end;
            break;
        }
    }
    QByteArray out;
    bool placed = false;
    for (const QByteArray &l : std::as_const(lines)) {
        const QByteArray end = LineEndOf(l);
        const QByteArray text = l.chopped(end.size());
        if (ComPortLineNumber(QString::fromLocal8Bit(text)) != n) {
            out += l;
        } else if (!placed) {
            out += mapping + (end.isEmpty() ? lineEnd : end); // the one that counts
            placed = true;
        }
    }
    if (!placed) {
        if (!out.isEmpty() && LineEndOf(out).isEmpty())
            out += lineEnd;
        out += mapping + lineEnd;
    }
    return WriteFileAtomically(path, out);
}

QStringList DeviceHolders(const QString &device)
{
    QStringList out;
#ifdef Q_OS_LINUX
    const QString target = Canonical(device);
    const QDir proc(QStringLiteral("/proc"));
    const QStringList pids = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        bool isPid = false;
        pid.toInt(&isPid);
        if (!isPid)
            continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        const QStringList entries = fds.entryList(QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : entries) {
            if (QFile::symLinkTarget(fds.filePath(fd)) != target)
                continue;
            QByteArray name;
            ReadSmallFile(QStringLiteral("/proc/%1/comm").arg(pid), &name, 4096);
            out << QStringLiteral("%1 (%2)").arg(pid, QString::fromLocal8Bit(name.trimmed()));
            break;
        }
    }
#else
    Q_UNUSED(device);
#endif
    return out;
}

SerialOpenFacts ExplainSerialOpen(const QString &device, int code, const QString &systemText)
{
    SerialOpenFacts f;
    f.device = device;
    if (code >= 0 || device.isEmpty())
        return f;
    const int check = SerialDeviceCheck(device);
    if (code == -6 || check == -6) {
        f.kind = SerialOpenFacts::Missing;
        return f;
    }
    if (check == -7) {
        f.kind = SerialOpenFacts::NotSerial;
        return f;
    }
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(device);
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        f.kind = SerialOpenFacts::Permission;
        struct stat st {};
        if (::stat(path.constData(), &st) == 0) {
            if (const group *g = ::getgrgid(st.st_gid))
                f.group = QString::fromLocal8Bit(g->gr_name);
        }
        if (const passwd *pw = ::getpwuid(::geteuid()))
            f.user = QString::fromLocal8Bit(pw->pw_name);
        return f;
    }
#endif
    f.holders = DeviceHolders(device);
    // Refused although this user may read and write it: another program holds it (exclusive
    // use or its lock file), whether or not the system says which one.
    if (!f.holders.isEmpty() || code == -7) {
        f.kind = SerialOpenFacts::Busy;
        return f;
    }
    f.kind = SerialOpenFacts::Other;
    f.systemText = systemText;
    return f;
}

SerialOpenFacts LastSerialOpenFacts() { return LastFacts(); }
void SetLastSerialOpenFacts(const SerialOpenFacts &facts) { LastFacts() = facts; }

} // namespace tintra
