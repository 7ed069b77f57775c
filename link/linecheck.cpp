// What the link layer shows and decides above the byte level: the status texts, the serial device
// names, the time-out reaction, stopping the sensor's automatic sending, the line check after
// every connection and the recorder's interval wait.
#include "codec.h"
#include "platform.h"
#include "state.h"
#include "transport.h"

#include <QFile>
#include <QRegularExpression>
#include <cstring>

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

QString ComPortDevice(int n)
{
    if (n <= 0 || n > maxComPort)
        return QString();
    const QString dir = CfgDir().isEmpty() ? GetProjectDir() : CfgDir();
    QFile f(JoinPath(dir, QStringLiteral("ComPorts.cfg")));
    if (f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // A port list is a few lines; a huge file is not one and is read no further than this.
        for (int lineNo = 0; lineNo < 10000 && !f.atEnd(); ++lineNo) {
            const QString line = QString::fromLocal8Bit(f.readLine(4096)).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const qsizetype blank = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
            if (blank <= 0)
                continue;
            bool ok = false;
            const int num = line.left(blank).toInt(&ok, 10);
            const QString device = line.mid(blank).trimmed();
            if (ok && num == n && !device.isEmpty())
                return device;
        }
    }
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

void SetPopupTimeout()
{
    poll = 0;
    comecho = 0;
    ShowStatus(QStringLiteral("TIMEOUT"));
    if (auto f = Ui().showConnectionPage)
        f();
}

void StopAutoSend()
{
    order = OrderAutoSend;
    FillTxBuf(order, 0, 0, 0);
    if (comprotocol == 0)
        FlushQueues();
    WriteFrame(tcpWriteTimeoutMs);
    // No answer is awaited: frames the sensor still sends are discarded as they come.
    bytesToRead = 0;
}

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
