// The two links to the sensor (RS-232 through a serial port, TCP as a client), frame writing,
// answer waits, the common time-out reaction and the line check.
//
// All of it runs on the user-interface thread. A wait sleeps in the event loop until bytes arrive,
// a timer fires or the operator does something; callbacks (STOP, closing a window, the TCP
// data-ready handler) run nested inside it.
//
// One exchange, on either link:
//     order = ...; FillTxBuf(order, ...);
//     if (comprotocol == 0) FlushQueues();    // where the sender flushes
//     WriteFrame();                           // TCP: also arms the answer (bytesToRead = 36)
//     if (WaitForAnswer() == 0) ... szReadBuf holds the 36 answer bytes ...
// GetDataFrame() does the three steps in one call.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace tintra {

// Time limits, seconds.
constexpr double answerWait = 3.0;
constexpr double lineCheckWaitTcp = 5.0;
constexpr double lineCheckPause = 0.1;
constexpr double serialTimeout = 2.0;
constexpr int tcpWriteTimeoutMs = 2000;
constexpr int tcpLineCheckWriteTimeoutMs = 5000;
constexpr int tcpReadTimeoutMs = 5000;
constexpr int tcpConnectTimeoutMs = 5000;

// Bytes the program keeps from the serial link while nobody reads (the input queue). What a
// sensor sends beyond that is dropped, oldest first, in whole frames: at most
// serialQueueBytes + frameBytes - 1 bytes stay.
constexpr int serialQueueBytes = 1024;

// What the link layer shows on the panels. The panels install these; unset members do nothing.
struct LinkUi {
    std::function<void(const QString &)> showStatus;   // both status fields
    std::function<void()> showConnectionPage;          // ShowChildPanel(1), which dims ACCEPT
    std::function<void()> getPara;                     // parameter read after the line check
    std::function<void()> undimAccept;                 // line check and parameter read succeeded
    std::function<void(bool)> busy;                    // busy cursor on/off while connecting
};
void SetLinkUi(LinkUi ui);
// The hooks installed now, so that one part of the program can add its member without
// removing the others': auto ui = CurrentLinkUi(); ui.getPara = ...; SetLinkUi(ui);
LinkUi CurrentLinkUi();

// Status texts for negative opening results (empty for results >= 0).
//
// Serial results: -2 port number 0 or no device name, -6 the device does not exist,
// -7 the device exists but cannot be opened (no permission, in use, not a serial device),
// -4 an input/output error while opening, -99 a time-out, -1 anything else.
// TCP results: -9 no server name or a port number outside 1 ... 65535, -2 the server name cannot
// be resolved or the server refuses the connection, -11 no answer within the connect time-out,
// -17 the network cannot be reached, -10 the system is out of sockets, -14 the server closed the
// connection while it was being opened, -4 anything else.
QString SerialStatusText(int code);
QString TcpStatusText(int code);

// Serial device for COM port number n: from "ComPorts.cfg" in the program's directory
// ("<n> <device>" a line; blank lines and lines starting with '#' are ignored; the first line for
// a number counts), else /dev/ttyS<n-1>; on Windows "COM<n>". Empty for a number outside
// 1 ... maxComPort, which the opening reports as an invalid port number.
constexpr int maxComPort = 256;
QString ComPortDevice(int n);
// A file that is refused (far too large, binary, not a regular file) is not used, and said so
// once with a popup; the default names apply.
//
// Whether a device may be opened as a serial port: 0 yes (or cannot tell), -6 it does not exist,
// -7 it is no serial port (a regular file, a directory, a memory or other non-terminal device).
// Looks at the device without opening it.
int SerialDeviceCheck(const QString &device);
// Directory that holds "ComPorts.cfg"; empty (the default) means the program's directory.
void SetComPortsCfgDir(const QString &dir);
// Where "ComPorts.cfg" is read and written.
QString ComPortsCfgPath();

int InitRS232();
int InitTCP_IP();
void CloseCom();            // close the serial port; harmless when not open
void DisconnectTCP();       // close an open TCP connection (no "TCP Client" message)

enum TcpEvent { TCP_DISCONNECT = 1, TCP_DATAREADY = 2 };
// Called by the TCP socket's notifications (data ready, disconnect). Bytes are collected only
// for the conversation `handle` that is current (g_hconversation) while an answer is awaited
// (bytesToRead > 0); all other bytes are read and discarded. Result 0.
int ClientTCPCB(unsigned handle, int event, int error, void *callbackData);

// Serial: empties both queues (the driver's and what the program has buffered). TCP: nothing.
void FlushQueues();
// Writes bytes 0 ... 35 of szWriteBuf to the open link in one call. On TCP it first discards
// bytes that have arrived for nobody, then sets bytesToRead = dataSize = 36 so that the answer
// is collected from byte 0 of szReadBuf. A write that cannot finish within its time-out (TCP:
// tcpTimeoutMs, serial: 2.0 s) sets nBytesW negative; the wait then fails.
void WriteFrame(int tcpTimeoutMs = tcpWriteTimeoutMs);
// Waits up to `limit` seconds for the answer to the frame just written. Returns bytesToRead:
// 0 = exactly 36 bytes are in szReadBuf; > 0 missing bytes; < 0 (serial) surplus bytes. Ends at
// once when the link is closed or gets lost.
int WaitForAnswer(double limit = answerWait);
int GetDataFrame();         // flush (serial), write, wait; returns bytesToRead

// Triggered recording. While kept (on), the bytes the sensor sends by itself stay queued on the
// link for ReadSentFrames: the TCP data-ready handler leaves them, the serial input queue keeps
// all of them, and no flush or frame write throws them away. Switching on first empties the link
// of what came before.
void KeepSentBytes(bool on);
// Waits, events running, until bytes the sensor sent are waiting, then appends all that are
// waiting to `into`; bytes of a frame still on its way are taken by the next call. The pending
// events run at least once per call, so a stream that never pauses still lets STOP and the
// repaints in. With `limit` < 0 it waits as long as `poll` is 1 (the sensor decides
// when it sends), else at most `limit` seconds whatever `poll` says. Returns the number of bytes
// taken, 0 when none came, -1 when no link is open.
int ReadSentFrames(QByteArray &into, double limit = -1);

void SetPopupTimeout();
void StopAutoSend();
void StartAutoSend();       // order 50 with 1: the sensor sends a frame per trigger by itself
void CheckComLine();
void SlowDown();

// The identification text up to its first zero byte, with unprintable bytes made visible.
QString VersionText();

} // namespace tintra
