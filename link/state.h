// Program-wide state shared by the link layer and the panels: link state, answer bookkeeping,
// loop flags, transfer target and the measured values of the last good data frame.
#pragma once

#include <cstdint>

namespace tintra {

// Link.
extern uint16_t comprotocol;   // 0 RS-232, 1 TCP/IP; anything else: no link
extern uint16_t comport;       // serial port number (1 = COM1)
extern int16_t ret;            // result of the last link opening; negative = error
extern int g_hconversation;    // TCP conversation handle, 0 when closed
extern uint16_t tcpcon;        // 1 while a TCP connection is open
extern char ipBuf[256];        // server name or address
extern char portNumStr[32];    // TCP port as typed
extern int portNum;            // its decimal value (0 when not a number)
extern char szStatus[48];      // last link error text
extern unsigned char version[40]; // identification text: 36 answer bytes and 4 zero bytes

// Answer collection and timing.
extern int dataSize;
extern int bytesToRead;
extern int bytesRead;
extern int nBytesW;
extern double tstart;
extern double tdiff;

// Loops and transfers.
extern uint16_t poll;     // an acquisition or recording loop runs while it is 1
// Ends the running loop (GO, a recording, a calibration's loop): it leaves at its next turn. The
// one place that sets poll to 0, so that every reason a loop ends can be found from here.
void EndLoop();
extern uint16_t comecho;  // 1 after a good echo or parameter exchange
extern uint16_t target;   // RAM, EEPROM or DATFILE
constexpr int RAM = 1;
constexpr int EEPROM = 2;
constexpr int DATFILE = 3;

// Measured values: words 2 ... 17 of the last good data frame.
extern uint16_t dataR, dataG, dataB, dataX, dataY, dataINT, dataCOL, dataRawR, dataRawG, dataRawB,
    dataTemp, dataGroup, dataTrigger, dataFrei14, dataFrei15, dataFrei16;
extern uint16_t *const dataValues[16]; // the sixteen above, in frame order

// Recorder interval wait.
extern uint16_t zeitint;  // recording interval, whole seconds
extern double recstart;   // moment the current recording step began

// Array helpers. Copy1D copies n doubles (returns 0, or -20003 for n <= 0). Shift moves n doubles
// by k places (k > 0 towards higher indices), fills the freed places with 0 and returns 0; it
// returns -20003 for n <= 0 and -20102 for |k| >= n. in and out may be the same array.
int Copy1D(const double *in, int n, double *out);
int Shift(const double *in, int n, int k, double *out);

} // namespace tintra
