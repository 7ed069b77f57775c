// The two links to the sensor (RS-232 through a serial port, TCP as a client), frame writing,
// answer waits, the common time-out reaction and the line check.
//
// All of it runs on the user-interface thread. A wait sleeps in the event loop until bytes arrive,
// a timer fires or the operator does something; callbacks (STOP, closing a window, the TCP
// data-ready handler) run nested inside it.
#pragma once

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

// What the link layer shows on the panels. The panels install these; unset members do nothing.
struct LinkUi {
    std::function<void(const QString &)> showStatus;   // both status fields
    std::function<void()> showConnectionPage;          // ShowChildPanel(1), which dims ACCEPT
    std::function<void()> getPara;                     // parameter read after the line check
    std::function<void()> undimAccept;                 // line check and parameter read succeeded
};
void SetLinkUi(LinkUi ui);

// Status texts for negative opening results.
QString SerialStatusText(int code);
QString TcpStatusText(int code);

// Serial device for COM port number n: from "ComPorts.cfg" in the program's directory
// ("<n> <device>" a line), else /dev/ttyS<n-1>; on Windows "COM<n>".
QString ComPortDevice(int n);

int InitRS232();
int InitTCP_IP();
void CloseCom();            // close the serial port; harmless when not open
void DisconnectTCP();       // close an open TCP connection

enum TcpEvent { TCP_DISCONNECT = 1, TCP_DATAREADY = 2 };
int ClientTCPCB(unsigned handle, int event, int error, void *callbackData);

void FlushQueues();                                    // serial: both queues; TCP: nothing
void WriteFrame(int tcpTimeoutMs = tcpWriteTimeoutMs); // bytes 0 ... 35 of szWriteBuf
int WaitForAnswer(double limit = answerWait);          // returns bytesToRead (0 = good)
int GetDataFrame();                                    // flush, write, wait; returns bytesToRead

void SetPopupTimeout();
void StopAutoSend();
void CheckComLine();
void SlowDown();

// The identification text up to its first zero byte, with unprintable bytes made visible.
QString VersionText();

} // namespace tintra
