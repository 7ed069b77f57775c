// The serial and TCP links: opening, closing, writing frames, collecting answers and waiting.
//
// The serial port and the TCP socket are created once, on first use, and live as long as the
// application object (they are its children). Nothing is allocated per frame.
#include "transport.h"
#include "serialports.h"

#include "codec.h"
#include "platform.h"
#include "receive.h"
#include "state.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSerialPort>
#include <QTcpSocket>
#include <algorithm>
#include <cstring>
#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#endif

namespace tintra {

namespace {

QPointer<QSerialPort> serialObj;
QPointer<QTcpSocket> tcpObj;

// Handle of the socket's current conversation; 0 while none is open or after we closed it
// ourselves, so that our own disconnect is not reported as the server's.
int socketHandle = 0;
int lastHandle = 0;
bool connecting = false;
int serialOpenings = 0; // counts successful openings of the serial port
bool keepSent = false;  // a triggered recording takes the bytes the sensor sends by itself

unsigned char scratch[bufSize];

void CopyStatus(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    const std::size_t n = std::min<std::size_t>(std::size_t(bytes.size()), sizeof szStatus - 1);
    std::memcpy(szStatus, bytes.constData(), n);
    szStatus[n] = 0;
}

QSerialPort *Serial()
{
    if (!serialObj && QCoreApplication::instance()) {
        QSerialPort *p = new QSerialPort(QCoreApplication::instance());
        serialObj = p;
        p->setReadBufferSize(0);
        // Nothing reads the port between exchanges, so bytes a sensor sends unasked would pile
        // up without bound: keep about what the serial input queue holds and drop the oldest, in
        // whole frames, so that what is kept still starts where a frame starts.
        QObject::connect(p, &QSerialPort::readyRead, p, [p] { DropSerialSurplus(p); });
        // A device that fails to read or disappears (an adapter pulled out) does not recover by
        // itself, and its notifier would report the failure again on every event-loop pass,
        // keeping a core busy: close the port, so that waits end at once. Closed from the event
        // loop, not inside the port's own notification.
        QObject::connect(p, &QSerialPort::errorOccurred, p, [p](QSerialPort::SerialPortError e) {
            if (e != QSerialPort::ResourceError && e != QSerialPort::ReadError)
                return;
            QMetaObject::invokeMethod(
                p,
                [p, opened = serialOpenings] {
                    if (opened == serialOpenings) // not a port opened again meanwhile
                        p->close();
                },
                Qt::QueuedConnection);
        });
    }
    return serialObj;
}

QTcpSocket *Tcp()
{
    if (!tcpObj && QCoreApplication::instance()) {
        QTcpSocket *s = new QTcpSocket(QCoreApplication::instance());
        tcpObj = s;
        QObject::connect(s, &QTcpSocket::readyRead, s, [] {
            ClientTCPCB(unsigned(socketHandle), TCP_DATAREADY, 0, nullptr);
        });
        QObject::connect(s, &QTcpSocket::disconnected, s, [] {
            ClientTCPCB(unsigned(socketHandle), TCP_DISCONNECT, 0, nullptr);
        });
        // A failure on an established connection (reset, network gone) ends it like a close.
        QObject::connect(s, &QTcpSocket::errorOccurred, s, [s](QAbstractSocket::SocketError) {
            if (socketHandle != 0 && s->state() == QAbstractSocket::UnconnectedState)
                ClientTCPCB(unsigned(socketHandle), TCP_DISCONNECT, 0, nullptr);
        });
    }
    return tcpObj;
}

bool TcpOpen()
{
    return tcpcon && g_hconversation != 0 && tcpObj &&
           tcpObj->state() == QAbstractSocket::ConnectedState;
}

bool SerialOpen() { return serialObj && serialObj->isOpen(); }

int SerialErrorCode(QSerialPort::SerialPortError e)
{
    switch (e) {
    case QSerialPort::DeviceNotFoundError:
        return -6;
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError:
    case QSerialPort::UnsupportedOperationError:
        return -7;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        return -4;
    case QSerialPort::TimeoutError:
        return -99;
    case QSerialPort::NotOpenError:
        return -3;
    default:
        return -1;
    }
}

int TcpErrorCode(QAbstractSocket::SocketError e)
{
    switch (e) {
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::ConnectionRefusedError:
        return -2;
    case QAbstractSocket::SocketTimeoutError:
        return -11;
    case QAbstractSocket::NetworkError:
        return -17;
    case QAbstractSocket::SocketResourceError:
        return -10;
    case QAbstractSocket::RemoteHostClosedError:
        return -14;
    default:
        return -4;
    }
}

void ShowOpenError(const QString &text)
{
    CopyStatus(text);
    if (auto f = CurrentLinkUi().showStatus)
        f(text);
}

// Reads and throws away every byte the socket holds, including what the system has received but
// not yet handed over.
// Whether the system may hold bytes the socket has not taken in yet. (A peer that closed is
// noticed while the answer is awaited, as before.)
bool SystemMayHoldInput(const QTcpSocket *s)
{
#ifdef Q_OS_UNIX
    int n = 0;
    const qintptr fd = s->socketDescriptor();
    if (fd >= 0 && ::ioctl(int(fd), FIONREAD, &n) == 0)
        return n > 0;
#else
    Q_UNUSED(s);
#endif
    return true;
}

void DiscardTcpInput()
{
    QTcpSocket *s = tcpObj;
    if (!s || s->state() != QAbstractSocket::ConnectedState || keepSent)
        return;
    const int keep = bytesToRead;
    bytesToRead = 0;
    while (s->read(reinterpret_cast<char *>(scratch), bufSize) > 0) {
    }
    // Let the socket take in what the system holds; its data-ready handler discards it since
    // nobody waits. Operator input stays queued, so no other exchange can start in here. When
    // the system holds nothing, the pass through the event loop is saved: every frame of a
    // live stream comes here.
    if (SystemMayHoldInput(s))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    while (s->read(reinterpret_cast<char *>(scratch), bufSize) > 0) {
    }
    bytesToRead = keep;
}

// Waits (events running) until the device's write buffer is empty or the limit passes.
template <class Device> bool FinishWrite(Device *d, double limit)
{
    d->flush();
    const double start = Timer();
    while (d->bytesToWrite() > 0) {
        if (!d->isOpen())
            return false;
        const double left = limit - (Timer() - start);
        if (left <= 0)
            return false;
        WaitForEvents(left);
    }
    return true;
}

} // namespace

// ---- serial ----------------------------------------------------------------------------------

int InitRS232()
{
    EndLoop();
    CloseCom();
    SetLastSerialOpenFacts({});
    QSerialPort *p = Serial();
    const QString device = ComPortDevice(comport);
    if (!p) {
        ret = -1;
    } else if (device.isEmpty()) {
        ret = -2;
    } else if (SerialDeviceCheck(device) == -7) {
        ret = -7; // never opened: opening some devices has effects of its own
    } else {
        p->setPortName(device);
        p->setBaudRate(19200);
        p->setDataBits(QSerialPort::Data8);
        p->setParity(QSerialPort::NoParity);
        p->setStopBits(QSerialPort::OneStop);
        p->setFlowControl(QSerialPort::NoFlowControl);
        if (p->open(QIODevice::ReadWrite)) {
            ++serialOpenings;
            ret = 0;
        } else {
            ret = int16_t(SerialErrorCode(p->error()));
            SetLastSerialOpenFacts(ExplainSerialOpen(device, ret, p->errorString()));
            p->clearError();
        }
    }
    if (ret == -7 && LastSerialOpenFacts().kind == SerialOpenFacts::None)
        SetLastSerialOpenFacts(ExplainSerialOpen(device, ret, QString()));
    if (ret < 0) {
        ShowOpenError(SerialStatusText(ret));
        return ret;
    }
    FlushQueues();
    return ret;
}

void CloseCom()
{
    if (SerialOpen())
        serialObj->close();
}

void FlushQueues()
{
    if (comprotocol != 0 || !SerialOpen() || keepSent)
        return;
    serialObj->clear(QSerialPort::AllDirections);
    while (serialObj->read(reinterpret_cast<char *>(scratch), bufSize) > 0) {
    }
}

// ---- TCP ---------------------------------------------------------------------------------------

int InitTCP_IP()
{
    if (connecting) { // a callback nested in the connect wait asked again
        ret = -4;
        ShowOpenError(TcpStatusText(ret));
        return ret;
    }
    if (tcpcon)
        DisconnectTCP();
    QTcpSocket *s = Tcp();
    // The connection page stores the server as UTF-8; the field may be full without an end mark.
    const QString host =
        QString::fromUtf8(ipBuf, qsizetype(strnlen(ipBuf, sizeof ipBuf))).trimmed();
    if (!s) {
        ret = -1;
    } else if (host.isEmpty() || portNum < 1 || portNum > 65535) {
        ret = -9;
    } else {
        connecting = true;
        const LinkUi ui = CurrentLinkUi();
        if (ui.busy)
            ui.busy(true);
        socketHandle = 0;
        s->abort();
        s->connectToHost(host, quint16(portNum));
        const double start = Timer();
        const double limit = tcpConnectTimeoutMs / 1000.0;
        bool timedOut = false;
        while (s->state() == QAbstractSocket::HostLookupState ||
               s->state() == QAbstractSocket::ConnectingState) {
            const double left = limit - (Timer() - start);
            if (left <= 0) {
                timedOut = true;
                break;
            }
            WaitForEvents(left);
        }
        if (s->state() == QAbstractSocket::ConnectedState) {
            // Frames are small and strictly request/answer: send each at once.
            s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            ret = 0;
        } else {
            ret = int16_t(timedOut ? -11 : TcpErrorCode(s->error()));
            s->abort();
        }
        if (ui.busy)
            ui.busy(false);
        connecting = false;
    }
    if (ret < 0) {
        g_hconversation = 0;
        tcpcon = 0;
        ShowOpenError(TcpStatusText(ret));
        return ret;
    }
    lastHandle = lastHandle >= 0x7fffffff ? 1 : lastHandle + 1;
    socketHandle = lastHandle;
    g_hconversation = lastHandle;
    tcpcon = 1;
    return ret;
}

void DisconnectTCP()
{
    socketHandle = 0;
    g_hconversation = 0;
    tcpcon = 0;
    if (tcpObj && tcpObj->state() != QAbstractSocket::UnconnectedState)
        tcpObj->abort();
}

int ClientTCPCB(unsigned handle, int event, int, void *)
{
    QTcpSocket *s = tcpObj;
    const bool current = handle != 0 && int(handle) == g_hconversation;
    if (event == TCP_DISCONNECT) {
        if (!current)
            return 0;
        g_hconversation = 0;
        tcpcon = 0;
        socketHandle = 0;
        MessagePopup(QStringLiteral("TCP Client"), QStringLiteral("Server has closed connection!"));
        return 0;
    }
    if (event != TCP_DATAREADY || !s)
        return 0;
    if (keepSent && current)
        return 0; // the triggered recording reads them
    CollectAnswer(s, current);
    return 0;
}

void CollectAnswer(QIODevice *d, bool current)
{
    // Collect the awaited answer; never past the receive buffer.
    const int offset = dataSize - bytesToRead;
    const bool collecting = current && bytesToRead > 0 && offset >= 0 && dataSize <= bufSize;
    if (collecting) {
        // Read what is there; when it is not enough, the next notification brings the rest.
        while (bytesToRead > 0) {
            const qint64 n = d->read(reinterpret_cast<char *>(szReadBuf) +
                                         (dataSize - bytesToRead),
                                     bytesToRead);
            bytesRead = int(n);
            if (n <= 0) // nothing more yet, a read error or the connection is gone
                break;
            bytesToRead -= int(n);
        }
    }
    if (!collecting || bytesToRead <= 0) {
        // Nobody waits for these bytes: an answer that came late or a surplus.
        while (d->read(reinterpret_cast<char *>(scratch), bufSize) > 0) {
        }
    }
}

void DropSerialSurplus(QIODevice *d)
{
    if (keepSent)
        return; // the triggered recording reads them all
    const qint64 surplus = d->bytesAvailable() - serialQueueBytes;
    if (surplus <= 0)
        return;
    qint64 drop = surplus / frameBytes * frameBytes;
    while (drop > 0) {
        const qint64 n =
            d->read(reinterpret_cast<char *>(scratch), std::min<qint64>(drop, bufSize));
        if (n <= 0)
            break;
        drop -= n;
    }
}

void TakeSerialAnswer(QIODevice *d)
{
    if (dataSize > 0) {
        const qint64 n = d->read(reinterpret_cast<char *>(szReadBuf), std::min(dataSize, bufSize));
        if (n < 0)
            dataSize = 0;
        // A surplus beyond the receive buffer is read and dropped: the answer fails anyway.
        while (d->read(reinterpret_cast<char *>(scratch), bufSize) > 0) {
        }
    }
    bytesToRead = frameBytes - dataSize;
}

// ---- frames and waits ------------------------------------------------------------------------

void WriteFrame(int tcpTimeoutMs)
{
    if (comprotocol == 0) {
        if (!SerialOpen()) {
            nBytesW = -3;
            return;
        }
        const qint64 n = serialObj->write(reinterpret_cast<const char *>(szWriteBuf), frameBytes);
        const bool done = n == frameBytes && FinishWrite(serialObj.data(), serialTimeout);
        nBytesW = done ? frameBytes : -4;
        return;
    }
    if (comprotocol != 1) {
        nBytesW = -1;
        return;
    }
    DiscardTcpInput();
    bytesToRead = frameBytes;
    dataSize = frameBytes;
    if (!TcpOpen()) {
        nBytesW = -12;
        return;
    }
    const qint64 n = tcpObj->write(reinterpret_cast<const char *>(szWriteBuf), frameBytes);
    const bool done = n == frameBytes && FinishWrite(tcpObj.data(), tcpTimeoutMs / 1000.0);
    nBytesW = done ? frameBytes : -8;
}

int WaitForAnswer(double limit)
{
    tstart = Timer();
    tdiff = 0;
    if (comprotocol == 0) {
        dataSize = 0;
        if (SerialOpen()) {
            ProcessSystemEvents();
            for (;;) {
                if (!SerialOpen())
                    break;
                dataSize = int(std::min<qint64>(serialObj->bytesAvailable(), 1 << 30));
                tdiff = Timer() - tstart;
                if (dataSize >= frameBytes || tdiff > limit)
                    break;
                WaitForEvents(limit - tdiff);
            }
        }
        if (SerialOpen())
            TakeSerialAnswer(serialObj);
        else
            bytesToRead = frameBytes - dataSize;
        return bytesToRead;
    }
    if (comprotocol != 1) {
        bytesToRead = frameBytes;
        return bytesToRead;
    }
    while (bytesToRead > 0 && TcpOpen()) {
        // Bytes buffered without a pending notification are collected before sleeping.
        if (tcpObj->bytesAvailable() > 0)
            ClientTCPCB(unsigned(g_hconversation), TCP_DATAREADY, 0, nullptr);
        if (bytesToRead <= 0)
            break;
        tdiff = Timer() - tstart;
        if (tdiff > limit)
            break;
        WaitForEvents(limit - tdiff);
    }
    tdiff = Timer() - tstart;
    return bytesToRead;
}

int GetDataFrame()
{
    if (comprotocol == 0)
        FlushQueues();
    else if (comprotocol != 1) {
        bytesToRead = frameBytes;
        return bytesToRead;
    }
    WriteFrame(tcpWriteTimeoutMs);
    return WaitForAnswer(answerWait);
}

// ---- frames the sensor sends by itself (triggered recording) -------------------------------

void KeepSentBytes(bool on)
{
    if (on && !keepSent) {
        FlushQueues();
        DiscardTcpInput();
    }
    keepSent = on;
    bytesToRead = 0;
}

int ReadSentFrames(QByteArray &into, double limit)
{
    const double start = Timer();
    bool eventsRun = false;
    for (;;) {
        QIODevice *d = nullptr;
        if (comprotocol == 0 && SerialOpen())
            d = serialObj.data();
        else if (comprotocol == 1 && TcpOpen())
            d = tcpObj.data();
        if (!d)
            return -1;
        const qint64 waiting = d->bytesAvailable();
        if (waiting > 0 && !eventsRun) {
            // Bytes that never pause must still let STOP and the repaints in.
            ProcessSystemEvents();
            eventsRun = true;
            continue;
        }
        if (waiting > 0) {
            const qsizetype before = into.size();
            into.resize(before + qsizetype(std::min<qint64>(waiting, 1 << 30)));
            const qint64 n = d->read(into.data() + before, into.size() - before);
            into.resize(before + qsizetype(std::max<qint64>(n, 0)));
            return int(std::max<qint64>(n, 0));
        }
        double left = 0.5;
        if (limit >= 0)
            left = limit - (Timer() - start);
        else if (poll != 1)
            return 0;
        if (left <= 0)
            return 0;
        WaitForEvents(left);
        eventsRun = true;
    }
}

} // namespace tintra
