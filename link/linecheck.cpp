// What the link layer shows and decides above the byte level: the status texts, the serial device
// names, the time-out reaction, stopping the sensor's automatic sending, the line check after
// every connection and the recorder's interval wait.
#include "codec.h"
#include "serialports.h"
#include "platform.h"
#include "state.h"
#include "transport.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

namespace tintra {

namespace {

LinkUi &Ui()
{
    static LinkUi ui;
    return ui;
}

QString &CfgDir()
{
    static QString dir;
    return dir;
}

// ComPortDevice runs whenever the COM port number changes: a refused "ComPorts.cfg" is reported
// once, not again until the file changes.
void TellRefusedOnce(const QString &path, FileRead why)
{
    static QString told;
    const QFileInfo fi(path);
    const QString state = QStringLiteral("%1|%2|%3|%4")
                              .arg(path)
                              .arg(fi.size())
                              .arg(fi.lastModified().toMSecsSinceEpoch())
                              .arg(int(why));
    if (state == told)
        return;
    told = state;
    MessagePopup(QStringLiteral("ATTENTION!"), RefusedFileText(path, why));
}

void ShowStatus(const QString &text)
{
    if (auto f = Ui().showStatus)
        f(text);
}

} // namespace

void SetLinkUi(LinkUi ui) { Ui() = std::move(ui); }

LinkUi CurrentLinkUi() { return Ui(); }

QString SerialStatusText(int code)
{
    switch (code) {
    case -1:
        return QStringLiteral("Unknown system error");
    case -2:
        return QStringLiteral("Invalid port number");
    case -3:
        return QStringLiteral("Port is not open");
    case -4:
        return QStringLiteral("Unknown I/0 error");
    case -6:
        return QStringLiteral("No serial port found");
    case -7:
        return QStringLiteral("Cannot open port");
    case -99:
        return QStringLiteral("Timeout");
    default:
        return code < 0 ? QStringLiteral("RS-232 error!") : QString();
    }
}

QString TcpStatusText(int code)
{
    static const char *const texts[20] = {
        "UnableToRegisterService",  "UnableToEstablishConnection", "ExistingServer",
        "FailedToConnect",          "ServerNotRegistered",         "TooManyConversations",
        "ReadFailed",               "WriteFailed",                 "InvalidParameter",
        "OutOfMemory",              "TimeOutError ",               "NoConnectionEstablished ",
        "GeneralIOErr",             "ConnectionClosed",            "UnableToLoadWinsockDLL",
        "IncorrectWinsockDLLVersion", "NetworkSubsystemNotReady ",  "ConnectionsStillOpen",
        "DisconnectPending",        "InfoNotAvailable",
    };
    if (code >= 0)
        return QString();
    if (code < -20)
        return QStringLiteral("Connection to server failed");
    return QString::fromLatin1(texts[-code - 1]);
}

void SetComPortsCfgDir(const QString &dir) { CfgDir() = dir; }

QString ComPortsCfgPath()
{
    const QString dir = CfgDir().isEmpty() ? GetProjectDir() : CfgDir();
    return JoinPath(dir, QStringLiteral("ComPorts.cfg"));
}

QList<QPair<int, QString>> ComPortMappings()
{
    const QString path = ComPortsCfgPath();
    QStringList lines;
    QList<QPair<int, QString>> out;
    // A port list is a few lines; a huge or binary file is not one and is not used.
    const FileRead r = ReadTextHead(path, &lines, 10000, 4096);
    if (r != FileRead::Ok && r != FileRead::Missing)
        TellRefusedOnce(path, r);
    if (r != FileRead::Ok)
        return out;
    for (const QString &line : std::as_const(lines)) {
        QString device;
        const int num = ComPortLineNumber(line, &device);
        if (num != 0)
            out.append({num, device});
    }
    return out;
}

int ComPortLineNumber(const QString &raw, QString *device)
{
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return 0;
    const qsizetype blank = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
    if (blank <= 0)
        return 0;
    bool ok = false;
    const int num = line.left(blank).toInt(&ok, 10);
    if (!ok || num == 0)
        return 0;
    if (device)
        *device = line.mid(blank).trimmed();
    return num;
}

QString ComPortDevice(int n)
{
    if (n <= 0 || n > maxComPort)
        return QString();
    for (const auto &m : ComPortMappings())
        if (m.first == n)
            return m.second;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

int SerialDeviceCheck(const QString &device)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return -6;
    if (!S_ISCHR(st.st_mode))
        return -7; // a regular file, a directory, a pipe
#ifdef Q_OS_LINUX
    // A character device that the system files under another class than terminals (memory
    // devices such as /dev/zero, sound, input) is no serial port. Pseudo-terminals have no entry
    // there and count as terminals.
    const QByteArray cls = QStringLiteral("/sys/dev/char/%1:%2/subsystem")
                               .arg(major(st.st_rdev))
                               .arg(minor(st.st_rdev))
                               .toLatin1();
    char target[4096];
    const ssize_t n = ::readlink(cls.constData(), target, sizeof target - 1);
    if (n > 0) {
        target[n] = 0;
        if (!QByteArray(target).endsWith("/tty"))
            return -7;
    }
#endif
    return 0;
#else
    Q_UNUSED(device);
    return 0;
#endif
}

void SetPopupTimeout()
{
    EndLoop();
    comecho = 0;
    ShowStatus(QStringLiteral("TIMEOUT"));
    if (auto f = Ui().showConnectionPage)
        f();
}

namespace {

// Order 50 with `on` in its first word. No answer is awaited: frames the sensor still sends after
// switching off are discarded as they come.
void AutoSendOrder(uint16_t on)
{
    order = OrderAutoSend;
    FillTxBuf(order, on, 0, 0);
    if (comprotocol == 0)
        FlushQueues();
    WriteFrame(tcpWriteTimeoutMs);
    bytesToRead = 0;
}

} // namespace

void StopAutoSend() { AutoSendOrder(0); }
void StartAutoSend() { AutoSendOrder(1); }

void CheckComLine()
{
    StopAutoSend();
    tdiff = 0;
    tstart = Timer();
    WaitUntil(tstart, lineCheckPause);
    tdiff = Timer() - tstart;

    order = OrderIdent;
    FillTxBuf(order, 0, 0, 0);
    if (comprotocol == 0) {
        FlushQueues();
        dataSize = 0;
        WriteFrame();
        WaitForAnswer(answerWait);
    } else if (comprotocol == 1) {
        WriteFrame(tcpLineCheckWriteTimeoutMs);
        WaitForAnswer(lineCheckWaitTcp);
    } else {
        bytesToRead = frameBytes;
    }

    if (bytesToRead != 0) {
        SetPopupTimeout();
        return;
    }
    std::memcpy(version, szReadBuf, frameBytes);
    std::memset(version + frameBytes, 0, sizeof version - frameBytes);
    ShowStatus(VersionText());
    // The line check itself succeeded; the parameter read decides from here.
    comecho = 1;
    if (auto f = Ui().getPara)
        f();
    if (comecho == 1) {
        if (auto f = Ui().undimAccept)
            f();
    }
}

void SlowDown()
{
    tdiff = 0;
    while (double(zeitint) > tdiff) {
        tdiff = Timer() - recstart;
        if (double(zeitint) > tdiff)
            WaitForEvents(double(zeitint) - tdiff);
        if (poll == 0)
            return;
    }
}

QString VersionText()
{
    QString text;
    for (std::size_t i = 0; i < sizeof version && version[i] != 0; ++i) {
        const unsigned char c = version[i];
        // Control characters would garble the status line; Latin-1 letters are kept.
        const bool printable = (c >= 0x20 && c < 0x7F) || c >= 0xA0;
        text += printable ? QChar(c) : QLatin1Char('?');
    }
    return text;
}

} // namespace tintra
